// The file pickers keep one folder for the whole run, so these cases run in this order in
// their own executable: the first dialog must be the first of the process.
#include <windows.h>
#include <commdlg.h>
#include <gtest/gtest.h>
#include <cstring>
#include "controls/cmndlgex.h"
#include "tests/controls/host.h"
#include "tests/support/testui.h"

namespace {
const int FILE_NAME = 1148, FILE_TYPES = 1136;  // the dialog's name field and filter list
const char DOCS[] = "Titrionická data (*.tid)\0*.tid\0Textové soubory (*.txt)\0*.txt\0Všechny soubory (*.*)\0*.*\0";
const char REPORT[] = "Soubory HTML (*.html)\0*.html\0Všechny soubory (*.*)\0*.*\0";
// What the dialog showed when it opened (folder without its closing slash, 1-based filter).
struct Shown {
    std::string folder;
    int filter = -1;
    std::string name, caption;
};
testui::Action Inspect(Shown* shown) {
    return [=](HWND dlg) {
        char folder[MAX_PATH] = "";
        SendMessageA(dlg, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
        for (size_t n = std::strlen(folder); n > 3 && folder[n - 1] == '\\';) folder[--n] = '\0';
        *shown = {folder, (int)SendDlgItemMessageA(dlg, FILE_TYPES, CB_GETCURSEL, 0, 0) + 1,
                  testui::ItemText(dlg, FILE_NAME), testui::Text(dlg)};
        testui::Press(dlg, IDCANCEL);
    };
}
std::string ModuleFolder() {
    char path[MAX_PATH];
    return GetModuleFileNameA(nullptr, path, MAX_PATH), *std::strrchr(path, '\\') = '\0', path;
}
// A folder under the temporary one, made if missing; with `file`, also an empty file in it.
std::string TempFolder(const char* sub, const char* file = nullptr) {
    char tmp[MAX_PATH];
    std::string dir = std::string(tmp, GetTempPathA(MAX_PATH, tmp) - 1) + "\\" + sub;
    CreateDirectoryA(dir.c_str(), nullptr);
    if (file)
        CloseHandle(CreateFileA((dir + "\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return dir;
}
struct FilePickers : ::testing::Test {
    int Run(const char* filter, std::string* name, int save, const char* caption = "Export") {
        char buf[MAX_PATH];
        const int ok = GetFileName(host.hwnd, filter, caption, lstrcpynA(buf, name->c_str(), MAX_PATH), MAX_PATH, save);
        return *name = buf, ok;
    }
    Host host;
    testui::ModalScript ui;
};
TEST_F(FilePickers, FolderStartsBesideTheProgramThenFollowsTheChosenFile) {
    Shown first, later;
    std::string name;
    EXPECT_EQ((ui.call(Inspect(&first)), Run(DOCS, &name, 0, "Otevřít")), 0);
    EXPECT_STRCASEEQ(first.folder.c_str(), ModuleFolder().c_str());
    EXPECT_EQ(std::tuple(name, first.filter, first.caption), std::tuple(std::string(), 1, std::string("Otevřít")));
    // Open takes only a file that exists: a missing one is refused with a message.
    const std::string folder = TempFolder("picker_chosen", "mereni.tid");
    ui.call([&](HWND dlg) {
          testui::SetText(dlg, FILE_NAME, folder + "\\chybi.tid"), testui::Press(dlg, IDOK);  // refused, answered below
          testui::SetText(dlg, FILE_NAME, folder + "\\mereni.tid"), testui::Press(dlg, IDOK);
      }).press(IDOK);
    ASSERT_NE(Run(DOCS, &name, 0), 0);
    EXPECT_STRCASEEQ(name.c_str(), (folder + "\\mereni.tid").c_str());
    EXPECT_EQ(ui.seen().size(), 3u) << "the message about the missing file";
    std::string none;  // a later dialog with no proposed name starts there
    EXPECT_EQ((ui.call(Inspect(&later)), Run(REPORT, &none, 1)), 0);
    EXPECT_STRCASEEQ(later.folder.c_str(), folder.c_str());
    EXPECT_EQ(ui.unexpected(), 0);
}
TEST_F(FilePickers, FilterFollowsTheProposedExtensionAndCancelKeepsTheName) {
    const std::string dotted = TempFolder("picker.dir");
    // clang-format off
    const struct { const char* filter; std::string proposed; int index; std::string shown; } cases[] = {
        {REPORT, "ZPRAVA.HTML", 1, "ZPRAVA"},     // any case, extension cut off
        {REPORT, "data.xyz", 2, "data.xyz"},      // unknown: the last filter, name whole
        {REPORT, "bezpripony", 1, "bezpripony"},  // no dot: the first filter
        {DOCS, "mereni.TXT", 2, "mereni"}, {DOCS, "mereni.", 3, "mereni."},
        {REPORT, dotted + "\\zprava", 1, "zprava"},  // a dot in a folder is no extension
    };
    // clang-format on
    for (const auto& c : cases) {
        Shown shown;
        std::string name = c.proposed;
        EXPECT_EQ((ui.call(Inspect(&shown)), Run(c.filter, &name, 1)), 0) << c.proposed;
        EXPECT_EQ(std::tuple(name, shown.filter),
                  std::tuple(std::string(c.proposed), c.index));  // cancel keeps the name
        EXPECT_EQ(shown.name.substr(shown.name.rfind('\\') + 1), c.shown) << c.proposed;
    }
    EXPECT_EQ(ui.unexpected(), 0);
}
TEST_F(FilePickers, SaveGivesTheFirstExtensionAndAsksBeforeOverwriting) {
    const std::string report = TempFolder("picker_save") + "\\zprava.html";
    DeleteFileA(report.c_str());
    std::string name = "x.foo";  // under "*.*" a bare name still gets the first extension
    ui.type(FILE_NAME, report.substr(0, report.size() - 5), IDOK);
    ASSERT_NE(Run(REPORT, &name, 1), 0);
    EXPECT_STRCASEEQ(name.c_str(), report.c_str());
    TempFolder("picker_save", "zprava.html");
    ui.type(FILE_NAME, report, IDOK).press(IDYES);
    ASSERT_NE(Run(REPORT, &name, 1), 0);
    ASSERT_EQ(ui.seen().size(), 3u);  // with the overwrite question
    EXPECT_EQ(std::tuple(ui.seen()[2].icon, ui.unexpected()), std::tuple(UINT(MB_ICONWARNING), 0));
    char path[MAX_PATH + 16];
    EXPECT_EQ(GetLocalFileName(path, "titrion2.ini"), path);
    EXPECT_EQ(std::string(path), ModuleFolder() + "\\titrion2.ini");
    ui.press(IDCANCEL);  // a cancelled folder browser leaves the path alone
    EXPECT_EQ(BrowseForFolder(host.hwnd, "Vyberte složku", path), 0);
    EXPECT_EQ(std::string(path), ModuleFolder() + "\\titrion2.ini");
}
}  // namespace
