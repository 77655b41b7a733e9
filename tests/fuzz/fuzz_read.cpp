// Fuzz target: any bytes as a data file. Reading must never misbehave, and a successful
// read gives points in ascending, defined volumes that survive a save and a second read.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "core/file_io.h"

namespace {

std::string ScratchPath(const char* what) {
    return "/tmp/titrion-fuzz-" + std::to_string(getpid()) + "-" + what + ".tid";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in = ScratchPath("in"), out = ScratchPath("out");
    std::FILE* f = std::fopen(in.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    dyn_array_direct<ext_float_pair> points(10, 10, nullptr);
    if (internal_read(in.c_str(), points)) {
        for (int i = 0; i < points.size(); ++i) {
            if (points[i]->vb.undefined || points[i]->e.undefined) std::abort();
            if (i > 0 && *points[i] < *points[i - 1]) std::abort();
        }
        if (!internal_save(out.c_str(), points)) std::abort();
        dyn_array_direct<ext_float_pair> again(10, 10, nullptr);
        if (!internal_read(out.c_str(), again) || again.size() != points.size()) std::abort();
        std::remove(out.c_str());
    }
    std::remove(in.c_str());
    return 0;
}
