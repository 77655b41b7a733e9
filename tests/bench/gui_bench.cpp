// The program at instrument scale as a user meets it: the real titrion3.exe driven from this
// process, each figure from the user's action (OK in a dialog, a command) until the program has
// shown the result and answers again. Floor: a bare list view of this process filled item by
// item with the same rows (redraw off), then emptied. Argument: the largest document.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/file_io.h"
#include "tests/e2e/driver.h"

namespace {

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency), QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int Rows(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

// The measurement list shows `rows` rows, the program answers, and both lists have painted.
bool Shown(const driver::Program& p, int rows) {
    for (int round = 0; round < 100000 && Rows(p.list()) != rows; ++round)
        if (!p.Sync()) return false;
    return p.Sync() && (UpdateWindow(p.list()), UpdateWindow(GetDlgItem(p.main(), IDC_RESULTS)), Rows(p.list()) == rows);
}

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    driver::ProgramCopy copy;
    driver::Program p(copy.exe());
    if (!copy.copied() || !p.Start()) return std::printf("titrion3.exe did not start\n"), 1;
    std::printf("titrion3.exe under Wine, driven from another process; floor: a bare list view filled item by\n"
                "item with the same rows (redraw off), and for delete its emptying.\n\n%-8s %8s %13s %13s\n",
                "", "points", "program", "floor");
    bool failed = false;
    double start = 0;
    const auto print = [&](const char* operation, int n, bool done, double floor = -1) {
        if (done) std::printf("%-8s %8d %10.1f ms", operation, n, (Now() - start) * 1000);
        if (!done) std::printf("%-8s %8d %13s", operation, n, "FAILED");
        std::printf(floor >= 0 ? " %10.1f ms\n" : "\n", floor * 1000);
        failed |= !done;
    };
    // The unsaved-changes question answered with "No" when it comes.
    const auto discard = [&] { if (HWND ask = p.Dialog("Potvrďte")) driver::Program::Press(ask, IDNO), p.WaitGone(ask); };
    for (int n = 1000; n <= (argc > 1 ? std::atoi(argv[1]) : 100000) && n <= 100000; n *= 10) {
        // An automatic titrator's curve: one steep jump and reading noise of a few tenths of a mV,
        // which gives a sign change of E'' at about every other point.
        const std::string file = copy.path("curve-" + std::to_string(n) + ".tid");
        dyn_array_direct<ext_float_pair> points(n + 1, n, nullptr);
        for (unsigned i = 0, seed = 7; i < unsigned(n); ++i) {
            seed = seed * 1103515245u + 12345u;
            const double vb = 50.0 * i / n, noise = static_cast<int>((seed >> 16) % 11 - 5) * 0.1;
            points.append(ext_float_pair(vb, 300.0 * std::tanh(2.0 * (vb - 25.0)) + noise));
        }
        internal_save(file.c_str(), points);
        // The floor: the same 2n - 1 rows in a bare report-style list view of five columns.
        HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE | LVS_REPORT, 0, 0, 500, 600,
                                    nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH, column.cx = 80;
        for (int c = 0; c < 5; ++c) SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
        start = Now();
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        char text[32];
        LVITEMA item = {};
        for (item.mask = LVIF_TEXT, item.pszText = text; item.iItem < 2 * n - 1; ++item.iItem) {
            std::snprintf(text, sizeof text, "%d", item.iItem);
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            for (item.iSubItem = 1; item.iSubItem < 5; ++item.iSubItem)
                SendMessageA(list, LVM_SETITEMTEXTA, item.iItem, reinterpret_cast<LPARAM>(&item));
            item.iSubItem = 0;
        }
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        UpdateWindow(list);
        const double fill = Now() - start;
        start = Now();
        SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
        UpdateWindow(list);
        const double clear = Now() - start;
        DestroyWindow(list);

        p.Command(IDM_OPEN);
        p.Sync();
        discard();
        p.WaitDialog("Otevřít soubor");
        start = Now();
        print("open", n, p.ChooseFile("Otevřít soubor", file) && Shown(p, 2 * n - 1), fill);
        if (n <= 10000) {
            // A new volume between two points, pasted and selected, then deleted again.
            driver::PutClipboardText(std::to_string(50.0 * (n / 2) / n + 0.001) + "\t123.4");
            start = Now();
            print("paste", n, (p.Command(IDM_PASTE), Shown(p, 2 * n + 1)), fill);
            start = Now();
            print("delete", n, (p.Command(IDM_DELETE), Shown(p, 2 * n - 1)), clear);
        }
        if (n == 10000) {
            start = Now();
            HWND graph = (p.Command(IDM_GRAPH), p.WaitGraph());
            print("graph", n, graph && p.Sync() && (UpdateWindow(graph), true));
            PostMessageA(graph, WM_CLOSE, 0, 0), p.WaitGone(graph);
            const std::string report = copy.path("report.html");
            HWND dlg = (p.Command(IDM_EXPORTHTML), p.WaitDialog("Export do HTML"));
            SendMessageA(GetDlgItem(dlg, IDC_HTML_FILE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(report.c_str()));
            start = Now();
            driver::Program::Press(dlg, IDOK);
            print("report", n, dlg && p.WaitGone(dlg) && p.Sync() && GetFileAttributesA(report.c_str()) != INVALID_FILE_ATTRIBUTES);
        }
    }
    // Wine reports a process's private bytes as its commit charge only.
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, p.process_id());
    if (process && GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        std::printf("\nprivate memory with the largest document open: %.1f MB\n",
                    (memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage) / (1024.0 * 1024.0));
    if (process) CloseHandle(process);
    discard();
    return failed ? 1 : 0;
}
