// The real titrion3.exe driven from this process, each figure from the user's action until the program has shown
// the result and answers again; floor: a bare list view filled with the same rows. Argument: the largest document.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "core/file_io.h"
#include "tests/e2e/driver.h"
int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    driver::ProgramCopy copy;
    driver::Program p(copy.exe());
    if (!copy.copied() || !p.Start()) return std::printf("titrion3.exe did not start\n"), 1;
    std::printf(
        "titrion3.exe under Wine, driven from another process; floor: a bare list view filled item by\n"
        "item with the same rows (redraw off), for delete emptied.\n\n%-10s %8s %13s %13s\n",
        "", "points", "program", "floor");
    bool failed = false;
    LARGE_INTEGER frequency, start, now;
    const auto go = [&] { return QueryPerformanceFrequency(&frequency) && QueryPerformanceCounter(&start); };
    const auto ms = [&] {
        return QueryPerformanceCounter(&now), 1000.0 * (now.QuadPart - start.QuadPart) / frequency.QuadPart;
    };
    const auto print = [&](const char* operation, int n, bool done, double floor = -1) {
        std::printf(done ? "%-10s %8d %10.1f ms" : "%-10s %8d     FAILED   ", operation, n, (failed |= !done, ms()));
        std::printf(floor >= 0 ? " %10.1f ms\n" : "\n", floor);
    };
    const auto rows = [&] { return static_cast<int>(SendMessageA(p.list(), LVM_GETITEMCOUNT, 0, 0)); };
    // The measurement list shows `n` rows, the program answers, and both lists have painted.
    const auto shown = [&](int n) {
        for (int round = 0; round < 100000 && rows() != n && p.Sync(); ++round) {
        }
        return p.Sync() && (UpdateWindow(p.list()), UpdateWindow(GetDlgItem(p.main(), IDC_RESULTS)), rows() == n);
    };
    const auto discard = [&] {
        if (HWND ask = p.Dialog("Potvrďte")) driver::Program::Press(ask, IDNO), p.WaitGone(ask);
    };
    for (int n = 1000; n <= (argc > 1 ? std::atoi(argv[1]) : 100000) && n <= 100000; n *= 10) {
        // A titrator's curve: one steep jump and reading noise that changes the sign of E'' at about every other point.
        const std::string file = copy.path("curve-" + std::to_string(n) + ".tid"), report = copy.path("report.html");
        dyn_array_direct<ext_float_pair> points(n + 1, n, nullptr);
        for (unsigned i = 0, seed = 7; i < unsigned(n); ++i, seed = seed * 1103515245u + 12345u)
            points.append(ext_float_pair(
                50.0 * i / n, 300.0 * std::tanh(2.0 * (50.0 * i / n - 25.0)) + int((seed >> 16) % 11 - 5) * 0.1));
        internal_save(file.c_str(), points);
        // The floor: the same 2n - 1 rows item by item in a bare report-style list view of five columns, redraw off.
        HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE | LVS_REPORT, 0, 0, 500, 600,
                                    nullptr, nullptr, nullptr, nullptr);
        char text[32];
        LVITEMA item = {};
        LVCOLUMNA column = {};
        for (column.mask = LVCF_WIDTH, column.cx = 80; item.iItem < 5; ++item.iItem)
            SendMessageA(list, LVM_INSERTCOLUMNA, item.iItem, LPARAM(&column));
        go(), SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        for (item.mask = LVIF_TEXT, item.pszText = text, item.iItem = 0; item.iItem < 2 * n - 1;
             ++item.iItem, item.iSubItem = 0) {
            std::snprintf(text, sizeof text, "%d", item.iItem);
            SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&item));
            for (item.iSubItem = 1; item.iSubItem < 5; ++item.iSubItem)
                SendMessageA(list, LVM_SETITEMTEXTA, item.iItem, LPARAM(&item));
        }
        const double fill = (SendMessageA(list, WM_SETREDRAW, TRUE, 0), UpdateWindow(list), ms());
        const double clear = (go(), SendMessageA(list, LVM_DELETEALLITEMS, 0, 0), UpdateWindow(list), ms());
        DestroyWindow(list);
        p.Command(IDM_OPEN), p.Sync(), discard(), p.WaitDialog("Otevřít soubor");
        print("open", n, go() && p.ChooseFile("Otevřít soubor", file) && shown(2 * n - 1), fill);
        // The curve less its last point as a titrator's semicolon export with decimal commas, through the import
        // dialog.
        const std::string csv = copy.path("curve-" + std::to_string(n) + ".csv");
        if (std::FILE* f = std::fopen(csv.c_str(), "wb")) {
            std::fputs("Objem [ml];Potenci\xC3\xA1l [mV]\r\n", f);
            for (int i = 0; i + 1 < n; ++i) {
                std::snprintf(text, sizeof text, "%.4f;%.1f\r\n", points[i]->vb.value, points[i]->e.value);
                for (char* c = text; *c; ++c) *c = *c == '.' ? ',' : *c;
                std::fputs(text, f);
            }
            std::fclose(f);
        }
        p.Command(IDM_IMPORT), p.Sync(), discard(), p.WaitDialog("Importovat soubor");
        HWND import = go() && p.ChooseFile("Importovat soubor", csv) ? p.WaitDialog("Import bodů") : nullptr;
        print("import", n, import && (driver::Program::Press(import, IDOK), shown(2 * n - 3)), fill);
        p.Command(IDM_OPEN), p.Sync(), discard(), p.WaitDialog("Otevřít soubor"), p.ChooseFile("Otevřít soubor", file),
            shown(2 * n - 1);
        if (n <= 10000) {  // a new volume between two points, pasted and selected, then deleted again
            driver::PutClipboardText(std::to_string(50.0 * (n / 2) / n + 0.001) + "\t123.4");
            print("paste", n, (go(), p.Command(IDM_PASTE), shown(2 * n + 1)), fill);
            print("delete", n, (go(), p.Command(IDM_DELETE), shown(2 * n - 1)), clear);
        }
        if (n < 10000) continue;
        // The graph in the view last chosen, then views E, E', E'' by their keys, a larger size and maximized.
        HWND graph = (go(), p.Command(IDM_GRAPH), p.WaitGraph());
        const auto drawn = [&] { return graph && p.Sync() && (UpdateWindow(graph), true); };
        print("graph", n, drawn());
        for (const char* key : {"1 E", "2 E'", "3 E''"})
            print((std::string("view ") + key).c_str(), n, (go(), SendMessageA(graph, WM_CHAR, key[0], 1), drawn()));
        print("resize", n, (go(), SetWindowPos(graph, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER), drawn()));
        print("maximize", n, (go(), ShowWindow(graph, SW_MAXIMIZE), drawn()));
        PostMessageA(graph, WM_CLOSE, 0, 0), p.WaitGone(graph);
        if (n != 10000) continue;
        HWND dlg = (p.Command(IDM_EXPORTHTML), p.WaitDialog("Export do HTML"));
        SendMessageA(GetDlgItem(dlg, IDC_HTML_FILE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(report.c_str()));
        print("report", n,
              (go(), driver::Program::Press(dlg, IDOK), dlg) && p.WaitGone(dlg) && p.Sync() &&
                  GetFileAttributesA(report.c_str()) != INVALID_FILE_ATTRIBUTES);
    }
    // Wine reports a process's private bytes as its commit charge only.
    PROCESS_MEMORY_COUNTERS_EX m = {};
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, p.process_id());
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m))
        std::printf("\nprivate memory with the largest document open: %.1f MB\n",
                    (m.PrivateUsage ? m.PrivateUsage : m.PagefileUsage) / 1048576.0);
    CloseHandle(process);
    discard();
    return failed ? 1 : 0;
}
