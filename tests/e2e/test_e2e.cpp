// The real titrion3.exe, started from a scratch folder with its vexplot3.dll and driven from
// this process through the tables of scenario.h; the files it writes are checked afterwards.
#include <gtest/gtest.h>
#include <fstream>
#include "tests/e2e/driver.h"
#include "tests/e2e/scenario.h"
namespace {
using namespace scenario;
struct Titrion : driver::Program, Ui {
    explicit Titrion(const driver::ProgramCopy& copy) : Program(copy.exe()) {}
    HWND main() const override { return Program::main(); }
    int Enabled(UINT id) const override {  // only the toolbar can be asked from another process
        return id != IDM_EDIT && id != IDM_DELETE && id != IDM_SAVE ? -1 : SendDlgItemMessageA(main(), IDC_TOOLBAR, TB_ISBUTTONENABLED, id, 0) != 0;
    }
    void Act(const Step& s) override {
        if (s.command) Command(s.command);
        for (UINT k : s.keys) Key(list(), k & 0x10000 ? WM_CHAR : WM_KEYDOWN, k & 0xFFFF);
        for (const Answer& a : s.answers) {
            HWND dlg = WaitDialog(a.caption);
            ASSERT_TRUE(dlg) << a.caption;
            Reply(dlg, a);
            ASSERT_TRUE(Sync());  // the button is handled: a dialog it opens is there
        }
        EXPECT_TRUE(s.ends ? WaitExit() == 0 : Settle() && !Dialog(""));  // every key handled, no dialog left
    }
};
TEST(EndToEnd, EditingScenarioAndTheSavedFileOpenedAgain) {
    driver::ProgramCopy copy;
    const std::string file = copy.path("titrace.tid");
    {
        Titrion titrion(copy);
        ASSERT_TRUE(copy.copied() && titrion.Start()) << "titrion3.exe did not start";
        EXPECT_EQ(driver::Text(titrion.main()), "Titrion - Bez jména 1.tid");
        Play(titrion, Editing(file));
    }
    EXPECT_EQ(driver::ReadFile(file), kEdited);
    Titrion again(copy);
    ASSERT_TRUE(again.Start());
    Play(again, {{IDM_OPEN, {}, {{"Otevřít soubor", IDOK, {{driver::FILE_NAME_FIELD, file}}}}, 5, 0, 0, "EDS", nullptr, "titrace.tid"},
                 {IDM_COPY, {}, {}, 5, 0, -1, nullptr, "1.500000\t-120.000000"},
                 {0, {VK_END, VK_UP}, {}, 5, 2}, {0, {VK_UP, VK_UP, CH('3')}, {}, 5, 4},
                 {0, {VK_ESCAPE}, {}, -1, -2, -1, nullptr, nullptr, nullptr, nullptr, true}});
}
TEST(EndToEnd, OptionsDetailsReportAndHelp) {
    driver::ProgramCopy copy;
    const std::string report = copy.path("protokol.html"), table = copy.path("tabulka.csv"), sample = driver::ExeDir() + "\\examples\\uhlicitan-hcl.tid";
    Titrion p(copy);
    ASSERT_TRUE(p.Start());
    // The carbonate sample: of its four sign changes of E'' only the two steepest inflections remain.
    Play(p, {{IDM_OPEN, {}, {{"Otevřít soubor", IDOK, {{driver::FILE_NAME_FIELD, sample}}}}, 93, 0, 4},
             {IDM_OPTIONS, {}, {{"Možnosti", IDOK, {{IDC_USE_COMMA, "0"}, {IDC_VB_PRECIS, "1"}, {IDC_RECOGNIZE_STEEPEST, "1"}}, nullptr,
                                 {{IDC_VB_PRECIS, "3"}, {IDC_RECOGNIZE_ALL, "1"}}}}, 93, 0, 2},
             {IDM_DETAILS, {}, {{"Detaily", IDOK, {}, nullptr, {{IDC_DETAIL_VB, "10.0000"}, {IDC_DETAIL_STEEPNESS, "113.5000 mV.ml-1 (54 %)"}}}}},
             {IDM_EXPORTHTML, {}, {{"Export do HTML", IDC_HTML_BROWSE, {}, nullptr, {{IDC_HTML_TITLE, "uhlicitan-hcl"}}},
                                   {"Exportovat HTML", IDOK, {{driver::FILE_NAME_FIELD, report}}},
                                   {"Export do HTML", IDOK, {{IDC_HTML_TITLE, "Titrace č. 1"}}}}},
             {IDM_EXPORTCSV, {}, {{"Exportovat CSV", IDOK, {{driver::FILE_NAME_FIELD, table}}}}},
             {0, {VK_F1}, {{"Chyba", IDOK, {}, "Chyba při otevírání souboru nápovědy (Soubor nápovědy nenalezen)"}}}});
    // The graph window's view keys: the last view chosen is kept.
    p.Command(IDM_GRAPH);
    HWND graph = p.WaitGraph();
    ASSERT_TRUE(graph);
    p.Key(graph, WM_CHAR, '1'), p.Key(graph, WM_CHAR, '2'), PostMessageA(graph, WM_CLOSE, 0, 0);
    EXPECT_TRUE(p.WaitGone(graph));
    Play(p, {{IDCANCEL, {}, {}, -1, -2, -1, nullptr, nullptr, nullptr, nullptr, true}});
    const std::string page = driver::ReadFile(report), ini = driver::ReadFile(copy.path("titrion2.ini"));
    // With use_comma off: a point and ','; E' of the first point to the next with every digit, no E''.
    const std::string csv = driver::ReadFile(table);
    EXPECT_EQ(csv.substr(0, 81), "\xEF\xBB\xBFn,Vb/ml,E/mV,E'/mV.ml-1,E''/mV.ml-2\r\n1,0,-265.4,20.399999999999977,\r\n2,1,-245,") << csv;
    EXPECT_NE(page.find("<H1>Titrace \xE8. 1</H1>\r\n"), std::string::npos) << page;
    EXPECT_NE(page.find("<TR><TD>2</TD><TD>1.0</TD><TD>-245.0000</TD><TD></TD><TD>-4.5000</TD></TR>\r\n"), std::string::npos);
    EXPECT_NE(page.find("<TR><TD>10.0000</TD></TR><TR><TD>19.9967</TD></TR></TABLE>\r\n<P>Rozpozn\xE1ny jen inflexe s nejstrm\xECj\x9A\xEDm "
                        "pr\xF9" "b\xEChem (minim\xE1ln\xED strmost 10 % nejv\xECt\x9A\xED).</P>\r\n"), std::string::npos);
    for (const char* line : {"use_comma=0", "vb_precis=1", "recognition=1", "min_steepness=10", "graph_show_scale=1", "graph_view=1"})
        EXPECT_NE(ini.find(line), std::string::npos) << ini;
}
TEST(EndToEnd, ImportOfASpreadsheetFileAndOfATableCopiedThroughTheClipboard) {
    driver::ProgramCopy copy;
    // A spreadsheet's CSV: UTF-8 with BOM, ',' between columns, a decimal point, a quoted header, an empty row.
    std::ofstream(copy.path("tabulka.csv"), std::ios::binary) << "\xEF\xBB\xBF\"Vb (ml)\",\"E (mV)\"\r\n0.5,-120\r\n1.25,-100.5\r\n,\r\n2,80\r\n";
    Titrion p(copy);
    ASSERT_TRUE(p.Start());
    const Fields file_shows = {{IDC_IMPORT_VOLUME, "1: Vb (ml)"}, {IDC_IMPORT_COUNT, "Bodů k importu: 3"}, {IDC_IMPORT_BAD, "4"}};
    Play(p, {{IDM_IMPORT, {}, {{"Importovat soubor", IDOK, {{driver::FILE_NAME_FIELD, copy.path("tabulka.csv")}}}, {"Import bodů", IDOK, {}, nullptr, file_shows}},
              5, 0, -1, nullptr, nullptr, "Bez jména 2.tid"}});
    EXPECT_EQ(driver::Text(GetDlgItem(p.main(), IDC_STATUS)), "Importováno bodů: 3, vynechaných nečitelných řádků: 1");
    // A TAB copy from a spreadsheet opens the import too, after the question about the unsaved import.
    const Fields paste_shows = {{IDC_IMPORT_FORMAT, "Kódování: UTF-16 LE, oddělovač sloupců: tabulátor, desetinná čárka"}, {IDC_IMPORT_COUNT, "Bodů k importu: 2"}};
    Play(p, {{IDM_PASTE, {}, {{"Potvrďte", IDNO}, {"Import bodů", IDOK, {}, nullptr, paste_shows}}, 3, 0, -1, nullptr, nullptr, "Bez jména 3.tid",
              "Objem\tPotenciál\r\n0,5\t-120\r\n1\t-100,5\r\n"},
             {IDM_SAVE, {}, {{"Uložit soubor", IDOK, {{driver::FILE_NAME_FIELD, copy.path("vlozeno.tid")}}}}, 3},
             {IDCANCEL, {}, {}, -1, -2, -1, nullptr, nullptr, nullptr, nullptr, true}});
    EXPECT_EQ(driver::ReadFile(copy.path("vlozeno.tid")), "# Titrionika 2.0\r\n\r\n0.5\t-120\r\n1\t-100.5\r\n");
}
}  // namespace
// The series window of the real program: four replicates chosen at once in the file picker.
// The sample generator's own evaluation gives 707,2, 710,0, 710,9 and 708,0 mg/l: mean 709,0, s 1,70.
TEST(EndToEnd, SeriesWindowOpensAReplicateSeries) {
    driver::ProgramCopy copy;
    Titrion p(copy);
    ASSERT_TRUE(p.Start());
    p.Command(IDM_SERIES);
    HWND series = p.WaitDialog("Série stanovení");
    ASSERT_TRUE(series);
    driver::Program::Press(series, IDC_SERIES_ADD);
    // The folder first, then its four files quoted in the name field.
    HWND picker = p.WaitDialog("Otevřít soubor"), field = picker ? GetDlgItem(picker, driver::FILE_NAME_FIELD) : nullptr;
    ASSERT_TRUE(field);
    if (HWND edit = FindWindowExA(field, nullptr, "Edit", nullptr)) field = edit;
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((driver::ExeDir() + "\\examples").c_str()));
    driver::Program::Press(picker, IDOK);
    ASSERT_TRUE(p.Sync());
    ASSERT_TRUE(p.ChooseFile("Otevřít soubor", "\"chloridy-agno3-1.tid\" \"chloridy-agno3-2.tid\" \"chloridy-agno3-3.tid\" \"chloridy-agno3-4.tid\""));
    EXPECT_EQ(driver::Text(GetDlgItem(series, IDC_SERIES_STATS)).rfind("n = 4    průměr = 709,0 mg/l    s = 1,70 mg/l", 0), 0u)
        << driver::Text(GetDlgItem(series, IDC_SERIES_STATS));
    driver::Program::Press(series, IDCANCEL);
    EXPECT_TRUE(p.WaitGone(series));
    Play(p, {{IDCANCEL, {}, {}, -1, -2, -1, nullptr, nullptr, nullptr, nullptr, true}});
}
