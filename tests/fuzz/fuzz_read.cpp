// Fuzz target: any bytes as a data file. Reading gives what the line-by-line reading below
// gives (result, points and their order, bit for bit), and a successful read survives a
// save and a second read exactly.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <utility>

#include "core/file_io.h"

namespace {

std::string ScratchPath(const char* what) {
    return "/tmp/titrion-fuzz-" + std::to_string(getpid()) + "-" + what + ".tid";
}

// The reading the block reader replaced, kept as its reference: fgets pieces of at most
// 254 bytes, each point inserted before the first point not less than it.
bool ReferenceRead(const char* path, dyn_array_direct<ext_float_pair>& points) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    bool ok = true;
    char line[255];
    while (ok && std::fgets(line, sizeof line, f)) {
        char* first = skip_ws(strip_eol(line));
        if (*first == '\0' || *first == '#') continue;
        char* end = seek(first);
        if (*end == '\0') {
            ok = false;
            break;
        }
        *end = '\0';
        char* second = skip_ws(end + 1);
        *seek(second) = '\0';
        ext_float_pair point;
        ok = point.vb.parse(first) && point.e.parse(second) && points.insert_sorted(point) >= 0;
    }
    if (std::ferror(f)) ok = false;
    std::fclose(f);
    return ok;
}

bool Same(const ext_float& a, const ext_float& b) {
    return a.undefined == b.undefined && std::memcmp(&a.value, &b.value, sizeof a.value) == 0;
}

void ExpectSame(const dyn_array_direct<ext_float_pair>& a, const dyn_array_direct<ext_float_pair>& b) {
    if (a.size() != b.size()) std::abort();
    for (int i = 0; i < a.size(); ++i)
        if (!Same(a.items[i].vb, b.items[i].vb) || !Same(a.items[i].e, b.items[i].e)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in = ScratchPath("in"), out = ScratchPath("out");
    std::FILE* f = std::fopen(in.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    dyn_array_direct<ext_float_pair> points(10, 10, nullptr), reference(10, 10, nullptr);
    const bool read = internal_read(in.c_str(), points);
    if (read != ReferenceRead(in.c_str(), reference)) std::abort();
    ExpectSame(points, reference);
    if (read) {
        for (int i = 0; i < points.size(); ++i) {
            if (points[i]->vb.undefined || points[i]->e.undefined) std::abort();
            if (i > 0 && *points[i] < *points[i - 1]) std::abort();
        }
        std::string description, described;
        internal_read(in.c_str(), points, &description);
        if (!internal_save(out.c_str(), points, description)) std::abort();
        dyn_array_direct<ext_float_pair> again(10, 10, nullptr);
        if (!internal_read(out.c_str(), again, &described) || described != description) std::abort();
        // Points of equal volume come back newest first, that is in reverse order.
        for (int i = 0, j; i < points.size(); i = j) {
            for (j = i + 1; j < points.size() && !(*points[i] < *points[j]); ++j) {}
            for (int k = i, m = j - 1; k < m; ++k, --m) std::swap(points.items[k], points.items[m]);
        }
        ExpectSame(points, again);
        std::remove(out.c_str());
    }
    std::remove(in.c_str());
    return 0;
}
