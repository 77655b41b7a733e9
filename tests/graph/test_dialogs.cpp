// The Options, Details, HTML export and help commands inside the test process.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/Titrionika_dialogs.h"
#include "core/calc.h"
#include "resources/resource.h"
#include "tests/app/app_test.h"
#include "tests/support/testui.h"

namespace {

using apptest::AppTest;
using apptest::Cell;
using apptest::Column;
using apptest::SelectedRow;
using apptest::FocusedRow;

// E'' = 2 at Vb 1 and -2 at Vb 2: one result at 1.5 between (1, 2) and (2, -2).
const apptest::Points kOneResult = {{0, 0}, {1, 0}, {2, 2}, {3, 2}};
// E'' = 1, -1, -1, 1 at Vb 1 .. 4: results at 1.5 and 3.5.
const apptest::Points kTwoResults = {{0, 0}, {1, 1}, {2, 3}, {3, 4}, {4, 4}, {5, 5}};

void SelectRow(HWND list, int row) {
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

bool HasComma(const std::vector<std::string>& cells) {
    for (const auto& c : cells)
        if (c.find(',') != std::string::npos) return true;
    return false;
}

// ---- Options -------------------------------------------------------------------------

class Options : public AppTest {};

TEST_F(Options, ShowsTheSettingsAndStornoChangesNothingAndDoesNotRefill) {
    Load(kTwoResults);
    // A refill would drop the focus from the selected point.
    SelectListItem(1);
    testui::ModalScript ui;
    ui.call([](HWND dlg) {
        EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_USE_COMMA, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(testui::ItemText(dlg, IDC_VB_PRECIS), "3");
        EXPECT_EQ(testui::ItemText(dlg, IDC_E_PRECIS), "4");
        EXPECT_EQ(testui::ItemText(dlg, IDC_GRAPH_PRECIS), std::to_string(graph_precis));
        SendDlgItemMessageA(dlg, IDC_USE_COMMA, BM_SETCHECK, BST_UNCHECKED, 0);
        testui::SetText(dlg, IDC_VB_PRECIS, "1");
        testui::SetText(dlg, IDC_RES_PRECIS, "0");
        testui::Press(dlg, IDCANCEL);
    });
    OnCommand(IDM_OPTIONS, 0);
    ASSERT_EQ(ui.seen().size(), 1u);
    EXPECT_EQ(ui.seen()[0].caption, "Možnosti");
    EXPECT_TRUE(use_comma);
    EXPECT_EQ(vb_precis, 3);
    EXPECT_EQ(res_precis, 4);
    EXPECT_EQ(FocusedRow(hwndList), 2);
}

TEST_F(Options, UncheckingTheCommaReformatsBothListsAtOnce) {
    Load(kTwoResults);
    ASSERT_TRUE(HasComma(Column(hwndList, 1)));
    testui::ModalScript ui;
    ui.call([](HWND dlg) {
        SendDlgItemMessageA(dlg, IDC_USE_COMMA, BM_SETCHECK, BST_UNCHECKED, 0);
        testui::Press(dlg, IDOK);
    });
    ShowOptions();
    EXPECT_FALSE(use_comma);
    for (int column = 1; column <= 4; ++column) EXPECT_FALSE(HasComma(Column(hwndList, column))) << column;
    EXPECT_FALSE(HasComma(Column(hwndResults, 0)));
    EXPECT_EQ(Cell(hwndList, 2, 1), "1.000");
    EXPECT_EQ(Cell(hwndResults, 0, 0), "1.5000");
}

TEST_F(Options, PrecisionZeroShowsWholeNumbers) {
    Load(kTwoResults);
    testui::ModalScript ui;
    ui.call([](HWND dlg) {
        for (int id : {IDC_VB_PRECIS, IDC_E_PRECIS, IDC_DE_PRECIS, IDC_D2E_PRECIS, IDC_RES_PRECIS})
            testui::SetText(dlg, id, "0");
        testui::SetText(dlg, IDC_GRAPH_PRECIS, " 2x");  // trailing characters are ignored
        testui::Press(dlg, IDOK);
    });
    ShowOptions();
    EXPECT_EQ(vb_precis, 0);
    EXPECT_EQ(graph_precis, 2);
    EXPECT_EQ(Cell(hwndList, 4, 1), "2");
    EXPECT_EQ(Cell(hwndList, 4, 2), "3");
    EXPECT_EQ(Cell(hwndList, 3, 3), "2");
    EXPECT_EQ(Cell(hwndList, 4, 4), "-1");
    EXPECT_EQ(Cell(hwndResults, 1, 0), "4");  // 3.5 rounds to even or away: either way whole
}

TEST_F(Options, BadPrecisionIsReportedAndFocused) {
    Load(kTwoResults);
    const char* const bad[] = {"-1", "abc", ""};
    for (const char* text : bad) {
        testui::ModalScript ui;
        bool focused = false;
        ui.call([&](HWND dlg) {
            testui::SetText(dlg, IDC_VB_PRECIS, "2");  // valid, yet not stored either
            testui::SetText(dlg, IDC_D2E_PRECIS, text);
            testui::Press(dlg, IDOK);  // the message box comes and goes inside this call
            focused = GetFocus() == GetDlgItem(dlg, IDC_D2E_PRECIS);
            EXPECT_TRUE(IsWindow(dlg));
            testui::Press(dlg, IDCANCEL);
        });
        ui.press(IDOK);
        ShowOptions();
        ASSERT_EQ(ui.seen().size(), 2u) << text;
        EXPECT_EQ(ui.seen()[1].text, "Zadejte celé nezáporné číslo");
        EXPECT_EQ(ui.seen()[1].icon, static_cast<UINT>(MB_ICONERROR));
        EXPECT_TRUE(focused) << text;
        EXPECT_EQ(vb_precis, 3);
        EXPECT_EQ(d2e_precis, 4);
    }
}

TEST_F(Options, SelectionIsRestoredAfterOk) {
    Load(kTwoResults);
    SelectRow(hwndList, 4);
    SelectRow(hwndResults, 1);
    ASSERT_EQ(SelectedRow(hwndList), 4);
    ASSERT_EQ(SelectedRow(hwndResults), 1);
    testui::ModalScript ui;
    ui.press(IDOK);
    ShowOptions();
    EXPECT_EQ(SelectedRow(hwndList), 4);
    EXPECT_EQ(SelectedRow(hwndResults), 1);

    // Without a selected point none is selected afterwards.
    Load(kTwoResults);
    ASSERT_EQ(SelectedRow(hwndList), -1);
    ui.press(IDOK);
    ShowOptions();
    EXPECT_EQ(SelectedRow(hwndList), -1);
    EXPECT_EQ(SelectedRow(hwndResults), 0);
}

// ---- Details -------------------------------------------------------------------------

class Details : public AppTest {
protected:
    std::vector<std::string> Shown() {
        std::vector<std::string> texts;
        testui::ModalScript ui;
        ui.call([&](HWND dlg) {
            for (int id = IDC_DETAIL_VB; id <= IDC_DETAIL_Y2; ++id) texts.push_back(testui::ItemText(dlg, id));
            testui::Press(dlg, IDOK);
        });
        OnCommand(IDM_DETAILS, 0);
        EXPECT_EQ(ui.seen().size(), 1u);
        if (!ui.seen().empty()) {
            EXPECT_EQ(ui.seen()[0].caption, "Detaily");
        }
        return texts;
    }
};

TEST_F(Details, ShowTheSelectedResultAndItsBracketingPoints) {
    Load(kOneResult);
    ASSERT_EQ(arr_res.size(), 1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"1,5000", "1,0000", "2,0000", "2,0000", "-2,0000"}));
    use_comma = false;
    res_precis = 2;
    EXPECT_EQ(Shown(), (std::vector<std::string>{"1.50", "1.00", "2.00", "2.00", "-2.00"}));
    use_comma = true;
    res_precis = 4;
    arr_res[0]->key = ext_float(0.0, true);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"*", "1,0000", "2,0000", "2,0000", "-2,0000"}));

    Load(kTwoResults);
    SelectRow(hwndResults, 1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"3,5000", "3,0000", "-1,0000", "4,0000", "1,0000"}));

    // Without a selected result it only beeps.
    ListView_SetItemState(hwndResults, -1, 0, LVIS_SELECTED);
    testui::BeepCounter beeps;
    testui::ModalScript ui;
    ShowDetails();
    EXPECT_EQ(ui.seen().size(), 0u);
    EXPECT_EQ(beeps.exclamations(), 1);
}

