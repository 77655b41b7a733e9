// What a Windows user expects of the main window: undo, the changed mark, several rows at
// once, the paste question, recent files, the settings' place, the columns' widths.
#include <fstream>
#include "app/outside.h"
#include "core/calc.h"
#include "resources/resource.h"
#include "settings/config.h"
#include "tests/app/app_test.h"
#include "tests/support/testui.h"
namespace apptest {
namespace {
using namespace scenario;
using Habits = AppTest;
std::vector<int> SelectedRows() {
    std::vector<int> rows;
    for (int r = -1; (r = ListView_GetNextItem(main_window.list, r, LVNI_SELECTED)) >= 0;) rows.push_back(r);
    return rows;
}
// Every kind of change, each taken back by Ctrl+Z and done again by Ctrl+Y; back at the
// document as it was loaded, it is no longer marked changed.
TEST_F(Habits, UndoAndRedoEveryChange) {
    Load({{1, 10}, {2, 20}, {3, 30}});
    const std::string name = document.file_name, marked = name + " *";
    const std::vector<Step> changes = {
        Command(IDM_ADD).Answer("Přidat...", {{IDC_VB, "4"}, {IDC_E, "40"}}).Rows(7).Selected(6).Title(marked),
        Press(VK_HOME, VK_RETURN).Answer("Upravit...", {{IDC_E, "15"}}).Rows(7).Selected(0),
        Press(VK_DELETE).Rows(5).Selected(0),
        Paste("5\t50").Rows(7).Selected(6),
        Command(IDM_CUT).Rows(5),
        Command(IDM_DELETEALL).Answer(Yes("Potvrďte")).Rows(0),
        Paste("7\t70\r\n8\t80\r\n").Answer(Ok("Import bodů")).Rows(3).Selected(0)};
    std::vector<Points> states = {Document()};
    for (const Step& step : changes) {
        Play(*this, {step});
        states.push_back(Document());
    }
    EXPECT_EQ(states.back(), (Points{{7, 70}, {8, 80}}));
    for (size_t k = changes.size(); k > 0; --k) {
        Play(*this, {Press(CTRL('Z'))});
        EXPECT_EQ(Document(), states[k - 1]) << k;
    }
    EXPECT_EQ(driver::Text(main_window.dialog), "Titrion - " + name);
    EXPECT_FALSE(document.changed);
    Play(*this, {Press(CTRL('Z')), Press(CTRL('Y'), CTRL('Y')).Rows(7).Selected(0).Title(marked)});
    EXPECT_EQ(Document(), states[2]);
    for (size_t k = 3; k < states.size(); ++k) {
        Play(*this, {Command(IDM_REDO)});
        EXPECT_EQ(Document(), states[k]) << k;
    }
    EXPECT_EQ(driver::Text(main_window.dialog), "Titrion - " + document.file_name + " *");
    // At 10,000 points: a delete and a paste taken back give the document as it was.
    Points many;
    for (int i = 0; i < 10000; ++i) many.emplace_back(0.01 * i, i % 97);
    Load(many);
    SelectListItem(main_window, 5000);
    Play(*this, {Press(VK_DELETE).Rows(19997).Selected(10000), Paste("200\t1").Rows(19999),
                 Press(CTRL('Z'), CTRL('Z')).Rows(19999).Selected(10000)});
    EXPECT_EQ(Document(), many);
    Play(*this, {Press(CTRL('Y')).Rows(19997).Selected(10000)});
}
// Shift and Ctrl select several points, never an in-between row; copied as a table, deleted
// after one question; the point that followed takes the selection and the list stays put.
TEST_F(Habits, SeveralPointsAreCopiedAndDeletedTogether) {
    Load({{1, 10}, {2, 20}, {3, 30}, {4, 40}, {5, 50.5}});
    SelectListItem(main_window, 0);
    Keys(main_window.list, {KeyDown(VK_DOWN, {VK_SHIFT}), KeyDown(VK_DOWN, {VK_SHIFT}), KeyDown(VK_DOWN, {VK_CONTROL}),
                            KeyDown(VK_DOWN, {VK_CONTROL}), KeyDown(VK_SPACE, {VK_CONTROL})});
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 2, 4, 8}));
    Play(*this,
         {Command(IDM_COPY).Rows(9).Selected(0).Clipboard(
              "Vb/ml\tE/"
              "mV\r\n1,000000\t10,000000\r\n2,000000\t20,000000\r\n3,000000\t30,000000\r\n5,000000\t50,500000\r\n"),
          Command(IDM_DELETE).Answer(Yes("Potvrďte").Says("Vybrané body (4) budou vymazány.")).Rows(1).Selected(0)});
    EXPECT_EQ(Document(), (Points{{4, 40}}));
    Points many;
    for (int i = 0; i < 300; ++i) many.emplace_back(i, i);
    Load(many);
    ListView_EnsureVisible(main_window.list, 500, FALSE);
    const int top = ListView_GetTopIndex(main_window.list), row = top / 2 * 2 + 4;
    SelectListItem(main_window, row / 2);
    Play(*this, {Press(VK_DELETE).Rows(597).Selected(row)});
    EXPECT_EQ(ListView_GetTopIndex(main_window.list), top);
    Play(*this, {Press(VK_DOWN).Rows(597).Selected(row + 2)});
}
TEST_F(Habits, PastingOverAVolumeAsksFirst) {
    Load({{1, 10}});
    Play(*this, {Paste("1\t20").Answer(No("Dotaz").Says("Tato hodnota Vb už je zadána. Přepsat ji?")).Rows(1)});
    EXPECT_EQ(Document(), (Points{{1, 10}}));
    Play(*this, {Command(IDM_PASTE).Answer(Yes("Dotaz")).Rows(1).Selected(0)});
    EXPECT_EQ(Document(), (Points{{1, 20}}));
}
std::string MenuText(UINT id) {
    char text[MAX_PATH + 8] = "";
    GetMenuStringA(GetMenu(main_window.dialog), id, text, sizeof text, MF_BYCOMMAND);
    return text;
}
TEST_F(Habits, RecentFilesInTheFileMenuAndTheSettings) {
    ScratchDir dir;
    const std::string a = dir.path("a&b.tid"), b = dir.path("b.tid");
    std::ofstream(a, std::ios::binary) << "1\t10\r\n";
    recent_files.clear();
    ASSERT_TRUE(OpenDocument(a));
    EXPECT_EQ(MenuText(IDM_RECENT_FIRST), "&1 " + dir.path("a&&b.tid"));  // at once, not at the next save
    Play(*this, {Command(IDM_SAVEAS).Answer(File("Uložit soubor", b))});
    EXPECT_EQ(MenuText(IDM_RECENT_FIRST) + "|" + MenuText(IDM_RECENT_FIRST + 1),
              "&1 " + b + "|&2 " + dir.path("a&&b.tid"));
    for (int i = 0; i < 6; ++i) AddRecentFile("C:\\x" + std::to_string(i) + ".tid");
    AddRecentFile(b), AddRecentFile(b), UpdateRecentMenu();  // the first added again stays once
    EXPECT_EQ(recent_files,
              (std::vector<std::string>{b, "C:\\x5.tid", "C:\\x4.tid", "C:\\x3.tid", "C:\\x2.tid", "C:\\x1.tid"}));
    EXPECT_FALSE(MenuHas(GetMenu(main_window.dialog), IDM_RECENT_FIRST + 6));
    const std::string gone = "Soubor C:\\x5.tid nebyl nalezen a byl odebrán ze seznamu posledních souborů.";
    Play(*this, {Command(IDM_RECENT_FIRST + 1).Answer(Ok("Chyba").Says(gone)).Rows(1)});
    EXPECT_EQ(MenuText(IDM_RECENT_FIRST + 1), "&2 C:\\x4.tid");
    ASSERT_TRUE(SaveRecentFiles(dir.path("t.ini").c_str()));
    recent_files.clear(), LoadRecentFiles(dir.path("t.ini").c_str());
    EXPECT_EQ(recent_files.size(), 5u);
    EXPECT_EQ(ReadFile(dir.path("t.ini")).find("[Recent]\r\nFile1=" + b + "\r\nFile2=C:\\x4.tid\r\n"), 0u);
    recent_files.clear(), UpdateRecentMenu();
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(main_window.dialog), 0)), 10);
}
// Beside the program while its folder can be written and no ini is in the user's folder;
// otherwise there. A folder that cannot be written is one that does not exist.
TEST_F(Habits, SettingsLiveBesideTheProgramOrInTheUsersFolder) {
    ScratchDir dir;
    const std::string program = dir.dir(), user = dir.path("user"), own = user + "\\Titrion\\titrion2.ini";
    CreateDirectoryA(user.c_str(), nullptr);
    EXPECT_EQ(SettingsPath(program, user), program + "\\titrion2.ini");
    EXPECT_EQ(SettingsPath(dir.path("chybí"), user), own);
    ASSERT_TRUE(SaveConfig(own.c_str(), config));
    EXPECT_FALSE(SaveConfig(dir.path("chybí\\titrion2.ini").c_str(), config));
    EXPECT_EQ(SettingsPath(program, user), own);
    DeleteFileA(own.c_str()), RemoveDirectoryA((user + "\\Titrion").c_str()), RemoveDirectoryA(user.c_str());
}
// The n column shows the last number whole; a width the user chose stays.
TEST_F(Habits, ColumnsFitTheOpenedDocument) {
    ScratchDir dir;
    std::ofstream file(dir.path("d.tid"), std::ios::binary);
    for (int i = 0; i < 100000; ++i) file << i << (i % 2 ? "\t-1000000000\r\n" : "\t1000000000\r\n");
    file.close();
    ListView_SetColumnWidth(main_window.list, 2, 33);
    ASSERT_TRUE(OpenDocument(dir.path("d.tid")));
    auto width = [](const char* text) {
        return int(SendMessageA(main_window.list, LVM_GETSTRINGWIDTHA, 0, LPARAM(text)));
    };
    EXPECT_GT(ListView_GetColumnWidth(main_window.list, 0), width("100000"));
    EXPECT_GT(ListView_GetColumnWidth(main_window.list, 4), width("-4000000000,0000"));
    EXPECT_EQ(ListView_GetColumnWidth(main_window.list, 2), 33);
}
TEST(Association, RegisterWritesThePerUserClasses) {
    ASSERT_TRUE(RegisterFileType(L"C:\\Program Files\\Titrion\\titrion3.exe"));
    auto value = [](const wchar_t* key) {
        wchar_t text[MAX_PATH] = L"";
        DWORD size = sizeof text;
        RegGetValueW(HKEY_CURRENT_USER, key, nullptr, RRF_RT_REG_SZ, nullptr, text, &size);
        return std::wstring(text);
    };
    EXPECT_EQ(value(L"Software\\Classes\\.tid"), L"Titrion.Document");
    EXPECT_EQ(value(L"Software\\Classes\\Titrion.Document\\shell\\open\\command"),
              L"\"C:\\Program Files\\Titrion\\titrion3.exe\" \"%1\"");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\Titrion.Document"),
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.tid");
}
}  // namespace
}  // namespace apptest
