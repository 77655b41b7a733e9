// The file pickers keep one folder for the whole run, so these cases run in this order in
// their own executable: the first dialog must be the first of the process.
#include <windows.h>
#include <commdlg.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "controls/cmndlgex.h"
#include "tests/controls/host.h"
#include "tests/support/testui.h"

namespace {

const int FILE_NAME = 1148;  // the dialog's name field
const int FILE_TYPES = 1136;  // its filter list

const char DOCS[] =
    "Titrionická data (*.tid)\0*.tid\0Textové soubory (*.txt)\0*.txt\0Všechny soubory (*.*)\0*.*\0";
const char REPORT[] = "Soubory HTML (*.html)\0*.html\0Všechny soubory (*.*)\0*.*\0";

// What the dialog showed when it opened.
struct Shown {
    std::string folder;
    int filter = -1;  // 1-based, as in the request
    std::string name;
    std::string caption;
};

testui::Action Inspect(Shown* shown, int button = IDCANCEL) {
    return [=](HWND dlg) {
        char folder[MAX_PATH] = "";
        SendMessageA(dlg, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
        shown->folder = folder;
        shown->filter = static_cast<int>(SendDlgItemMessageA(dlg, FILE_TYPES, CB_GETCURSEL, 0, 0)) + 1;
        shown->name = testui::ItemText(dlg, FILE_NAME);
        shown->caption = testui::Text(dlg);
        testui::Press(dlg, button);
    };
}

std::string NoSlash(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

std::string ModuleFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    *std::strrchr(path, '\\') = '\0';
    return path;
}

// A folder under the temporary one, made if missing; with `file`, also an empty file in it.
std::string TempFolder(const char* sub, const char* file = nullptr) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string dir = NoSlash(tmp) + "\\" + sub;
    CreateDirectoryA(dir.c_str(), nullptr);
    if (file) CloseHandle(CreateFileA((dir + "\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return dir;
}

// The text of the folder selected in the browser's tree, or "" before it has one.
std::string SelectedFolder(HWND dlg) {
    HWND tree = FindWindowExA(dlg, nullptr, WC_TREEVIEWA, nullptr);
    if (!tree) return "";
    TVITEMA item{};
    char text[MAX_PATH] = "";
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (!item.hItem || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return "";
    return text;
}

// Presses OK once the tree shows `leaf` selected; Cancel when it does not within about five
// seconds of waiting for messages. Returns whether the selection showed.
bool PressOkWhenSelected(HWND dlg, const std::string& leaf) {
    for (int i = 0; i < 100; ++i) {
        if (lstrcmpiA(SelectedFolder(dlg).c_str(), leaf.c_str()) == 0) {
            testui::Press(dlg, IDOK);
            return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        testui::Pump();
    }
    testui::Press(dlg, IDCANCEL);
    return false;
}

class FilePickers : public ::testing::Test {
protected:
    Host host;
    testui::ModalScript ui;
};

TEST_F(FilePickers, FolderStartsBesideTheProgramThenFollowsTheChosenFile) {
    // The first dialog of the run, with no proposed name.
    Shown first;
    ui.call(Inspect(&first));
    char name[MAX_PATH] = "";
    EXPECT_EQ(GetFileName(host.hwnd, DOCS, "Otevřít", name, MAX_PATH, 0), 0);
    EXPECT_STREQ(name, "");
    EXPECT_STRCASEEQ(NoSlash(first.folder).c_str(), ModuleFolder().c_str());
    EXPECT_EQ(first.filter, 1);
    EXPECT_EQ(first.caption, "Otevřít");

    // Open takes only a file that exists: a missing one is refused with a message.
    const std::string folder = TempFolder("picker_chosen", "mereni.tid");
    ui.call([&](HWND dlg) {
        testui::SetText(dlg, FILE_NAME, folder + "\\chybi.tid");
        testui::Press(dlg, IDOK);  // refused, answered below
        testui::SetText(dlg, FILE_NAME, folder + "\\mereni.tid");
        testui::Press(dlg, IDOK);
    });
    ui.press(IDOK);
    ASSERT_NE(GetFileName(host.hwnd, DOCS, "Otevřít", name, MAX_PATH, 0), 0);
    EXPECT_STRCASEEQ(name, (folder + "\\mereni.tid").c_str());
    EXPECT_EQ(ui.seen().size(), 3u);

    // Any later dialog with no proposed name starts there.
    Shown later;
    ui.call(Inspect(&later));
    char other[MAX_PATH] = "";
    EXPECT_EQ(GetFileName(host.hwnd, REPORT, "Export", other, MAX_PATH, 1), 0);
    EXPECT_STRCASEEQ(NoSlash(later.folder).c_str(), folder.c_str());

    // A bare proposed name starts in the current directory, whatever came before.
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    Shown bare;
    ui.call(Inspect(&bare));
    char untitled[MAX_PATH] = "bez nazvu.tid";
    EXPECT_EQ(GetFileName(host.hwnd, DOCS, "Uložit jako", untitled, MAX_PATH, 1), 0);
    EXPECT_STRCASEEQ(NoSlash(bare.folder).c_str(), NoSlash(cwd).c_str());
    EXPECT_EQ(bare.name, "bez nazvu");
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(FilePickers, FilterFollowsTheProposedExtension) {
    const std::string dotted = TempFolder("picker.dir");
    struct Case {
        const char* filter;
        std::string proposed;
        int index;
        std::string shown;
    } const cases[] = {
        {REPORT, "ZPRAVA.HTML", 1, "ZPRAVA"},         // any case, extension cut off
        {REPORT, "data.xyz", 2, "data.xyz"},          // unknown: the last filter, name whole
        {REPORT, "bezpripony", 1, "bezpripony"},      // no dot: the first filter
        {DOCS, "mereni.TXT", 2, "mereni"},
        {DOCS, "mereni.", 3, "mereni."},
        {REPORT, dotted + "\\zprava", 1, "zprava"},   // a dot in a folder is no extension
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.proposed);
        Shown shown;
        ui.call(Inspect(&shown));
        char name[MAX_PATH];
        lstrcpynA(name, c.proposed.c_str(), MAX_PATH);
        EXPECT_EQ(GetFileName(host.hwnd, c.filter, "Export", name, MAX_PATH, 1), 0);
        EXPECT_EQ(std::string(name), c.proposed);  // cancel leaves it alone
        EXPECT_EQ(shown.filter, c.index);
        EXPECT_EQ(shown.name.substr(shown.name.rfind('\\') + 1), c.shown);
    }
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(FilePickers, SaveGivesTheFilterExtensionAndAsksBeforeOverwriting) {
    const std::string folder = TempFolder("picker_save");
    const std::string report = folder + "\\zprava.html";
    DeleteFileA(report.c_str());

    // Under "*.*" a name without an extension gets the first pattern's extension.
    char name[MAX_PATH] = "x.foo";
    ui.type(FILE_NAME, folder + "\\zprava", IDOK);
    ASSERT_NE(GetFileName(host.hwnd, REPORT, "Export", name, MAX_PATH, 1), 0);
    EXPECT_STRCASEEQ(name, report.c_str());

    TempFolder("picker_save", "zprava.html");
    char again[MAX_PATH] = "zprava.html";
    ui.type(FILE_NAME, report, IDOK).press(IDYES);
    ASSERT_NE(GetFileName(host.hwnd, REPORT, "Export", again, MAX_PATH, 1), 0);
    ASSERT_EQ(ui.seen().size(), 3u);  // two dialogs, the second with its overwrite question
    EXPECT_EQ(ui.seen()[2].icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST(LocalFile, BesideTheProgram) {
    char path[MAX_PATH + 16];
    EXPECT_EQ(GetLocalFileName(path, "titrion2.ini"), path);
    EXPECT_EQ(std::string(path), ModuleFolder() + "\\titrion2.ini");
}

TEST_F(FilePickers, FolderBrowserPreselectsAndReturnsTheFolder) {
    const std::string folder = TempFolder("picker_browse");
    char path[MAX_PATH];
    lstrcpynA(path, folder.c_str(), MAX_PATH);
    // Wine's browser on a new prefix now and then leaves its tree at the desktop, ignoring the
    // preselection; a second dialog gets it. Our side is the same call each time.
    bool shown = false;
    int chosen = 0;
    for (int attempt = 0; attempt < 3 && !shown; ++attempt) {
        ui.call([&shown](HWND dlg) { shown = PressOkWhenSelected(dlg, "picker_browse"); });
        chosen = BrowseForFolder(host.hwnd, "Vyberte složku", path);
    }
    EXPECT_TRUE(shown);
    EXPECT_EQ(chosen, 1);
    EXPECT_STRCASEEQ(NoSlash(path).c_str(), folder.c_str());

    ui.press(IDCANCEL);
    EXPECT_EQ(BrowseForFolder(host.hwnd, "Vyberte složku", path), 0);
    EXPECT_STRCASEEQ(NoSlash(path).c_str(), folder.c_str());
    EXPECT_EQ(ui.unexpected(), 0);
}

}  // namespace
