// Opens a document in titrion3.exe (beside this program), selects a point, saves a picture
// of the main window as a BMP file and closes the program: the screenshot of `make run`.
//   titrion_showcase <document.tid> <picture.bmp>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/driver.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: titrion_showcase document.tid picture.bmp\n");
        return 2;
    }
    char document[MAX_PATH];
    GetFullPathNameA(argv[1], sizeof document, document, nullptr);
    driver::Program titrion(driver::ExeDir() + "\\titrion3.exe");
    if (!titrion.Start()) {
        std::fprintf(stderr, "titrion3.exe did not start\n");
        return 1;
    }
    SetWindowPos(titrion.main(), HWND_TOP, 40, 30, 640, 560, SWP_SHOWWINDOW);
    titrion.Command(IDM_OPEN);
    if (!titrion.ChooseFile("Otevřít soubor", document)) {
        std::fprintf(stderr, "could not open %s\n", document);
        return 1;
    }
    // Tab into the list and down to the steep part before the first equivalence point.
    titrion.Key(GetDlgItem(titrion.main(), 1002), WM_KEYDOWN, VK_TAB);
    titrion.Key(titrion.list(), WM_KEYDOWN, VK_HOME);
    for (int i = 0; i < 15; ++i) titrion.Key(titrion.list(), WM_KEYDOWN, VK_DOWN);
    titrion.Settle();
    SetForegroundWindow(titrion.main());
    RedrawWindow(titrion.main(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    titrion.Sync();
    const bool saved = driver::SaveWindowPicture(titrion.main(), argv[2]);
    PostMessageA(titrion.main(), WM_CLOSE, 0, 0);
    titrion.WaitExit();
    if (!saved) std::fprintf(stderr, "could not save %s\n", argv[2]);
    return saved ? 0 : 1;
}
