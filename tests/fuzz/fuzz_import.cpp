// Fuzz target: any bytes as imported text. The import never reports a point that is not a
// finite pair, gives each volume once in ascending order, lists bad lines only after the
// header, and the points saved as a data file import again to the same points, bit for bit.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "core/file_io.h"
#include "core/import.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool Same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void CheckTable(const ImportTable& table) {
    Check(table.points.empty() == (table.problem != ImportProblem::none));
    for (std::size_t i = 0; i < table.points.size(); ++i) {
        const ext_float_pair& p = table.points[i];
        Check(std::isfinite(p.vb.value) && std::isfinite(p.e.value) && !p.vb.undefined && !p.e.undefined);
        Check(i == 0 || table.points[i - 1].vb.value < p.vb.value);
    }
    Check(table.bad_lines.size() == std::min(table.bad_count, IMPORT_BAD_LINES_KEPT));
    int last = table.header_line;
    for (int line : table.bad_lines) {
        Check(line > last && line <= table.line_count);
        last = line;
    }
}

// The points saved as a data file and imported from its bytes.
ImportTable Reimported(const ImportTable& table, const std::string& path) {
    dyn_array_direct<ext_float_pair> points(10, 10, nullptr);
    for (const ext_float_pair& p : table.points) Check(points.append(p) >= 0);
    Check(internal_save(path.c_str(), points));
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ImportTable again = import_scan(bytes.data(), bytes.size());
    CheckTable(again);
    Check(again.bad_lines.empty() && again.points.size() == table.points.size());
    return again;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ImportTable table = import_scan(reinterpret_cast<const char*>(data), size);
    CheckTable(table);
    if (table.points.empty()) return 0;
    // Equal volumes come back in reverse order: a second round gives the points as read.
    const std::string path = "/tmp/titrion-fuzz-import-" + std::to_string(getpid()) + ".tid";
    const ImportTable again = Reimported(Reimported(table, path), path);
    std::remove(path.c_str());
    for (std::size_t i = 0; i < table.points.size(); ++i)
        Check(Same(table.points[i].vb.value, again.points[i].vb.value) &&
              Same(table.points[i].e.value, again.points[i].e.value));
    return 0;
}
