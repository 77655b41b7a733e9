// The graph window, Options, Details, HTML export and help of the real titrion3.exe, driven
// from this process. Each test runs its own copy of the program in a scratch folder, so the
// settings file it writes there is its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/driver.h"

namespace {

using namespace driver;

using Points = std::vector<std::pair<const char*, const char*>>;
// E'' = 2 at Vb 1 and -2 at Vb 2: one result at 1.5.
const Points kOneResult = {{"0", "0"}, {"1", "0"}, {"2", "2"}, {"3", "2"}};

bool EnterPoints(const Program& p, const Points& points) {
    for (const auto& point : points) {
        p.Command(IDM_ADD);
        if (!p.EnterPoint("Přidat...", point.first, point.second)) return false;
    }
    return p.Sync();
}

// Started, with the points of kOneResult typed in.
bool StartWithOneResult(Program& p) { return p.Start() && EnterPoints(p, kOneResult); }

std::string ItemText(HWND dlg, int id) { return Text(GetDlgItem(dlg, id)); }

// Ends the program with Esc, answering No when it asks about unsaved points, and returns its
// exit code.
DWORD Quit(const Program& p, bool unsaved = true) {
    p.Command(IDCANCEL);
    if (unsaved) {
        HWND prompt = p.WaitDialog("Potvrďte");
        EXPECT_TRUE(prompt) << "Esc did not ask about the unsaved points";
        if (prompt) Program::Press(prompt, IDNO);
    }
    return p.WaitExit();
}

TEST(FeaturesE2E, GraphOpensOverADisabledMainWindowAndItsOptionsPersist) {
    ProgramCopy copy;
    ASSERT_TRUE(copy.copied());
    {
        Program p(copy.exe());
        ASSERT_TRUE(StartWithOneResult(p));
        p.Command(IDM_GRAPH);
        HWND graph = p.WaitGraph();
        ASSERT_TRUE(graph);
        EXPECT_EQ(Text(graph), "Titrionika");
        EXPECT_FALSE(IsWindowEnabled(p.main()));

        SendNotifyMessageA(graph, WM_COMMAND, IDM_GRAPH_OPTIONS, 0);
        HWND dlg = p.WaitDialog("Možnosti grafu...");
        ASSERT_TRUE(dlg);
        EXPECT_EQ(SendMessageA(GetDlgItem(dlg, IDC_SHOW_AXES), BM_GETCHECK, 0, 0), BST_CHECKED);
        SendMessageA(GetDlgItem(dlg, IDC_SHOW_AXES), BM_SETCHECK, BST_UNCHECKED, 0);
        Program::Press(dlg, IDOK);
        ASSERT_TRUE(p.WaitGone(dlg));

        SendNotifyMessageA(graph, WM_COMMAND, IDM_EXIT, 0);  // "&Zavřít"
        ASSERT_TRUE(p.WaitGone(graph));
        EXPECT_TRUE(IsWindowEnabled(p.main()));
        EXPECT_EQ(Quit(p), 0u);
    }
    EXPECT_NE(ReadFile(copy.path("titrion2.ini")).find("graph_show_axes=0"), std::string::npos);

    // The next start reads the choice back.
    Program p(copy.exe());
    ASSERT_TRUE(StartWithOneResult(p));
    p.Command(IDM_GRAPH);
    HWND graph = p.WaitGraph();
    ASSERT_TRUE(graph);
    SendNotifyMessageA(graph, WM_COMMAND, IDM_GRAPH_OPTIONS, 0);
    HWND dlg = p.WaitDialog("Možnosti grafu...");
    ASSERT_TRUE(dlg);
    EXPECT_EQ(SendMessageA(GetDlgItem(dlg, IDC_SHOW_AXES), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Program::Press(dlg, IDCANCEL);
    ASSERT_TRUE(p.WaitGone(dlg));
    // The system menu's close (as Alt+F4 and the close box) gives the main window back too.
    SendNotifyMessageA(graph, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(p.WaitGone(graph));
    EXPECT_TRUE(IsWindowEnabled(p.main()));
    EXPECT_EQ(Quit(p), 0u);
}

TEST(FeaturesE2E, OptionsChangeTheNumbersOfTheHtmlReport) {
    ProgramCopy copy;
    ASSERT_TRUE(copy.copied());
    const std::string report = copy.path("protokol.html");
    {
        Program p(copy.exe());
        ASSERT_TRUE(StartWithOneResult(p));

        p.Command(IDM_OPTIONS);
        HWND options = p.WaitDialog("Možnosti");
        ASSERT_TRUE(options);
        SendMessageA(GetDlgItem(options, IDC_USE_COMMA), BM_SETCHECK, BST_UNCHECKED, 0);
        SendMessageA(GetDlgItem(options, IDC_VB_PRECIS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("1"));
        Program::Press(options, IDOK);
        ASSERT_TRUE(p.WaitGone(options));

        p.Command(IDM_EXPORTHTML);
        HWND dlg = p.WaitDialog("Export do HTML");
        ASSERT_TRUE(dlg);
        EXPECT_EQ(ItemText(dlg, IDC_HTML_TITLE), "Bez jména 1");
        Program::Press(dlg, IDC_HTML_BROWSE);
        ASSERT_TRUE(p.ChooseFile("Exportovat HTML", report));
        EXPECT_EQ(ItemText(dlg, IDC_HTML_FILE), report);
        SendMessageA(GetDlgItem(dlg, IDC_HTML_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Titrace č. 1"));
        Program::Press(dlg, IDOK);
        ASSERT_TRUE(p.WaitGone(dlg));
        EXPECT_EQ(Quit(p), 0u);
    }
    const std::string page = ReadFile(report);
    EXPECT_NE(page.find("<H1>Titrace \xE8. 1</H1>\r\n"), std::string::npos) << page;
    EXPECT_NE(page.find("<TR><TD>2</TD><TD>1.0</TD><TD>0.0000</TD><TD></TD><TD>2.0000</TD></TR>\r\n"),
              std::string::npos) << page;
    EXPECT_NE(page.find("<TR><TD>1.5000</TD></TR></TABLE>"), std::string::npos);
    const std::string ini = ReadFile(copy.path("titrion2.ini"));
    EXPECT_NE(ini.find("use_comma=0"), std::string::npos) << ini;
    EXPECT_NE(ini.find("vb_precis=1"), std::string::npos) << ini;
}

TEST(FeaturesE2E, DetailsShowTheSelectedResult) {
    ProgramCopy copy;
    ASSERT_TRUE(copy.copied());
    Program p(copy.exe());
    ASSERT_TRUE(StartWithOneResult(p));
    p.Command(IDM_DETAILS);  // the refill selected the first result
    HWND dlg = p.WaitDialog("Detaily");
    ASSERT_TRUE(dlg);
    std::vector<std::string> shown;
    for (int id = 1005; id <= 1009; ++id) shown.push_back(ItemText(dlg, id));
    EXPECT_EQ(shown, (std::vector<std::string>{"1,5000", "1,0000", "2,0000", "2,0000", "-2,0000"}));
    Program::Press(dlg, IDOK);
    ASSERT_TRUE(p.WaitGone(dlg));
    EXPECT_EQ(Quit(p), 0u);
}

TEST(FeaturesE2E, F1WithoutTheManualSaysSo) {
    ProgramCopy copy;
    ASSERT_TRUE(copy.copied());
    Program p(copy.exe());
    ASSERT_TRUE(p.Start());
    p.Key(p.main(), WM_KEYDOWN, VK_F1);
    HWND box = p.WaitDialog("Chyba");
    ASSERT_TRUE(box);
    EXPECT_EQ(DialogText(box), "Chyba při otevírání souboru nápovědy (Soubor nápovědy nenalezen)");
    Program::Press(box, IDOK);
    ASSERT_TRUE(p.WaitGone(box));
    EXPECT_EQ(Quit(p, false), 0u);
}

}  // namespace
