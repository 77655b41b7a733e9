// Fuzz target: a flags byte, a heading up to a LF, then pairs of raw doubles as a document.
// Its CSV export imports back to its points bit for bit (of a repeated volume the last), and
// its HTML page is whole: one title without markup from the heading, every row closed, no NUL.
#include <cmath>
#include <cstdint>
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size),
        path = "/tmp/titrion-fuzz-export-" + std::to_string(getpid());
    const std::size_t lf = input.find('\n', 1);
    if (size < 1 || lf == std::string::npos) return 0;
    use_comma = data[0] & 1;
    recognition = data[0] & 2 ? RECOGNIZE_STEEPEST : RECOGNIZE_ALL;
    vb_precis = e_precis = de_precis = d2e_precis = res_precis = data[0] >> 4;
    arr_vb.flush();
    for (std::size_t at = lf + 1; at + 16 <= input.size(); at += 16) {
        double pair[2];
        std::memcpy(pair, input.data() + at, sizeof pair);
        // The program holds finite points only.
        if (std::isfinite(pair[0]) && std::isfinite(pair[1]))
            Check(arr_vb.append(ext_float_pair(pair[0], pair[1])) >= 0);
    }
    order_by_volume(arr_vb.items, arr_vb.items + arr_vb.size());
    recalc_arrays();
    Check(internal_export_csv(document, path.c_str()));
    const std::string csv = Contents(path);
    const ImportTable table = import_scan(csv.data(), csv.size());
    Check(table.bad_count == 0 && table.points.size() + table.replaced == static_cast<std::size_t>(arr_vb.size()));
    for (int i = 0, k = 0; i < static_cast<int>(table.points.size()); ++i, ++k) {
        while (k + 1 < arr_vb.size() && arr_vb[k + 1]->vb.value == arr_vb[k]->vb.value) ++k;
        const double got[] = {table.points[static_cast<std::size_t>(i)].vb.value,
                              table.points[static_cast<std::size_t>(i)].e.value};
        const double expected[] = {arr_vb[k]->vb.value, arr_vb[k]->e.value};
        Check(std::memcmp(got, expected, sizeof got) == 0);
    }
    Check(internal_export_html(document, path.c_str(), input.substr(1, lf - 1).c_str(), false));
    const std::string html = Contents(path);
    std::remove(path.c_str());
    const std::size_t title = html.find("<TITLE>"), title_end = html.find("</TITLE>");
    Check(Count(html, "<TITLE>") == 1 && title_end != std::string::npos &&
          html.find_first_of("<>", title + 7) == title_end);
    Check(Count(html, "<TR>") == Count(html, "</TR>") && html.find('\0') == std::string::npos &&
          html.find("</HTML>") != std::string::npos);
    return 0;
}
