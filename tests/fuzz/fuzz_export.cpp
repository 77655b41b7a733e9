// Fuzz target: a flags byte, a heading up to a LF, then pairs of raw doubles as a document.
// Its CSV export imports again to its points, bit for bit (of a repeated volume the last
// one), and its HTML page is whole: one title without markup from the heading, every table
// row closed, no NUL.
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

#include "core/calc.h"
#include "core/import.h"
#include "export/csv_export.h"
#include "export/html_export.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::size_t Count(const std::string& text, const char* what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

bool Same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t lf = input.find('\n');
    if (lf == std::string::npos) return 0;
    use_comma = data[0] & 1;
    recognition = data[0] & 2 ? RECOGNIZE_STEEPEST : RECOGNIZE_ALL;
    vb_precis = e_precis = de_precis = d2e_precis = res_precis = data[0] >> 4;
    arr_vb.flush();
    // The program holds finite points only.
    for (std::size_t at = lf + 1; at + 16 <= input.size(); at += 16) {
        double pair[2];
        std::memcpy(pair, input.data() + at, sizeof pair);
        if (std::isfinite(pair[0]) && std::isfinite(pair[1])) Check(arr_vb.append(ext_float_pair(pair[0], pair[1])) >= 0);
    }
    order_by_volume(arr_vb.items, arr_vb.items + arr_vb.size());
    recalc_arrays();
    const std::string path = "/tmp/titrion-fuzz-export-" + std::to_string(getpid());
    Check(internal_export_csv(path.c_str()));
    const std::string csv = Contents(path);
    const ImportTable table = import_scan(csv.data(), csv.size());
    Check(table.bad_count == 0 && table.points.size() + table.replaced == static_cast<std::size_t>(arr_vb.size()));
    for (std::size_t i = 0, k = 0; i < table.points.size(); ++i, ++k) {
        while (k + 1 < static_cast<std::size_t>(arr_vb.size()) && arr_vb[static_cast<int>(k + 1)]->vb.value == arr_vb[static_cast<int>(k)]->vb.value) ++k;
        const ext_float_pair& point = *arr_vb[static_cast<int>(k)];
        Check(Same(table.points[i].vb.value, point.vb.value) && Same(table.points[i].e.value, point.e.value));
    }
    const std::string heading = input.substr(0, lf);
    Check(internal_export_html(path.c_str(), heading.c_str(), false));
    const std::string html = Contents(path);
    std::remove(path.c_str());
    const std::size_t title = html.find("<TITLE>"), title_end = html.find("</TITLE>");
    Check(Count(html, "<TITLE>") == 1 && title_end != std::string::npos);
    Check(html.find_first_of("<>", title + 7) == title_end && html.find('\0') == std::string::npos);
    Check(Count(html, "<TR>") == Count(html, "</TR>") && html.find("</HTML>") != std::string::npos);
    return 0;
}
