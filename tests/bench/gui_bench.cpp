// The program at instrument scale, as a user meets it: the real titrion3.exe driven from this
// process. Each figure runs from the user's action (OK in the Open dialog, the paste or delete
// command, ...) until the program has shown the result and answers again. Beside each stands
// the platform's floor: a bare list view of this process filled item by item with the same
// rows (redraw off), and emptied again.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "tests/e2e/driver.h"

namespace {

using driver::Program;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// An automatic titrator's curve: one steep jump and reading noise of a few tenths of a mV,
// which gives a sign change of E'' at about every other point.
void WriteCurve(const std::string& path, int n) {
    dyn_array_direct<ext_float_pair> points(n + 1, n, nullptr);
    unsigned seed = 7;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        const double vb = 50.0 * i / n;
        const double noise = static_cast<int>((seed >> 16) % 11 - 5) * 0.1;
        points.append(ext_float_pair(vb, 300.0 * std::tanh(2.0 * (vb - 25.0)) + noise));
    }
    internal_save(path.c_str(), points);
}

int Rows(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

// Waits until the measurement list shows `rows` rows, the program answers, and both lists
// have painted what they show.
bool WaitShown(const Program& p, int rows) {
    for (int round = 0; round < 100000 && Rows(p.list()) != rows; ++round) {
        if (!p.Sync()) return false;
    }
    if (!p.Sync()) return false;
    UpdateWindow(p.list());
    UpdateWindow(GetDlgItem(p.main(), IDC_RESULTS));
    return Rows(p.list()) == rows;
}

// Answers the unsaved-changes question with "No" when it comes.
void DiscardChanges(const Program& p) {
    if (HWND ask = p.Dialog("Potvrďte")) {
        Program::Press(ask, IDNO);
        p.WaitGone(ask);
    }
}

double Open(const Program& p, const std::string& path, int n) {
    p.Command(IDM_OPEN);
    p.Sync();
    DiscardChanges(p);
    HWND picker = p.WaitDialog("Otevřít soubor");
    HWND field = picker ? driver::Descendant(picker, driver::FILE_NAME_FIELD) : nullptr;
    if (!field) return -1;
    HWND edit = driver::ClassOf(field) == "Edit" ? field : driver::Descendant(field, 0, "Edit");
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    const double start = Now();
    Program::Press(picker, IDOK);
    if (!p.WaitGone(picker) || !WaitShown(p, 2 * n - 1)) return -1;
    return Now() - start;
}

double Edit(const Program& p, UINT command, int rows_after) {
    const double start = Now();
    p.Command(command);
    return WaitShown(p, rows_after) ? Now() - start : -1;
}

double Graph(const Program& p) {
    const double start = Now();
    p.Command(IDM_GRAPH);
    HWND graph = p.WaitGraph();
    if (!graph || !p.Sync()) return -1;
    UpdateWindow(graph);
    const double elapsed = Now() - start;
    PostMessageA(graph, WM_CLOSE, 0, 0);
    p.WaitGone(graph);
    return elapsed;
}

double Report(const Program& p, const std::string& path) {
    p.Command(IDM_EXPORTHTML);
    HWND dlg = p.WaitDialog("Export do HTML");
    if (!dlg) return -1;
    SendMessageA(GetDlgItem(dlg, IDC_HTML_FILE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    const double start = Now();
    Program::Press(dlg, IDOK);
    if (!p.WaitGone(dlg) || !p.Sync()) return -1;
    const double elapsed = Now() - start;
    return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES ? -1 : elapsed;
}

double PrivateMegabytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return -1;
    // Wine reports a process's private bytes as its commit charge only.
    const SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

struct Floor {
    double fill, clear;
};

// The same rows in a bare report-style list view of five columns: 2n - 1 rows item by item.
Floor BareList(int n) {
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE | LVS_REPORT, 0, 0, 500,
                                600, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    for (int c = 0; c < 5; ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH;
        column.cx = 80;
        SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
    const double start = Now();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    char text[32];
    for (int row = 0; row < 2 * n - 1; ++row) {
        std::snprintf(text, sizeof text, "%d", row);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = text;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < 5; ++c) {
            item.iSubItem = c;
            SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    UpdateWindow(list);
    const double filled = Now();
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    UpdateWindow(list);
    const Floor floor = {filled - start, Now() - filled};
    DestroyWindow(list);
    return floor;
}

void Print(const char* operation, int n, double seconds, double floor) {
    if (seconds < 0)
        std::printf("%-10s %8d   %10s", operation, n, "FAILED");
    else
        std::printf("%-10s %8d   %8.1f ms", operation, n, seconds * 1000);
    if (floor >= 0) std::printf("   %8.1f ms", floor * 1000);
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

// The largest document can be bounded on the command line, for slow builds.
int main(int argc, char** argv) {
    const int largest = argc > 1 ? std::atoi(argv[1]) : 100000;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    driver::ProgramCopy copy;
    Program p(copy.exe());
    if (!copy.copied() || !p.Start()) {
        std::printf("titrion3.exe did not start\n");
        return 1;
    }
    std::printf("titrion3.exe under Wine, driven from another process; floor: a bare list view filled\n"
                "item by item with the same rows (redraw off), and for delete/paste its emptying.\n\n");
    std::printf("%-10s %8s   %11s   %11s\n", "operation", "points", "program", "floor");
    int failures = 0;
    for (int n : {1000, 10000, 100000}) {
        if (n > largest) break;
        const std::string file = copy.path("curve-" + std::to_string(n) + ".tid");
        WriteCurve(file, n);
        const Floor floor = BareList(n);
        const double open = Open(p, file, n);
        Print("open", n, open, floor.fill);
        failures += open < 0;
        if (n <= 10000) {
            // A new volume between two points, pasted and selected, then deleted again.
            const std::string point = std::to_string(50.0 * (n / 2) / n + 0.001) + "\t123.4";
            driver::PutClipboardText(point);
            const double paste = Edit(p, IDM_PASTE, 2 * n + 1);
            Print("paste", n, paste, floor.fill);
            const double del = Edit(p, IDM_DELETE, 2 * n - 1);
            Print("delete", n, del, floor.clear);
            failures += paste < 0 || del < 0;
        }
        if (n == 10000) {
            const double graph = Graph(p);
            Print("graph", n, graph, -1);
            const double report = Report(p, copy.path("report.html"));
            Print("report", n, report, -1);
            failures += graph < 0 || report < 0;
        }
        if (n == 100000) {
            HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, p.process_id());
            std::printf("\nprivate memory after opening %d points: %.1f MB\n", n,
                        process ? PrivateMegabytes(process) : -1.0);
            if (process) CloseHandle(process);
        }
    }
    DiscardChanges(p);
    return failures ? 1 : 0;
}
