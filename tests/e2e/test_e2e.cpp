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
    // Only the toolbar can be asked from another process: its Upravit, Odstranit and Uložit. The
    // other commands are in the menu alone, and tests/app checks them.
    std::optional<bool> Enabled(UINT id) const override {
        if (id != IDM_EDIT && id != IDM_DELETE && id != IDM_SAVE) return std::nullopt;
        return SendDlgItemMessageA(main(), IDC_TOOLBAR, TB_ISBUTTONENABLED, id, 0) != 0;
    }
    void Act(const Step& s) override {
        if (s.command) Command(s.command);
        for (UINT k : s.keys) Key(list(), k & 0x10000 ? WM_CHAR : WM_KEYDOWN, k & 0xFFFF);
        for (const Reply& a : s.answers) {
            HWND dlg = WaitDialog(a.caption);
            ASSERT_TRUE(dlg) << a.caption;
            Respond(dlg, a);
            ASSERT_TRUE(Sync());  // the button is handled: a dialog it opens is there
        }
        if (s.ends) {
            EXPECT_EQ(WaitExit(), 0u) << "the program ends";
        } else {
            EXPECT_TRUE(Settle()) << "every key handled";
            EXPECT_EQ(Dialog(""), nullptr) << "a dialog left open: " << driver::Text(Dialog(""));
        }
    }
};
TEST(EndToEnd, EditingScenarioAndTheSavedFileOpenedAgain) {
    driver::ProgramCopy copy;
    const std::string file = copy.path("titrace.tid");
    {
        Titrion titrion(copy);
        ASSERT_TRUE(copy.copied()) << "titrion3.exe was not copied";
        ASSERT_TRUE(titrion.Start()) << "titrion3.exe did not start";
        EXPECT_EQ(driver::Text(titrion.main()), "Titrion - Bez jména 1.tid");
        Play(titrion, Editing(file));
    }
    EXPECT_EQ(driver::ReadFile(file), kEdited);
    Titrion again(copy);
    ASSERT_TRUE(again.Start());
    Play(again, {Command(IDM_OPEN)
                     .Answer(File("Otevřít soubor", file))
                     .Rows(5)
                     .Selected(0)
                     .Results(0)
                     .Title("titrace.tid")
                     .Enabled({IDM_EDIT, IDM_DELETE, IDM_SAVE}),
                 Command(IDM_COPY).Rows(5).Selected(0).Clipboard("1.500000\t-120.000000"),
                 Press(VK_END, VK_UP).Rows(5).Selected(2), Press(VK_UP, VK_UP, CH('3')).Rows(5).Selected(4),
                 Press(VK_ESCAPE).ExpectEnds()});
}
TEST(EndToEnd, OptionsDetailsReportAndHelp) {
    driver::ProgramCopy copy;
    const std::string report = copy.path("protokol.html"), table = copy.path("tabulka.csv");
    const std::string sample = driver::ExeDir() + "\\examples\\uhlicitan-hcl.tid";
    Titrion p(copy);
    ASSERT_TRUE(p.Start());
    // The carbonate sample: of its four sign changes of E'' only the two steepest inflections remain.
    Play(p,
         {Command(IDM_OPEN).Answer(File("Otevřít soubor", sample)).Rows(93).Selected(0).Results(4),
          Command(IDM_OPTIONS)
              .Answer(Ok("Možnosti", {{IDC_USE_COMMA, "0"}, {IDC_VB_PRECIS, "1"}, {IDC_RECOGNIZE_STEEPEST, "1"}})
                          .Shows({{IDC_VB_PRECIS, "3"}, {IDC_RECOGNIZE_ALL, "1"}}))
              .Rows(93)
              .Selected(0)
              .Results(2),
          Command(IDM_DETAILS)
              .Answer(
                  Ok("Detaily").Shows({{IDC_DETAIL_VB, "10.0000"}, {IDC_DETAIL_STEEPNESS, "113.5000 mV.ml-1 (54 %)"}})),
          Command(IDM_EXPORTHTML)
              .Answer(Button("Export do HTML", IDC_HTML_BROWSE).Shows({{IDC_HTML_TITLE, "uhlicitan-hcl"}}),
                      File("Exportovat HTML", report), Ok("Export do HTML", {{IDC_HTML_TITLE, "Titrace č. 1"}})),
          Command(IDM_EXPORTCSV).Answer(File("Exportovat CSV", table)),
          Press(VK_F1).Answer(Ok("Chyba").Says("Chyba při otevírání souboru nápovědy (Soubor nápovědy nenalezen)"))});
    // The graph window's view keys: the last view chosen is kept.
    p.Command(IDM_GRAPH);
    HWND graph = p.WaitGraph();
    ASSERT_TRUE(graph);
    p.Key(graph, WM_CHAR, '1'), p.Key(graph, WM_CHAR, '2'), PostMessageA(graph, WM_CLOSE, 0, 0);
    EXPECT_TRUE(p.WaitGone(graph));
    Play(p, {Command(IDCANCEL).ExpectEnds()});
    const std::string page = driver::ReadFile(report), ini = driver::ReadFile(copy.path("titrion2.ini"));
    // With use_comma off: a point and ','; E' of the first point to the next with every digit, no E''.
    const std::string csv = driver::ReadFile(table);
    EXPECT_EQ(csv.substr(0, 81),
              "\xEF\xBB\xBFn,Vb/ml,E/mV,E'/mV.ml-1,E''/mV.ml-2\r\n1,0,-265.4,20.399999999999977,\r\n2,1,-245,")
        << csv;
    EXPECT_NE(page.find("<H1>Titrace \xE8. 1</H1>\r\n"), std::string::npos) << page;
    EXPECT_NE(page.find("<TR><TD>2</TD><TD>1.0</TD><TD>-245.0000</TD><TD></TD><TD>-4.5000</TD></TR>\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("<TR><TD>10.0000</TD></TR><TR><TD>19.9967</TD></TR></TABLE>\r\n<P>Rozpozn\xE1ny jen"),
              std::string::npos);
    for (const char* line :
         {"use_comma=0", "vb_precis=1", "recognition=1", "min_steepness=10", "graph_show_scale=1", "graph_view=1"})
        EXPECT_NE(ini.find(line), std::string::npos) << ini;
}
TEST(EndToEnd, ImportOfASpreadsheetFileAndOfATableCopiedThroughTheClipboard) {
    driver::ProgramCopy copy;
    // A spreadsheet's CSV: UTF-8 with BOM, ',' between columns, a decimal point, a quoted header, an empty row.
    std::ofstream(copy.path("tabulka.csv"), std::ios::binary)
        << "\xEF\xBB\xBF\"Vb (ml)\",\"E (mV)\"\r\n0.5,-120\r\n1.25,-100.5\r\n,\r\n2,80\r\n";
    Titrion p(copy);
    ASSERT_TRUE(p.Start());
    const Fields file_shows = {
        {IDC_IMPORT_VOLUME, "1: Vb (ml)"}, {IDC_IMPORT_COUNT, "Bodů k importu: 3"}, {IDC_IMPORT_BAD, "4"}};
    Play(p, {Command(IDM_IMPORT)
                 .Answer(File("Importovat soubor", copy.path("tabulka.csv")), Ok("Import bodů").Shows(file_shows))
                 .Rows(5)
                 .Selected(0)
                 .Title("Bez jména 2.tid *")});
    EXPECT_EQ(driver::Text(GetDlgItem(p.main(), IDC_STATUS)), "Importováno bodů: 3, vynechaných nečitelných řádků: 1");
    // A TAB copy from a spreadsheet opens the import too, after the question about the unsaved import.
    const Fields paste_shows = {
        {IDC_IMPORT_FORMAT, "Kódování: UTF-16 LE, oddělovač sloupců: tabulátor, desetinná čárka"},
        {IDC_IMPORT_COUNT, "Bodů k importu: 2"}};
    Play(p, {Paste("Objem\tPotenciál\r\n0,5\t-120\r\n1\t-100,5\r\n")
                 .Answer(No("Potvrďte"), Ok("Import bodů").Shows(paste_shows))
                 .Rows(3)
                 .Selected(0)
                 .Title("Bez jména 3.tid *"),
             Command(IDM_SAVE).Answer(File("Uložit soubor", copy.path("vlozeno.tid"))).Rows(3),
             Command(IDCANCEL).ExpectEnds()});
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
    HWND picker = p.WaitDialog("Otevřít soubor"),
         field = picker ? GetDlgItem(picker, driver::FILE_NAME_FIELD) : nullptr;
    ASSERT_TRUE(field);
    if (HWND edit = FindWindowExA(field, nullptr, "Edit", nullptr)) field = edit;
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((driver::ExeDir() + "\\examples").c_str()));
    driver::Program::Press(picker, IDOK);
    ASSERT_TRUE(p.Sync());
    ASSERT_TRUE(p.ChooseFile(
        "Otevřít soubor",
        "\"chloridy-agno3-1.tid\" \"chloridy-agno3-2.tid\" \"chloridy-agno3-3.tid\" \"chloridy-agno3-4.tid\""));
    EXPECT_EQ(
        driver::Text(GetDlgItem(series, IDC_SERIES_STATS)).rfind("n = 4    průměr = 709,0 mg/l    s = 1,70 mg/l", 0),
        0u)
        << driver::Text(GetDlgItem(series, IDC_SERIES_STATS));
    driver::Program::Press(series, IDCANCEL);
    EXPECT_TRUE(p.WaitGone(series));
    Play(p, {Command(IDCANCEL).ExpectEnds()});
}
namespace {
// The text of a row of the program's result list, read through memory of its process.
std::string ResultRowText(const driver::Program& p, int row) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, p.process_id());
    char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    LVITEMA item = {};
    item.cchTextMax = 256;
    item.pszText = remote + sizeof item;
    char text[257] = "<not read>";
    if (remote && WriteProcessMemory(process, remote, &item, sizeof item, nullptr)) {
        SendDlgItemMessageA(p.main(), IDC_RESULTS, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote + sizeof item, text, 256, nullptr);
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return text;
}
}  // namespace
// An instrument's pH export: the import makes a pH document, and the determination's set values
// get their rows. By hand: pH 7 is the point at 5 ml, pH 3,5 lies halfway from 3 ml (3,0) to
// 4 ml (4,0), pH 13 beyond the last point.
TEST(EndToEnd, PhExportImportedShowsTheSetValueEndPoints) {
    driver::ProgramCopy copy;
    std::ofstream(copy.path("ph.txt"), std::ios::binary)
        << "Objem "
           "[ml]\tpH\r\n0\t2.0\r\n1\t2.2\r\n2\t2.5\r\n3\t3.0\r\n4\t4.0\r\n5\t7.0\r\n6\t10.0\r\n7\t11.0\r\n8\t11.5\r\n";
    Titrion p(copy);
    ASSERT_TRUE(p.Start());
    Play(p,
         {Command(IDM_IMPORT).Answer(File("Importovat soubor", copy.path("ph.txt")), Ok("Import bodů")).Rows(17),
          Command(IDM_DETERMINATION)
              .Answer(
                  Ok("Stanovení",
                     {{IDC_DET_C, "0,1"}, {IDC_DET_M, "1"}, {IDC_DET_SAMPLE, "10"}, {IDC_DET_SET_VALUES, "3,5; 7; 13"}})
                      .Shows({{IDC_DET_PH, "1"}, {IDC_DET_MV, "0"}}))});
    const int rows = int(SendDlgItemMessageA(p.main(), IDC_RESULTS, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(ResultRowText(p, rows - 3) + "|" + ResultRowText(p, rows - 2) + "|" + ResultRowText(p, rows - 1),
              "pH 3,5: 3,5000|pH 7: 5,0000|pH 13: nedosaženo");
}
