// Pictures of titrion3.exe beside this program with a document open: the main window at the
// steep part (`make run`), or the HTML report and the graph window (`make pictures`), in its
// E'' view and, given two more pictures, in its E and E' views too.
//   titrion_showcase <document.tid> <picture.bmp>
//   titrion_showcase <document.tid> <report.html> <graph.bmp> [<graph-e.bmp> <graph-de.bmp>]
#include <cstdio>
#include "tests/e2e/driver.h"
int Fail(const char* what, const char* name = "") { return std::fprintf(stderr, "%s%s\n", what, name), 1; }
int main(int argc, char** argv) {
    if (argc != 3 && argc != 4 && argc != 6) return Fail("usage: ", "<document.tid> [<report.html>] <picture.bmp>") + 1;
    char document[MAX_PATH], report[MAX_PATH];
    GetFullPathNameA(argv[1], sizeof document, document, nullptr), GetFullPathNameA(argv[2], sizeof report, report, nullptr);
    driver::Program p(driver::ExeDir() + "\\titrion3.exe");
    if (!p.Start()) return Fail("titrion3.exe did not start");
    if (argc == 3) SetWindowPos(p.main(), HWND_TOP, 40, 30, 640, 560, SWP_SHOWWINDOW);
    p.Command(IDM_OPEN);
    if (!p.ChooseFile("Otevřít soubor", document)) return Fail("could not open ", document);
    HWND shown = p.main();
    if (argc == 3) {  // Tab into the list and down to the steep part before the first equivalence point
        p.Key(GetDlgItem(p.main(), IDC_STATUS), WM_KEYDOWN, VK_TAB);
        p.Key(p.list(), WM_KEYDOWN, VK_HOME);
        for (int i = 0; i < 15; ++i) p.Key(p.list(), WM_KEYDOWN, VK_DOWN);
        p.Settle();
    } else {
        p.Command(IDM_EXPORTHTML);
        HWND dlg = p.WaitDialog("Export do HTML");
        if (dlg) driver::Program::Press(dlg, IDC_HTML_BROWSE);
        if (!dlg || !p.ChooseFile("Exportovat HTML", report)) return Fail("could not write ", report);
        SendDlgItemMessageA(dlg, IDC_HTML_TITLE, WM_SETTEXT, 0, LPARAM("Uhličitan sodný titrovaný HCl"));
        driver::Program::Press(dlg, IDOK);
        p.WaitGone(dlg);
        p.Command(IDM_GRAPH);
        if (!(shown = p.WaitGraph())) return Fail("the graph window did not open");
        SetWindowPos(shown, HWND_TOP, 60, 40, 720, 480, SWP_SHOWWINDOW);  // the graph refits to it
        p.Sync();
    }
    SetForegroundWindow(shown);
    RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    p.Sync();
    bool saved = driver::SaveWindowPicture(shown, argv[argc == 3 ? 2 : 3]);
    for (int view = 0; argc == 6 && view < 3; ++view) {  // keys 1 and 2, then 3 leaves E'' the setting
        SendMessageA(shown, WM_CHAR, '1' + view, 1), p.Sync();
        if (view == 2) break;
        RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME), p.Sync();
        saved = driver::SaveWindowPicture(shown, argv[4 + view]) && saved;
    }
    p.Command(IDCANCEL);
    p.WaitExit();
    return saved ? 0 : Fail("could not save the pictures");
}