// ---- HTML export ---------------------------------------------------------------------

class HtmlExportCommand : public AppTest {
protected:
    apptest::ScratchDir scratch;
};

TEST_F(HtmlExportCommand, EmptyDocumentWarnsAndOkWithoutAFileReportsTheWriteError) {
    testui::ModalScript ui;
    ui.press(IDOK);
    OnCommand(IDM_EXPORTHTML, 0);
    ASSERT_EQ(ui.seen().size(), 1u);
    EXPECT_EQ(ui.seen()[0].caption, "Export do HTML");
    EXPECT_EQ(ui.seen()[0].text, "Dokument je prázdný");
    EXPECT_EQ(ui.seen()[0].icon, static_cast<UINT>(MB_ICONWARNING));

    Load(kOneResult);
    ui.press(IDOK).press(IDOK);
    ExportHTML();
    ASSERT_EQ(ui.seen().size(), 3u);
    EXPECT_EQ(ui.seen()[2].text, "Chyba při zápisu do souboru.");
    EXPECT_EQ(ui.seen()[2].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_FALSE(dirty);
}

TEST_F(HtmlExportCommand, ProposesTheDocumentTitleAndBrowseChoosesTheFile) {
    Load(kTwoResults);
    std::strcpy(fname, (scratch.dir() + "\\měření.v2.tid").c_str());
    const std::string path = scratch.path("protokol.html");
    testui::ModalScript ui;
    ui.call([](HWND dlg) {
        EXPECT_EQ(testui::ItemText(dlg, IDC_HTML_TITLE), "měření.v2");
        EXPECT_EQ(testui::ItemText(dlg, IDC_HTML_FILE), "");
        HWND graph = GetDlgItem(dlg, IDC_HTML_GRAPH);
        EXPECT_FALSE(IsWindowVisible(graph));
        EXPECT_FALSE(IsWindowEnabled(graph));
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(dlg, IDC_HTML_FILE), GWL_STYLE) & ES_READONLY);
        testui::Press(dlg, IDC_HTML_BROWSE);  // the save picker opens and is answered inside
        testui::SetText(dlg, IDC_HTML_TITLE, "Titrace <č. 1> & spol.");
        testui::Press(dlg, IDOK);
    });
    ui.type(1148, path, IDOK);
    ExportHTML();
    ASSERT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.seen()[0].caption, "Export do HTML");
    EXPECT_EQ(ui.seen()[1].caption, "Exportovat HTML");
    const std::string page = apptest::ReadFile(path);
    EXPECT_NE(page.find("<TITLE>Titrace &lt;\xE8. 1&gt; & spol.</TITLE>\r\n"), std::string::npos) << page;
    EXPECT_NE(page.find("<H2>Nam\xEC\xF8" "en\xE9 hodnoty:</H2>"), std::string::npos);
    EXPECT_NE(page.find("<TR><TD>1,5000</TD></TR><TR><TD>3,5000</TD></TR></TABLE>\r\n"), std::string::npos);
    EXPECT_FALSE(dirty);  // the export changes nothing
}

