#include "core/file_io.h"

#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
// The one platform call the file format needs: replace the target in a single step.
// Declared here so that the core stays free of the platform headers.
extern "C" __declspec(dllimport) int __stdcall MoveFileExA(const char* existing, const char* replacement,
                                                           unsigned long flags);
#endif

namespace {

const char HEADER[] = "# Titrionika 2.0";
const char EOL[] = "\r\n";
// A line is read in pieces of this many bytes at most.
const int PIECE = 254;

// Bytes 1 .. 32 and every byte with the high bit set separate tokens.
bool is_blank(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u != 0 && (u <= 32 || u >= 128);
}

// Where insert_sorted would place `point`: the first element not less than it. Every
// value read is defined, so the array stays ordered and a binary search finds the same
// place as the linear scan, which would make reading quadratic in the number of points.
int sorted_position(const dyn_array_direct<ext_float_pair>& points, const ext_float_pair& point) {
    int low = 0, high = points.size();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (points.items[middle] < point)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

bool replace_file(const char* from, const char* to) {
#ifdef _WIN32
    const unsigned long MOVEFILE_REPLACE_EXISTING_ = 0x1, MOVEFILE_WRITE_THROUGH_ = 0x8;
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING_ | MOVEFILE_WRITE_THROUGH_) != 0;
#else
    return std::rename(from, to) == 0;
#endif
}

bool write_points(std::FILE* f, dyn_array_direct<ext_float_pair>& points) {
    if (std::fprintf(f, "%s%s%s", HEADER, EOL, EOL) < 0) return false;
    for (int i = 0; i < points.size(); ++i) {
        const ext_float_pair* p = points[i];
        if (std::fprintf(f, "%g\t%g%s", p->vb.value, p->e.value, EOL) < 0) return false;
    }
    return std::fflush(f) == 0 && !std::ferror(f);
}

} // namespace

char* strip_eol(char* line) {
    if (char* lf = std::strchr(line, '\n')) *lf = '\0';
    return line;
}

char* skip_ws(char* pos) {
    while (is_blank(*pos)) ++pos;
    return pos;
}

char* seek(char* pos) {
    while (*pos && !is_blank(*pos)) ++pos;
    return pos;
}

bool internal_save(const char* path, dyn_array_direct<ext_float_pair>& points) {
    // The new content goes to a scratch file beside the target, which replaces the target
    // only once it is complete: a failed save never costs the previous file.
    const std::string scratch = std::string(path) + ".~tmp";
    std::FILE* f = std::fopen(scratch.c_str(), "wb");
    if (!f) return false;
    const bool written = write_points(f, points);
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed || !replace_file(scratch.c_str(), path)) {
        std::remove(scratch.c_str());
        return false;
    }
    return true;
}

bool internal_read(const char* path, dyn_array_direct<ext_float_pair>& points) {
    // Binary mode: the same bytes on every platform (CR is a blank anyway, and a Ctrl+Z in
    // the file does not end it early).
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    points.flush();

    bool ok = true;
    char line[PIECE + 1];
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
        ok = point.vb.parse(first) && point.e.parse(second) &&
             points.insert(point, sorted_position(points, point));
    }
    if (std::ferror(f)) ok = false;
    std::fclose(f);
    return ok;
}
