// The Options, Details, HTML export, help and about commands inside the test process.
#include <cstring>

#include "app/Titrionika_dialogs.h"
#include "app/about.h"
#include "core/calc.h"
#include "resources/resource.h"
#include "tests/app/app_test.h"
#include "tests/support/testui.h"

#include <shellapi.h>

namespace apptest {
namespace {

using namespace scenario;
using Dialogs = AppTest;

// E'' = 1, -1, -1, 1 at Vb 1 .. 4: results at 1.5 (between (1, 1) and (2, -1)) and 3.5.
const Points kTwoResults = {{0, 0}, {1, 1}, {2, 3}, {3, 4}, {4, 4}, {5, 5}};

TEST_F(Dialogs, OptionsShowTheSettingsAndOkReformatsBothListsKeepingTheSelection) {
    Load(kTwoResults);
    SelectListItem(2);
    ListView_SetItemState(hwndResults, 1, LVIS_SELECTED, LVIS_SELECTED);
    const Fields shown = {{IDC_USE_COMMA, "1"}, {IDC_VB_PRECIS, "3"}, {IDC_E_PRECIS, "4"}, {IDC_DE_PRECIS, "4"},
                          {IDC_D2E_PRECIS, "4"}, {IDC_RES_PRECIS, "4"}, {IDC_GRAPH_PRECIS, "4"}};
    const Fields changed = {{IDC_USE_COMMA, "0"}, {IDC_VB_PRECIS, "0"}, {IDC_E_PRECIS, "1"}, {IDC_DE_PRECIS, "2"},
                            {IDC_D2E_PRECIS, "0"}, {IDC_RES_PRECIS, "1"}, {IDC_GRAPH_PRECIS, " 2x"}};
    auto bad = [&](const char* text) {  // reported, focused, and nothing is stored
        return Step{IDM_OPTIONS, {}, {{"Možnosti", IDOK, {{IDC_VB_PRECIS, "2"}, {IDC_D2E_PRECIS, text}}},
                                      {"", IDOK, {}, "Zadejte celé nezáporné číslo"}, {"Možnosti", IDCANCEL, {}, nullptr, {}, IDC_D2E_PRECIS}}};
    };
    Play(*this, {{IDM_OPTIONS, {}, {{"Možnosti", IDCANCEL, changed, nullptr, shown}}, 11, 4}, bad("-1"), bad("abc"), bad(""),
                 {IDM_OPTIONS, {}, {{"Možnosti", IDOK, changed, nullptr, shown}}, 11, 4}});
    EXPECT_EQ(graph_precis, 2);
    EXPECT_EQ(Line(hwndList, 4) + "/" + Line(hwndList, 5) + "/" + Cell(hwndResults, 0, 0), "3|2|3.0||-1/|||1.00|/1.5");
    EXPECT_EQ(SelectedRow(hwndResults), 1);
    Load(kTwoResults);  // without a selected point none is selected afterwards
    Play(*this, {{IDM_OPTIONS, {}, {{"Možnosti", IDOK}}, 11, -1}});
    EXPECT_EQ(SelectedRow(hwndResults), 0);
}

TEST_F(Dialogs, DetailsShowTheSelectedResultAndItsBracketingPoints) {
    auto details = [](Fields shows) { return Step{IDM_DETAILS, {}, {{"Detaily", IDOK, {}, nullptr, shows}}}; };
    Load(kTwoResults);
    Play(*this, {details({{IDC_DETAIL_VB, "1,5000"}, {IDC_DETAIL_X1, "1,0000"}, {IDC_DETAIL_Y1, "1,0000"},
                          {IDC_DETAIL_X2, "2,0000"}, {IDC_DETAIL_Y2, "-1,0000"}})});
    ListView_SetItemState(hwndResults, 1, LVIS_SELECTED, LVIS_SELECTED);
    use_comma = false;
    res_precis = 2;
    arr_res[1]->key = ext_float(0.0, true);
    Play(*this, {details({{IDC_DETAIL_VB, "*"}, {IDC_DETAIL_X1, "3.00"}, {IDC_DETAIL_Y1, "-1.00"},
                          {IDC_DETAIL_X2, "4.00"}, {IDC_DETAIL_Y2, "1.00"}})});
    testui::ModalScript ui;  // a double click on a result opens them too
    ui.press(IDOK);
    Click(hwndResults, WM_LBUTTONDBLCLK, 0);
    EXPECT_EQ(ui.seen().size(), 1u);
}

TEST_F(Dialogs, HtmlExportProposesTheTitleAndWritesTheChosenFile) {
    ScratchDir dir;
    Play(*this, {{IDM_EXPORTHTML, {}, {{"Export do HTML", IDOK, {}, "Dokument je prázdný"}}}});
    Load(kTwoResults);
    std::strcpy(fname, dir.path("měření.v2.tid").c_str());
    const std::string path = dir.path("protokol.html");
    Play(*this, {{IDM_EXPORTHTML, {}, {{"Export do HTML", IDOK}, {"", IDOK, {}, "Chyba při zápisu do souboru."}}},
                 {IDM_EXPORTHTML, {}, {{"Export do HTML", IDC_HTML_BROWSE, {}, nullptr, {{IDC_HTML_TITLE, "měření.v2"}, {IDC_HTML_FILE, ""}}},
                                      {"Exportovat HTML", IDOK, {{driver::FILE_NAME_FIELD, path}}},
                                      {"Export do HTML", IDOK, {{IDC_HTML_TITLE, "Titrace <č. 1> & spol."}}, nullptr, {{IDC_HTML_FILE, path}}}}}});
    const std::string page = ReadFile(path);
    EXPECT_NE(page.find("<TITLE>Titrace &lt;\xE8. 1&gt; & spol.</TITLE>\r\n"), std::string::npos) << page;
    EXPECT_NE(page.find("<TR><TD>1,5000</TD></TR><TR><TD>3,5000</TD></TR></TABLE>\r\n"), std::string::npos);
    EXPECT_FALSE(dirty);
}

std::string request;  // what the shell was asked for
UINT_PTR shell_result = 0;

HINSTANCE WINAPI FakeShell(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show) {
    request += std::string(file) + "|" + dir + (!owner && !verb && !params && show == SW_SHOW ? "|" : "?");
    return reinterpret_cast<HINSTANCE>(shell_result);
}

TEST_F(Dialogs, HelpOpensTheManualBesideTheProgramAndTellsEveryFailure) {
    help_shell_execute = FakeShell;
    shell_result = 42;
    Play(*this, {{0, {VK_F1}}, {IDM_HELP_RTF}});
    const std::string folder = driver::ExeDir() + "\\";
    EXPECT_EQ(request, folder + "titrion2.pdf|" + folder + "|" + folder + "titrion2.rtf|" + folder + "|");
    const std::pair<UINT_PTR, const char*> failures[] = {
        {0, "Nedostatek paměti/systémových prostředků"}, {3, "Soubor nápovědy nenalezen"}, {11, "Chyba v prohlížeči PDF dokumentů, přeinstalujte jej"},
        {26, "Narušení sdílení"}, {27, "asociace soubaru je špatná"}, {28, "DDE transakce neprovedena, protože vypršel čas"},
        {29, "DDE transakce sa nezdařila"}, {30, "DDE transakce neprovedena, protože byly prováděny jiné DDE transakce"},
        {12, "Neznámá\xC2\xA0" "chyba #0000000c"}};
    for (auto [result, reason] : failures) {
        const std::string text = std::string("Chyba při otevírání souboru nápovědy (") + reason + ")";
        shell_result = result;
        Play(*this, {{IDM_HELP_PDF, {}, {{"Chyba", IDOK, {}, text.c_str()}}}, {IDM_HELP_RTF, {}, {{"Chyba", IDOK, {}, text.c_str()}}}});
    }
    // No viewer: a box that links to one for the PDF, a message for the RTF.
    shell_result = SE_ERR_NOASSOC;
    Play(*this, {{IDM_HELP_PDF, {}, {{"Chyba při otevírání nápovědy", IDCANCEL}}},
                 {IDM_HELP_RTF, {}, {{"", IDOK, {}, "Není nainstalován žádný prohlížeč dokumentů RTF."}}}});
    help_shell_execute = ShellExecuteA;
}

TEST_F(Dialogs, AboutBoxClosesWithOkOrEsc) {
    const Fields shows = {{IDC_ABOUT_TITLE, "Titrion 2.0"}, {IDC_LINK, TITRION_WEB_ADDRESS}};
    Play(*this, {{IDM_ABOUT, {}, {{"O aplikaci Titrion", IDOK, {}, nullptr, shows}}}, {IDM_ABOUT, {}, {{"O aplikaci", IDCANCEL}}}});
}

}  // namespace
}  // namespace apptest