// ---- Help ----------------------------------------------------------------------------

struct ShellRequest {
    std::string file;
    std::string dir;
    bool verb_null = false;
    bool owner_null = false;
    int show = -1;
    int calls = 0;
};
ShellRequest request;
UINT_PTR shell_result = 0;

HINSTANCE WINAPI FakeShell(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show) {
    ++request.calls;
    request.owner_null = owner == nullptr;
    request.verb_null = verb == nullptr && params == nullptr;
    request.file = file ? file : "";
    request.dir = dir ? dir : "";
    request.show = show;
    return reinterpret_cast<HINSTANCE>(shell_result);
}

std::string ExeFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    *(std::strrchr(path, '\\') + 1) = '\0';
    return path;
}

class Help : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        request = ShellRequest();
        help_shell_execute = FakeShell;
    }
    void TearDown() override {
        help_shell_execute = ShellExecuteA;
        AppTest::TearDown();
    }
    // Runs ShowHelp with the shell answering `result`; what was shown.
    testui::Seen Run(UINT_PTR result, int kind) {
        shell_result = result;
        testui::ModalScript ui;
        ui.press(IDOK);
        ShowHelp(kind);
        EXPECT_EQ(ui.seen().size(), 1u) << result;
        return ui.seen().empty() ? testui::Seen() : ui.seen()[0];
    }
};

