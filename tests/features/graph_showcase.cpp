// Opens a document in titrion3.exe (beside this program), writes its HTML report, opens its
// graph, saves a picture of the graph window as a BMP file and closes the program: the
// pictures of the read-me.
//   titrion_graph_showcase <document.tid> <report.html> <graph.bmp>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/driver.h"

namespace {

bool ExportReport(const driver::Program& p, const std::string& path) {
    p.Command(IDM_EXPORTHTML);
    HWND dlg = p.WaitDialog("Export do HTML");
    if (!dlg) return false;
    driver::Program::Press(dlg, IDC_HTML_BROWSE);
    if (!p.ChooseFile("Exportovat HTML", path)) return false;
    const char* title = "Uhličitan sodný titrovaný HCl";
    SendMessageA(GetDlgItem(dlg, IDC_HTML_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title));
    driver::Program::Press(dlg, IDOK);
    return p.WaitGone(dlg);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: titrion_graph_showcase document.tid report.html graph.bmp\n");
        return 2;
    }
    char document[MAX_PATH], report[MAX_PATH];
    GetFullPathNameA(argv[1], sizeof document, document, nullptr);
    GetFullPathNameA(argv[2], sizeof report, report, nullptr);
    driver::Program titrion(driver::ExeDir() + "\\titrion3.exe");
    if (!titrion.Start()) {
        std::fprintf(stderr, "titrion3.exe did not start\n");
        return 1;
    }
    titrion.Command(IDM_OPEN);
    if (!titrion.ChooseFile("Otevřít soubor", document)) {
        std::fprintf(stderr, "could not open %s\n", document);
        return 1;
    }
    if (!ExportReport(titrion, report)) {
        std::fprintf(stderr, "could not write %s\n", report);
        return 1;
    }
    titrion.Command(IDM_GRAPH);
    HWND graph = titrion.WaitGraph();
    if (!graph) {
        std::fprintf(stderr, "the graph window did not open\n");
        return 1;
    }
    // A larger window: the graph refits to it.
    SetWindowPos(graph, HWND_TOP, 60, 40, 720, 480, SWP_SHOWWINDOW);
    titrion.Sync();
    SetForegroundWindow(graph);
    RedrawWindow(graph, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    titrion.Sync();
    const bool saved = driver::SaveWindowPicture(graph, argv[3]);
    titrion.Command(IDCANCEL);
    titrion.WaitExit();
    if (!saved) std::fprintf(stderr, "could not save %s\n", argv[3]);
    return saved ? 0 : 1;
}
