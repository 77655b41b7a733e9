// Opens a document in titrion3.exe (beside this program), writes its HTML report, opens its
// graph, saves a picture of the graph window as a BMP file and closes the program: the
// pictures of the read-me.
//   titrion_graph_showcase <document.tid> <report.html> <graph.bmp>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/driver.h"

namespace {

constexpr UINT IDM_GRAPH = 40015;
constexpr UINT IDM_EXPORTHTML = 40021;
constexpr int IDC_HTML_BROWSE = 1016;
constexpr int IDC_HTML_TITLE = 1019;

bool SaveWindowPicture(HWND wnd, const char* path) {
    RECT rc;
    GetWindowRect(wnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    const bool copied = BitBlt(memory, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY) != 0;
    GdiFlush();
    const DWORD row = ((static_cast<DWORD>(w) * 3 + 3) & ~3u);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + row * static_cast<DWORD>(h);
    bool written = false;
    if (copied) {
        if (FILE* f = std::fopen(path, "wb")) {
            written = std::fwrite(&file, sizeof file, 1, f) == 1 &&
                      std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f) == 1 &&
                      std::fwrite(bits, row, static_cast<size_t>(h), f) == static_cast<size_t>(h);
            written = std::fclose(f) == 0 && written;
        }
    }
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

BOOL CALLBACK FindGraph(HWND w, LPARAM out) {
    if (driver::ClassOf(w) != "VexGraphV2WClass") return TRUE;
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
}

HWND GraphWindow(const driver::Program& p) {
    HWND found = nullptr;
    for (int round = 0; round < 50 && !found; ++round) {
        EnumThreadWindows(GetWindowThreadProcessId(p.main(), nullptr), FindGraph, reinterpret_cast<LPARAM>(&found));
        if (!found && !p.Sync()) break;
    }
    return found;
}

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
    titrion.Command(driver::IDM_OPEN);
    if (!titrion.ChooseFile("Otevřít soubor", document)) {
        std::fprintf(stderr, "could not open %s\n", document);
        return 1;
    }
    if (!ExportReport(titrion, report)) {
        std::fprintf(stderr, "could not write %s\n", report);
        return 1;
    }
    titrion.Command(IDM_GRAPH);
    HWND graph = GraphWindow(titrion);
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
    const bool saved = SaveWindowPicture(graph, argv[3]);
    titrion.Command(IDCANCEL);
    titrion.WaitExit();
    if (!saved) std::fprintf(stderr, "could not save %s\n", argv[3]);
    return saved ? 0 : 1;
}
