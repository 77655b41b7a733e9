// Fuzz target: any bytes as a data file. Reading gives what the line-by-line reading below
// gives (result, points and their order, bit for bit), and a successful read survives a
// save and a second read exactly, description included.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

#include "core/file_io.h"
#include "core/import.h"

namespace {

using Points = dyn_array_direct<ext_float_pair>;

// The reading line by line with C strings, as its reference: lines end in LF, or in CR in a
// file without LF; a NUL ends a line's text; each point is inserted before the first point
// not less than it. UTF-16 is read as its text in UTF-8. Text hidden behind NULs in a file
// without points makes the reading fail.
bool ReferenceRead(std::string bytes, Points& points) {
    if (bytes.size() >= 2 && (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0)) {
        ImportEncoding encoding;
        bytes = import_decode(bytes.data(), bytes.size(), encoding);
    }
    const char line_end = bytes.find('\n') == std::string::npos ? '\r' : '\n';
    bool ok = true, hidden = false;
    for (std::size_t start = 0; ok && start < bytes.size();) {
        const std::size_t stop = std::min(bytes.find(line_end, start), bytes.size());
        std::string line = bytes.substr(start, stop - start);
        start = stop + 1;
        char* first = skip_ws(&line[0]);
        for (const char* p = first; *first == '\0' && p < line.data() + line.size(); ++p)
            hidden |= static_cast<signed char>(*p) > 32;
        if (*first == '\0' || *first == '#') continue;
        char* end = seek(first);
        ok = *end != '\0';
        if (!ok) break;
        *end = '\0';
        char* second = skip_ws(end + 1);
        *seek(second) = '\0';
        ext_float_pair point;
        ok = point.vb.parse(first) && point.e.parse(second) && points.insert_sorted(point) >= 0;
    }
    return ok && !(hidden && points.is_empty());
}

bool Same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void ExpectSame(const Points& a, const Points& b) {
    if (a.size() != b.size()) std::abort();
    for (int i = 0; i < a.size(); ++i)
        if (!Same(a[i]->vb.value, b[i]->vb.value) || !Same(a[i]->e.value, b[i]->e.value)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string scratch = "/tmp/titrion-fuzz-" + std::to_string(getpid()), in = scratch + "-in.tid",
                      out = scratch + "-out.tid";
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    Points points(10, 10, nullptr), reference(10, 10, nullptr), again(10, 10, nullptr);
    std::string description, described;
    const bool read = internal_read(in.c_str(), points, &description);
    if (read != ReferenceRead(std::string(reinterpret_cast<const char*>(data), size), reference)) std::abort();
    ExpectSame(points, reference);
    for (int i = 0; i < points.size(); ++i)
        if (points[i]->vb.undefined || points[i]->e.undefined || (i > 0 && *points[i] < *points[i - 1])) std::abort();
    // A saved file reads back with its description; equal volumes come back in reverse order,
    // so a second save and read give the points as read first.
    if (read && (!internal_save(out.c_str(), points, description) || !internal_read(out.c_str(), again, &described) ||
                 described != description || !internal_save(out.c_str(), again) || !internal_read(out.c_str(), again)))
        std::abort();
    if (read) ExpectSame(points, again);
    std::remove(out.c_str());
    std::remove(in.c_str());
    return 0;
}
