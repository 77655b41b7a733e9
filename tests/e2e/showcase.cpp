// Pictures of titrion3.exe beside this program with a document open: the main window at the
// steep part (`make run`), or the HTML report and the graph window (`make pictures`), in its
// E'' view and, given two more pictures, in its E and E' views too; or the graph window alone in
// the view of key 1, 2 or 3 (then back in E''), the results being only the steepest inflections
// (the setting is put back afterwards).
//   titrion_showcase <document.tid> <picture.bmp>
//   titrion_showcase <document.tid> <report.html> <graph.bmp> [<graph-e.bmp> <graph-de.bmp>]
//   titrion_showcase <document.tid> <graph.bmp> <view key>
// or the main window with the first of a replicate series open (its result in the status bar)
// and the series window with all of them:
//   titrion_showcase --series <main.bmp> <series.bmp> <first.tid> <more.tid>...
#include <cstdio>
#include <cstring>
#include <string>
#include "tests/e2e/driver.h"
int Fail(const char* what, const char* name = "") { return std::fprintf(stderr, "%s%s\n", what, name), 1; }
// Wine shows a window's new picture a moment after it was drawn: taken again until it differs
// from the picture before (for at most five seconds).
bool SaveChanged(const driver::Program& p, HWND shown, const char* path, const std::string& before) {
    bool saved = false;
    for (int round = 0; round < 50 && (!saved || driver::ReadFile(path) == before); ++round) {
        if (round) Sleep(100);
        RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME), p.Sync();
        saved = driver::SaveWindowPicture(shown, path);
    }
    return saved;
}
// The files go into the series window's picker as its folder, then their names quoted.
int SeriesPictures(int argc, char** argv) {
    driver::Program p(driver::ExeDir() + "\\titrion3.exe");
    if (!p.Start()) return Fail("titrion3.exe did not start");
    SetWindowPos(p.main(), HWND_TOP, 40, 30, 640, 420, SWP_SHOWWINDOW);
    char first[MAX_PATH];
    GetFullPathNameA(argv[4], sizeof first, first, nullptr);
    p.Command(IDM_OPEN);
    if (!p.ChooseFile("Otevřít soubor", first)) return Fail("could not open ", first);
    RedrawWindow(p.main(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME), p.Sync();
    bool saved = driver::SaveWindowPicture(p.main(), argv[2]);
    p.Command(IDM_SERIES);
    HWND series = p.WaitDialog("Série stanovení");
    if (!series) return Fail("the series window did not open");
    SetWindowPos(series, HWND_TOP, 60, 40, 760, 380, SWP_SHOWWINDOW);
    driver::Program::Press(series, IDC_SERIES_ADD);
    HWND picker = p.WaitDialog("Otevřít soubor"),
         field = picker ? GetDlgItem(picker, driver::FILE_NAME_FIELD) : nullptr;
    if (!field) return Fail("no file picker");
    if (HWND edit = FindWindowExA(field, nullptr, "Edit", nullptr)) field = edit;
    std::string folder = first, names;
    folder.erase(folder.rfind('\\'));
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str())), driver::Program::Press(picker, IDOK),
        p.Sync();
    for (int i = 4; i < argc; ++i) {
        const std::string name = argv[i];
        names += "\"" + name.substr(name.find_last_of("/\\") + 1) + "\" ";
    }
    if (!p.ChooseFile("Otevřít soubor", names)) return Fail("could not add the series");
    SetForegroundWindow(series);
    RedrawWindow(series, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME), p.Sync();
    saved = driver::SaveWindowPicture(series, argv[3]) && saved;
    driver::Program::Press(series, IDCANCEL), p.WaitGone(series);
    p.Command(IDCANCEL);
    p.WaitExit();
    return saved ? 0 : Fail("could not save the pictures");
}
int main(int argc, char** argv) {
    if (argc >= 5 && std::strcmp(argv[1], "--series") == 0) return SeriesPictures(argc, argv);
    if (argc != 3 && argc != 4 && argc != 6) return Fail("usage: ", "<document.tid> [<report.html>] <picture.bmp>") + 1;
    const char view = argc == 4 && std::strlen(argv[3]) == 1 ? argv[3][0] : 0;
    char document[MAX_PATH], report[MAX_PATH];
    GetFullPathNameA(argv[1], sizeof document, document, nullptr),
        GetFullPathNameA(argv[2], sizeof report, report, nullptr);
    const std::string ini = driver::ExeDir() + "\\titrion2.ini";
    const std::string recognition = std::to_string(GetPrivateProfileIntA("Main", "recognition", 0, ini.c_str()));
    if (view) WritePrivateProfileStringA("Main", "recognition", "1", ini.c_str());
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
    } else if (!view) {
        p.Command(IDM_EXPORTHTML);
        HWND dlg = p.WaitDialog("Export do HTML");
        if (dlg) driver::Program::Press(dlg, IDC_HTML_BROWSE);
        if (!dlg || !p.ChooseFile("Exportovat HTML", report)) return Fail("could not write ", report);
        SendDlgItemMessageA(dlg, IDC_HTML_TITLE, WM_SETTEXT, 0, LPARAM("Uhličitan sodný titrovaný HCl"));
        driver::Program::Press(dlg, IDOK);
        p.WaitGone(dlg);
    }
    if (argc > 3) {
        p.Command(IDM_GRAPH);
        if (!(shown = p.WaitGraph())) return Fail("the graph window did not open");
        SetWindowPos(shown, HWND_TOP, 60, 40, 720, 480, SWP_SHOWWINDOW);  // the graph refits to it
        p.Sync();
    }
    SetForegroundWindow(shown);
    RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    p.Sync();
    const char* first = argv[argc == 3 || view ? 2 : 3];
    bool saved = driver::SaveWindowPicture(shown, first);
    // Keys 1 and 2 (or the one asked for), then 3 leaves E'' the setting.
    const std::string keys = view ? std::string(1, view) + "3" : argc == 6 ? "123" : "";
    for (size_t k = 0; k < keys.size(); ++k) {
        SendMessageA(shown, WM_CHAR, keys[k], 1), p.Sync();
        if (keys[k] == '3') break;
        const char* picture = view ? first : argv[4 + k];
        saved = SaveChanged(p, shown, picture, driver::ReadFile(k == 0 ? first : argv[3 + k])) && saved;
    }
    p.Command(IDCANCEL);
    p.WaitExit();
    if (view) WritePrivateProfileStringA("Main", "recognition", recognition.c_str(), ini.c_str());
    return saved ? 0 : Fail("could not save the pictures");
}
