// The graph window, Options, Details, HTML export and help of the real titrion3.exe, driven
// from this process. Each test runs its own copy of the program in a scratch folder, so the
// settings file it writes there is its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/driver.h"

namespace {

constexpr UINT IDM_OPTIONS = 40013;
constexpr UINT IDM_DETAILS = 40014;
constexpr UINT IDM_GRAPH = 40015;
constexpr UINT IDM_EXPORTHTML = 40021;
constexpr UINT IDM_EXIT = 40001;
constexpr UINT IDM_GRAPH_OPTIONS = 40029;
constexpr int IDC_USE_COMMA = 1011;
constexpr int IDC_VB_PRECIS = 1005;
constexpr int IDC_HTML_FILE = 1015;
constexpr int IDC_HTML_BROWSE = 1016;
constexpr int IDC_HTML_TITLE = 1019;
constexpr int IDC_SHOW_AXES = 1020;

using Points = std::vector<std::pair<const char*, const char*>>;
// E'' = 2 at Vb 1 and -2 at Vb 2: one result at 1.5.
const Points kOneResult = {{"0", "0"}, {"1", "0"}, {"2", "2"}, {"3", "2"}};

// A folder holding a copy of the program and its library.
class ProgramCopy {
public:
    ProgramCopy() {
        static int counter = 0;
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%stitrion-features-%lu-%d", temp, GetCurrentProcessId(), ++counter);
        dir_ = name;
        CreateDirectoryA(dir_.c_str(), nullptr);
        for (const char* file : {"titrion3.exe", "vexplot3.dll"})
            CopyFileA((driver::ExeDir() + "\\" + file).c_str(), path(file).c_str(), FALSE);
    }
    ~ProgramCopy() {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((dir_ + "\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do DeleteFileA(path(found.cFileName).c_str());
            while (FindNextFileA(find, &found));
            FindClose(find);
        }
        RemoveDirectoryA(dir_.c_str());
    }
    std::string path(const std::string& name) const { return dir_ + "\\" + name; }
    std::string exe() const { return path("titrion3.exe"); }

private:
    std::string dir_;
};

bool EnterPoints(const driver::Program& p, const Points& points) {
    for (const auto& point : points) {
        p.Command(driver::IDM_ADD);
        if (!p.EnterPoint("Přidat...", point.first, point.second)) return false;
    }
    return p.Sync();
}

std::string ItemText(HWND dlg, int id) {
    char text[512] = "";
    SendMessageA(GetDlgItem(dlg, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

BOOL CALLBACK FindGraph(HWND w, LPARAM out) {
    if (driver::ClassOf(w) != "VexGraphV2WClass" || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
}

// The program's graph window, once it is there.
HWND WaitGraph(const driver::Program& p) {
    for (int round = 0; round < 50; ++round) {
        HWND found = nullptr;
        EnumThreadWindows(GetWindowThreadProcessId(p.main(), nullptr), FindGraph, reinterpret_cast<LPARAM>(&found));
        if (found) return found;
        if (!p.Sync()) break;
    }
    return nullptr;
}

bool WaitClosed(const driver::Program& p, HWND w) {
    for (int round = 0; round < 50 && IsWindow(w); ++round)
        if (!p.Sync()) break;
    return !IsWindow(w);
}

// Ends the program with Esc (no prompt) and returns its exit code.
DWORD Quit(const driver::Program& p) {
    p.Command(IDCANCEL);
    return p.WaitExit();
}

TEST(FeaturesE2E, GraphOpensOverADisabledMainWindowAndItsOptionsPersist) {
    ProgramCopy copy;
    {
        driver::Program p(copy.exe());
        ASSERT_TRUE(p.Start());
        ASSERT_TRUE(EnterPoints(p, kOneResult));
        p.Command(IDM_GRAPH);
        HWND graph = WaitGraph(p);
        ASSERT_TRUE(graph);
        EXPECT_EQ(driver::Text(graph), "Titrionika");
        EXPECT_FALSE(IsWindowEnabled(p.main()));

        SendNotifyMessageA(graph, WM_COMMAND, IDM_GRAPH_OPTIONS, 0);
        HWND dlg = p.WaitDialog("Možnosti grafu...");
        ASSERT_TRUE(dlg);
        EXPECT_EQ(SendMessageA(GetDlgItem(dlg, IDC_SHOW_AXES), BM_GETCHECK, 0, 0), BST_CHECKED);
        SendMessageA(GetDlgItem(dlg, IDC_SHOW_AXES), BM_SETCHECK, BST_UNCHECKED, 0);
        driver::Program::Press(dlg, IDOK);
        ASSERT_TRUE(p.WaitGone(dlg));

        SendNotifyMessageA(graph, WM_COMMAND, IDM_EXIT, 0);  // "&Zavřít"
        ASSERT_TRUE(WaitClosed(p, graph));
        EXPECT_TRUE(IsWindowEnabled(p.main()));
        EXPECT_EQ(Quit(p), 0u);
    }
    EXPECT_NE(driver::ReadFile(copy.path("titrion2.ini")).find("graph_show_axes=0"), std::string::npos);

    // The next start reads the choice back.
    driver::Program p(copy.exe());
    ASSERT_TRUE(p.Start());
    ASSERT_TRUE(EnterPoints(p, kOneResult));
    p.Command(IDM_GRAPH);
    HWND graph = WaitGraph(p);
    ASSERT_TRUE(graph);
    SendNotifyMessageA(graph, WM_COMMAND, IDM_GRAPH_OPTIONS, 0);
    HWND dlg = p.WaitDialog("Možnosti grafu...");
    ASSERT_TRUE(dlg);
    EXPECT_EQ(SendMessageA(GetDlgItem(dlg, IDC_SHOW_AXES), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    driver::Program::Press(dlg, IDCANCEL);
    ASSERT_TRUE(p.WaitGone(dlg));
    // The system menu's close (as Alt+F4 and the close box) gives the main window back too.
    SendNotifyMessageA(graph, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitClosed(p, graph));
    EXPECT_TRUE(IsWindowEnabled(p.main()));
    EXPECT_EQ(Quit(p), 0u);
}

TEST(FeaturesE2E, OptionsChangeTheNumbersOfTheHtmlReport) {
    ProgramCopy copy;
    const std::string report = copy.path("protokol.html");
    {
        driver::Program p(copy.exe());
        ASSERT_TRUE(p.Start());
        ASSERT_TRUE(EnterPoints(p, kOneResult));

        p.Command(IDM_OPTIONS);
        HWND options = p.WaitDialog("Možnosti");
        ASSERT_TRUE(options);
        SendMessageA(GetDlgItem(options, IDC_USE_COMMA), BM_SETCHECK, BST_UNCHECKED, 0);
        SendMessageA(GetDlgItem(options, IDC_VB_PRECIS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("1"));
        driver::Program::Press(options, IDOK);
        ASSERT_TRUE(p.WaitGone(options));

        p.Command(IDM_EXPORTHTML);
        HWND dlg = p.WaitDialog("Export do HTML");
        ASSERT_TRUE(dlg);
        EXPECT_EQ(ItemText(dlg, IDC_HTML_TITLE), "Bez jména 1");
        driver::Program::Press(dlg, IDC_HTML_BROWSE);
        ASSERT_TRUE(p.ChooseFile("Exportovat HTML", report));
        EXPECT_EQ(ItemText(dlg, IDC_HTML_FILE), report);
        SendMessageA(GetDlgItem(dlg, IDC_HTML_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Titrace č. 1"));
        driver::Program::Press(dlg, IDOK);
        ASSERT_TRUE(p.WaitGone(dlg));
        EXPECT_EQ(Quit(p), 0u);
    }
    const std::string page = driver::ReadFile(report);
    EXPECT_NE(page.find("<H1>Titrace \xE8. 1</H1>\r\n"), std::string::npos) << page;
    EXPECT_NE(page.find("<TR><TD>2</TD><TD>1.0</TD><TD>0.0000</TD><TD></TD><TD>2.0000</TD></TR>\r\n"),
              std::string::npos) << page;
    EXPECT_NE(page.find("<TR><TD>1.5000</TD></TR></TABLE>"), std::string::npos);
    const std::string ini = driver::ReadFile(copy.path("titrion2.ini"));
    EXPECT_NE(ini.find("use_comma=0"), std::string::npos) << ini;
    EXPECT_NE(ini.find("vb_precis=1"), std::string::npos) << ini;
}

TEST(FeaturesE2E, DetailsShowTheSelectedResult) {
    ProgramCopy copy;
    driver::Program p(copy.exe());
    ASSERT_TRUE(p.Start());
    ASSERT_TRUE(EnterPoints(p, kOneResult));
    p.Command(IDM_DETAILS);  // the refill selected the first result
    HWND dlg = p.WaitDialog("Detaily");
    ASSERT_TRUE(dlg);
    std::vector<std::string> shown;
    for (int id = 1005; id <= 1009; ++id) shown.push_back(ItemText(dlg, id));
    EXPECT_EQ(shown, (std::vector<std::string>{"1,5000", "1,0000", "2,0000", "2,0000", "-2,0000"}));
    driver::Program::Press(dlg, IDOK);
    ASSERT_TRUE(p.WaitGone(dlg));
    EXPECT_EQ(Quit(p), 0u);
}

TEST(FeaturesE2E, F1WithoutTheManualSaysSo) {
    ProgramCopy copy;
    driver::Program p(copy.exe());
    ASSERT_TRUE(p.Start());
    p.Key(p.main(), WM_KEYDOWN, VK_F1);
    HWND box = p.WaitDialog("Chyba");
    ASSERT_TRUE(box);
    EXPECT_EQ(driver::DialogText(box), "Chyba při otevírání souboru nápovědy (Soubor nápovědy nenalezen)");
    driver::Program::Press(box, IDOK);
    ASSERT_TRUE(p.WaitGone(box));
    EXPECT_EQ(Quit(p), 0u);
}

}  // namespace