TEST_F(Help, AsksTheShellForTheDocumentBesideTheProgram) {
    shell_result = 42;
    testui::ModalScript ui;
    OnCommand(IDM_HELP_PDF, 0);
    EXPECT_EQ(ui.seen().size(), 0u);  // success: nothing to show
    EXPECT_EQ(request.calls, 1);
    EXPECT_EQ(request.file, ExeFolder() + "titrion2.pdf");
    EXPECT_EQ(request.dir, ExeFolder());
    EXPECT_TRUE(request.verb_null);
    EXPECT_TRUE(request.owner_null);
    EXPECT_EQ(request.show, SW_SHOW);
    OnCommand(IDM_HELP_RTF, 0);
    EXPECT_EQ(request.file, ExeFolder() + "titrion2.rtf");
    ShowHelp(7);
    EXPECT_EQ(request.file, ExeFolder() + "titrion2.rtf");
}

TEST_F(Help, EveryShellFailureHasItsMessage) {
    const struct {
        UINT_PTR result;
        const char* reason;
    } rows[] = {
        {0, "Nedostatek paměti/systémových prostředků"},
        {2, "Soubor nápovědy nenalezen"},
        {3, "Soubor nápovědy nenalezen"},
        {11, "Chyba v prohlížeči PDF dokumentů, přeinstalujte jej"},
        {26, "Narušení sdílení"},
        {27, "asociace soubaru je špatná"},
        {28, "DDE transakce neprovedena, protože vypršel čas"},
        {29, "DDE transakce sa nezdařila"},
        {30, "DDE transakce neprovedena, protože byly prováděny jiné DDE transakce"},
        {1, "Neznámá\xC2\xA0" "chyba #00000001"},
        {5, "Neznámá\xC2\xA0" "chyba #00000005"},
        {12, "Neznámá\xC2\xA0" "chyba #0000000c"},
        {32, "Neznámá\xC2\xA0" "chyba #00000020"},
    };
    for (const auto& row : rows) {
        for (int kind : {1, 2}) {
            const testui::Seen seen = Run(row.result, kind);
            EXPECT_EQ(seen.caption, "Chyba") << row.result;
            EXPECT_EQ(seen.text, std::string("Chyba při otevírání souboru nápovědy (") + row.reason + ")");
            EXPECT_EQ(seen.icon, static_cast<UINT>(MB_ICONERROR));
        }
    }
}

TEST_F(Help, NoViewerOpensTheHelpErrorBoxForThePdfAndAMessageForTheRtf) {
    shell_result = SE_ERR_NOASSOC;
    {
        testui::ModalScript ui;
        std::string link_class;
        ui.call([&](HWND dlg) {
            char cls[64] = "";
            GetClassNameA(GetDlgItem(dlg, IDC_LINK), cls, sizeof cls);
            link_class = cls;
            EXPECT_TRUE(GetWindowLongA(GetDlgItem(dlg, IDC_LINK), GWL_STYLE) & WS_TABSTOP);
            PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);  // Esc closes it as OK does
        });
        ShowHelp(1);
        ASSERT_EQ(ui.seen().size(), 1u);
        EXPECT_EQ(ui.seen()[0].caption, "Chyba při otevírání nápovědy");
        EXPECT_NE(ui.seen()[0].text.find("Na vašem počítači však není nainstalován žádný prohlížeč"), std::string::npos);
        EXPECT_EQ(link_class, "VexHyperLink");
    }

    const testui::Seen seen = Run(SE_ERR_NOASSOC, 2);
    EXPECT_EQ(seen.text, "Není nainstalován žádný prohlížeč dokumentů RTF.");
    EXPECT_EQ(seen.icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_NE(seen.caption, "Chyba při otevírání nápovědy");
}

}  // namespace
