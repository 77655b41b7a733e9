// The main window and its dialogs in the test process: the tables of tests/e2e/scenario.h and
// what only this process sees (every cell, the menus, the document, system functions standing in).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include "app/Titrionika_dialogs.h"
#include "core/calc.h"
#include "resources/resource.h"
#include "tests/app/app_test.h"
#include "tests/support/testui.h"
#include <shellapi.h>
namespace apptest {
namespace {
using namespace scenario;
using MainWindow = AppTest;
Fields Point(const char* vb, const char* e) { return {{IDC_VB, vb}, {IDC_E, e}}; }
const std::vector<UINT> kAllCommands = {IDM_EDIT, IDM_DELETE,     IDM_COPY,      IDM_CUT,    IDM_GRAPH,
                                        IDM_SAVE, IDM_EXPORTHTML, IDM_DELETEALL, IDM_DETAILS};
TEST_F(MainWindow, EditingScenario) {
    ScratchDir dir;
    Play(*this, Editing(dir.path("titrace.tid")));
    EXPECT_EQ(ReadFile(dir.path("titrace.tid")), kEdited);
}
TEST_F(MainWindow, StartsEmptyWithItsToolbarAndLayout) {
    EXPECT_EQ(driver::Text(main_window.dialog), std::string("Titrion - ") + document.file_name);
    // The command and label of every button; 0 is a separator.
    // clang-format off
    const std::pair<int, std::string> buttons[] = {
        {IDM_NEW, "Nový"},          {0, ""},          {IDM_OPEN, "Otevřít..."},   {IDM_SAVE, "Uložit"}, {0, ""},
        {IDM_ADD, "Přidat..."},     {IDM_EDIT, "Upravit"}, {IDM_DELETE, "Odstranit"}, {0, ""}, {IDM_ABOUT, "O aplikaci..."}};
    // clang-format on
    ASSERT_EQ(SendMessageA(main_window.toolbar, TB_BUTTONCOUNT, 0, 0), 10);
    for (int i = 0; i < 10; ++i) {
        TBBUTTON b = {};
        char text[64] = "";
        SendMessageA(main_window.toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        if (b.idCommand)
            SendMessageA(main_window.toolbar, TB_GETBUTTONTEXTA, b.idCommand, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::pair(b.idCommand, std::string(text)), buttons[i]) << "button " << i;
    }
    LOGFONTA font;
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(ListView_GetHeader(main_window.list), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(std::pair(font.lfHeight, font.lfWidth), std::pair(-31L, 0L));
    // The result list keeps 97 pixels at the right; the window does not shrink below 480 x 300.
    SetWindowPos(main_window.dialog, nullptr, 0, 0, 900, 500, SWP_NOZORDER | SWP_NOMOVE);
    RECT rc[5];
    HWND children[] = {main_window.dialog, main_window.list, main_window.results, main_window.toolbar,
                       main_window.status};
    for (int i = 0; i < 5; ++i)
        GetWindowRect(children[i], &rc[i]),
            MapWindowPoints(nullptr, main_window.dialog, reinterpret_cast<POINT*>(&rc[i]), 2);
    GetClientRect(main_window.dialog, &rc[0]);
    EXPECT_EQ(std::vector<LONG>(
                  {rc[1].left, rc[1].right, rc[1].top, rc[1].bottom, rc[2].left, rc[2].right, rc[2].top, rc[2].bottom}),
              std::vector<LONG>({0, rc[0].right - 100, rc[3].bottom - 2, rc[4].top + 1, rc[0].right - 97, rc[0].right,
                                 rc[1].top, rc[1].bottom}));
    SetWindowPos(main_window.dialog, nullptr, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOMOVE);
    GetWindowRect(main_window.dialog, &rc[0]);
    EXPECT_EQ(std::pair(rc[0].right - rc[0].left, rc[0].bottom - rc[0].top), std::pair(480L, 300L));
}
TEST_F(MainWindow, EveryWayOutAsksBeforeUnsavedPointsAreLost) {
    Load({{1, 100}, {2, 200}});
    document.changed = true;
    const std::string ask = "Mají se změny provedené v dokumentu " + document.file_name + " uložit?";
    const Reply cancel = Cancel("Potvrďte").Says(ask);
    Play(*this, {Command(IDM_EXIT)
                     .Answer(cancel)
                     .Rows(3)
                     .NoSelection()
                     .Enabled({IDM_SAVE, IDM_EXPORTHTML, IDM_DELETEALL})
                     .Disabled({IDM_EDIT, IDM_DELETE, IDM_COPY, IDM_CUT, IDM_GRAPH, IDM_DETAILS}),
                 Press(ALT('X')).Answer(cancel), Press(ALT(VK_F4)).Answer(cancel), Press(VK_ESCAPE).Answer(cancel),
                 Press(CH('p'), CH('P')).Answer(Cancel("Přidat..."), Cancel("Přidat...")).Rows(3),
                 Press(VK_HOME, VK_SPACE).Answer(Cancel("Upravit...").Shows({{IDC_VB, "1,000"}})).Rows(3).Selected(0),
                 Command(IDM_EXIT).Answer(Yes("Potvrďte"), Cancel("Uložit soubor")).Rows(3),  // Yes, then no name
                 Command(IDM_DELETEALL).Answer(No("Potvrďte").Says("Všechny položky budou vymazány.")).Rows(3),
                 Command(IDM_DELETEALL).Answer(Yes("Potvrďte")).Rows(0).NoSelection().Results(0).Disabled(kAllCommands),
                 Command(IDM_DELETEALL),           // empty: no question
                 Press(VK_ESCAPE).ExpectEnds()});  // changed, yet empty
}
std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string out = text;
    if (out.find('.') != std::string::npos) out[out.find('.')] = ',';
    return out;
}
// An instrument's curve with reading noise: every cell as the points give it, and the
// selection rules and edits far down the list.
TEST_F(MainWindow, TenThousandPoints) {
    const int n = 10000;
    Points p;
    for (unsigned i = 0, seed = 12345; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        p.emplace_back(0.005 * i, 300.0 * std::tanh(0.01 * i - 50.0) + static_cast<int>((seed >> 16) % 11 - 5) * 0.1);
    }
    Load(p);
    ASSERT_EQ(Rows(main_window.list), 2 * n - 1);
    auto slope = [&](int i) { return (p[i + 1].second - p[i].second) / (p[i + 1].first - p[i].first); };
    for (int i = 0; i < n; ++i) {
        const std::string d2e =
            i > 0 && i + 1 < n ? Fixed((slope(i) - slope(i - 1)) / ((p[i + 1].first - p[i - 1].first) / 2), 4) : "";
        ASSERT_EQ(Line(main_window.list, 2 * i),
                  std::to_string(i + 1) + "|" + Fixed(p[i].first, 3) + "|" + Fixed(p[i].second, 4) + "||" + d2e);
        if (i + 1 < n) {
            ASSERT_EQ(Line(main_window.list, 2 * i + 1), "|||" + Fixed(slope(i), 4) + "|") << i;
        }
    }
    ASSERT_GT(arr_res.size(), 100);
    ASSERT_EQ(Rows(main_window.results), arr_res.size());
    for (int k = 0; k < arr_res.size(); ++k) {
        ASSERT_EQ(Cell(main_window.results, k, 0), Fixed(arr_res[k]->key.value, 4));
    }
    // A click on an in-between row keeps the point.
    SelectListItem(main_window, 5000);
    ListView_EnsureVisible(main_window.list, 10001, FALSE);
    Click(main_window.list, WM_LBUTTONDOWN, 10001);
    Play(*this, {Look().Rows(2 * n - 1).Selected(10000)});
    EXPECT_EQ(ListView_GetNextItem(main_window.list, -1, LVNI_FOCUSED), 10000);
    // Deleting renumbers the points behind it; a pasted point is selected where it belongs.
    Play(*this,
         {Command(IDM_DELETE).Rows(2 * n - 3).Selected(10000), Paste("25.0021\t7").Rows(2 * n - 1).Selected(10000)});
    EXPECT_EQ(Line(main_window.list, 10000).substr(0, 18) + Cell(main_window.list, 10002, 0), "5001|25,002|7,00005002");
}
// A list that reports where a click on an in-between row was, with no button held, keeps the
// point; a selection without a position is the keyboard's and moves on to the next point.
TEST_F(MainWindow, InBetweenRowsAreSkippedByKeysAndKeptOffByClicks) {
    Load({{1, 10}, {2, 20}, {3, 30}});
    for (auto [at, selected] : {std::pair{POINT{0, 0}, 4}, {POINT{7, 0}, 2}, {POINT{0, 7}, 2}}) {
        SelectListItem(main_window, 1);  // row 2
        NMLISTVIEW nm = {{main_window.list, IDC_LIST, LVN_ITEMCHANGED}, 3, 0, LVIS_SELECTED, 0, LVIF_STATE, at, 0};
        SendMessageA(main_window.dialog, WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&nm));
        // Several rows may be selected: where the guard put the selection shows in the focus.
        EXPECT_EQ(ListView_GetNextItem(main_window.list, -1, LVNI_FOCUSED), selected) << at.x << "," << at.y;
    }
}
// Stand in for the file system refusing to put a saved file in place.
BOOL WINAPI RefuseMove(LPCSTR, LPCSTR, DWORD) { return SetLastError(ERROR_ACCESS_DENIED), FALSE; }
BOOL WINAPI RefuseReplace(LPCSTR, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID) {
    return SetLastError(ERROR_ACCESS_DENIED), FALSE;
}
std::string SystemText(DWORD code) {  // the system's reason, as a message gives it
    char text[512];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                             sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' ')) --n;
    return std::string(text, n);
}
TEST_F(MainWindow, DocumentsOpenAndSaveAndKeepEverythingWhenThatFails) {
    ScratchDir dir;
    std::ofstream(dir.path("bad.tid"), std::ios::binary) << "# Titrionika 2.0\r\n\r\n1,5\t;\r\n";
    std::ofstream(dir.path("hidden.tid"), std::ios::binary) << std::string(
        "# x\n\0"
        "1\0 \0"
        "2\n",
        11);
    const std::string untitled = document.file_name + " *";
    const std::string samples = driver::ExeDir() + "\\examples\\",
                      next = "Bez jména " + std::to_string(std::atoi(document.file_name.c_str() + 11) + 1) + ".tid";
    const Reply no = No("Potvrďte");
    const std::string read_error =
                          "Chyba při načítání souboru.\nŘádek 3 není bod (objem a potenciál); soubor nelze načíst.",
                      no_point = "Chyba při načítání souboru.\nSoubor obsahuje text (řádek 2), ale žádný bod.";
    Play(*this, {Command(IDM_ADD).Answer(Ok("Přidat...", Point("1", "1")).Shows(Point("", ""))).Rows(1),
                 Command(IDM_NEW).Answer(Cancel("Potvrďte")).Rows(1),
                 Command(IDM_OPEN)
                     .Answer(no, File("Otevřít soubor", dir.path("bad.tid")), Message(read_error))
                     .Rows(1)
                     .Title(untitled),
                 Command(IDM_OPEN)
                     .Answer(no, File("Otevřít soubor", dir.path("hidden.tid")), Message(no_point))
                     .Rows(1)
                     .Title(untitled),
                 Command(IDM_NEW).Answer(no).Rows(0).NoSelection().Results(0).Disabled(kAllCommands).Title(next),
                 Command(IDM_OPEN)
                     .Answer(File("Otevřít soubor", samples + "uhlicitan-hcl.tid"))
                     .Rows(93)
                     .Selected(0)
                     .Results(4)
                     .Title("uhlicitan-hcl.tid")});
    // Saved again, a sample keeps every byte, its description included.
    for (const char* sample : {"hcl-naoh.tid", "zelezo-cer.tid"}) {
        Play(
            *this,
            {Command(IDM_OPEN).Answer(File("Otevřít soubor", samples + sample)).Selected(0).Results(1),
             Command(IDM_SAVEAS).Answer(File("Uložit soubor", dir.path(sample))).Selected(0).Results(1).Title(sample)});
        EXPECT_EQ(Cell(main_window.results, 0, 0), "25,0000");
        EXPECT_EQ(ReadFile(dir.path(sample)), ReadFile(samples + sample)) << sample;
    }
    const std::string lead = "Chyba při ukládaní souboru.\n\nSoubor: ", denied = "\n" + SystemText(ERROR_ACCESS_DENIED),
                      saved = dir.path("zelezo-cer.tid"), old_text = lead + saved + denied,
                      new_text = lead + dir.path("nový.tid") + denied,
                      read_only = lead + saved + "\nSoubor je určen jen pro čtení, a proto nebyl přepsán.";
    const Reply write_error = Message(old_text);
    const int rows = Rows(main_window.list) - 2;
    {
        testui::ImportHook refuse_move("kernel32.dll", "MoveFileExA", reinterpret_cast<void*>(RefuseMove));
        testui::ImportHook refuse_replace("kernel32.dll", "ReplaceFileA", reinterpret_cast<void*>(RefuseReplace));
        Play(*this, {Press(VK_DELETE).Rows(rows), Command(IDM_SAVE).Answer(write_error),
                     Command(IDM_SAVEAS).Answer(File("Uložit soubor", dir.path("nový.tid")), Message(new_text)),
                     Command(IDM_EXIT).Answer(Yes("Potvrďte"), write_error).Rows(rows).Title("zelezo-cer.tid *")});
    }
    EXPECT_EQ(std::tuple(document.changed, document.name_automatic), std::tuple(true, false))
        << "changed, automatic name";
    EXPECT_EQ(GetFileAttributesA(dir.path("nový.tid").c_str()), INVALID_FILE_ATTRIBUTES);
    // A read-only file is named and left as it was.
    SetFileAttributesA(saved.c_str(), FILE_ATTRIBUTE_READONLY);
    Play(*this, {Command(IDM_SAVE).Answer(Message(read_only))});
    SetFileAttributesA(saved.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(document.changed) << "the document stays changed";
    EXPECT_EQ(ReadFile(saved), ReadFile(samples + "zelezo-cer.tid"));
}
// Copy carries every digit that tells a value apart: Cut and Paste give back the very point.
TEST_F(MainWindow, CutAndPasteKeepEveryDigit) {
    Load({{1.23456789, 2.5e-7}, {2, 5}});
    SelectListItem(main_window, 0);
    Play(*this, {Command(IDM_CUT).Rows(1).Selected(0).Clipboard("1.23456789\t2.5e-07"),
                 Command(IDM_PASTE).Rows(3).Selected(0)});
    EXPECT_EQ(Document(), (Points{{1.23456789, 2.5e-7}, {2, 5}}));
    char text[8] = "XXXXXXX";  // a cell asked into a small buffer comes cut to fit
    LVITEMA item = {};
    item.iSubItem = 1, item.pszText = text, item.cchTextMax = 4;
    SendMessageA(main_window.list, LVM_GETITEMTEXTA, 2, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::string(text, 7), std::string("2,0\0XXX", 7));
}
TEST_F(MainWindow, PointDialogsCheckTheirFieldsAndKeepUntouchedValuesExactly) {
    auto bad = [](const char* vb, const char* e, const char* text, int field) {  // reported, and the field focused
        return Command(IDM_ADD)
            .Answer(Ok("Přidat...", Point(vb, e)), Message(text), Cancel("Přidat...").Focused(field))
            .Rows(0);
    };
    Play(*this, {bad("", "5", "Chybná hodnota v poli Vb!", IDC_VB), bad("3", "mV", "Chybná hodnota v poli E!", IDC_E)});
    // Both Vb show as "1,235": read back from the field, the first would meet the second.
    Load({{1.23456789, -7.654321}, {1.235, 20}});
    SelectListItem(main_window, 0);
    Play(*this, {Command(IDM_EDIT).Answer(Ok("Upravit...").Shows(Point("1,235", "-7,6543"))).Rows(3).Selected(0)});
    EXPECT_FALSE(document.changed);
    Play(*this, {Command(IDM_EDIT).Answer("Upravit...", {{IDC_E, "-8"}}).Rows(3).Selected(0)});
    EXPECT_EQ(Document(), (Points{{1.23456789, -8}, {1.235, 20}}));
    // Storno after a rejected OK leaves the point as it was; editing onto another Vb replaces it.
    Load({{1, 10}, {2.123456789, 20.987654321}, {3, 30}});
    SelectListItem(main_window, 1);
    Play(*this, {Command(IDM_EDIT)
                     .Answer(Ok("Upravit...", Point("2,5", "x")), Ok(""), Cancel("Upravit..."))
                     .Rows(5)
                     .Selected(2)});
    EXPECT_EQ(Document(), (Points{{1, 10}, {2.123456789, 20.987654321}, {3, 30}}));
    EXPECT_FALSE(document.changed);
    Play(*this, {Command(IDM_EDIT).Answer(Ok("Upravit...", Point("3", "25")), Yes("Dotaz")).Rows(3).Selected(2)});
    EXPECT_EQ(Document(), (Points{{1, 10}, {3, 25}}));
}
TEST_F(MainWindow, ClipboardCarriesOnePointAsText) {
    Load({{1e300, -1e300}, {2, 20}});
    testui::BeepCounter beeps;
    Play(*this, {Command(IDM_COPY).PutOnClipboard("keep").Rows(3).NoSelection().Clipboard("keep"),
                 Command(IDM_CUT).Rows(3).NoSelection().Clipboard("keep")});
    SelectListItem(main_window, 1);
    Play(*this, {Command(IDM_CUT).Rows(1).Selected(0).Results(0)});
    const std::string huge = driver::ClipboardText();  // written whole
    EXPECT_EQ(std::pair(huge.size(), huge.find("\t-1000")), std::pair(size_t(618), size_t(308)));
    EXPECT_EQ(Document(), (Points{{2, 20}}));
    // The first two tokens of the first 255 bytes; an existing Vb is replaced after a question.
    Load({});
    Play(*this,
         {Paste("  1,5\r\n200 mV\r\n3\t4\r\n").Rows(1).Selected(0), Paste("2.5ml\t-3e2;x 17").Rows(3).Selected(2),
          Paste(std::string(250, ' ') + "1.5 200").Answer(Yes("Dotaz")).Rows(3).Selected(0),
          Paste(std::string(255, ' ') + "7 70").Rows(3)});
    for (const char* text : {"12.5", "12.5 ;", "abc 1", "",
                             "\x01\xA0 7\x80"
                             "8\x7F"}) {
        Play(*this, {Paste(text).Rows(3 + 2 * (*text == 1))});
    }
    EXPECT_EQ(beeps.exclamations(), 7);
    EXPECT_EQ(Document(), (Points{{1.5, 2}, {2.5, -300}, {7, 8}}));
}
TEST_F(MainWindow, ImportTakesAFileIntoANewDocumentAndRefusesWhatGivesNoPoint) {
    ScratchDir dir;
    // A titrator's export in windows-1250: a title, a comment, time first, a line of junk.
    std::ofstream(dir.path("titrator.csv"), std::ios::binary)
        << "Titr\xE1tor T-90;Metoda HCl\r\n# vzorek 7\r\n\r\n"
           "\xC8"
           "as [s];Potenci\xE1l [mV];Objem [ml]\r\n0;-265,4;0,000\r\n5;-245,0;1,000\r\nchyba;;\r\n10;-230,1;2,50\r\n";
    std::ofstream(dir.path("nic.txt"), std::ios::binary) << "\xEF\xBB\xBFŽádná data\r\njen text 1\r\n";
    Load({{7, 70}});
    document.changed = true;
    // clang-format off
    const Fields shows = {{IDC_IMPORT_FORMAT, "Kódování: windows-1250, oddělovač sloupců: středník, desetinná čárka"},
                          {IDC_IMPORT_VOLUME, "3: Objem [ml]"}, {IDC_IMPORT_POTENTIAL, "2: Potenciál [mV]"},
                          {IDC_IMPORT_COUNT, "Bodů k importu: 3"}, {IDC_IMPORT_BAD, "7"}};
    // clang-format on
    const Reply import = Ok("Import bodů").Shows(shows).Focused(IDC_IMPORT_PREVIEW);
    Play(*this, {Press(CTRL('I'))
                     .Answer(No("Potvrďte"), File("Importovat soubor", dir.path("titrator.csv")), import)
                     .Rows(5)
                     .Selected(0)});
    EXPECT_EQ(Document(), (Points{{0, -265.4}, {1, -245}, {2.5, -230.1}}));
    EXPECT_EQ(std::tuple(document.changed, document.name_automatic), std::tuple(true, true))
        << "changed, automatic name";
    EXPECT_EQ(driver::Text(main_window.dialog), std::string("Titrion - ") + document.file_name + " *");
    EXPECT_EQ(driver::Text(main_window.status), "Importováno bodů: 3, vynechaných nečitelných řádků: 1");
    // The preview numbers the lines as the file does. One column twice gives no point: OK is
    // refused. Storno and a file without numbers change nothing.
    document.changed = false;
    std::string row;
    testui::ModalScript look;
    look.call([&](HWND dlg) { Respond(dlg, File("Importovat soubor", dir.path("titrator.csv"))); });
    look.call([&](HWND dlg) {
        row = Line(GetDlgItem(dlg, IDC_IMPORT_PREVIEW), -1) + "/" + Line(GetDlgItem(dlg, IDC_IMPORT_PREVIEW), 4);
        testui::Press(dlg, IDCANCEL);
    });
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_IMPORT, 0);
    EXPECT_EQ(row, "Řádek|Sloupec 1|Sloupec 2|Sloupec 3|/8|10|-230,1|2,50|");
    // No memory for the points: a beep, and the document stays.
    testui::BeepCounter beeps;
    look.call([&](HWND dlg) { Respond(dlg, File("Importovat soubor", dir.path("titrator.csv"))); });
    look.call([&](HWND dlg) {
        dyn_array_realloc = [](void*, size_t) -> void* { return nullptr; }, testui::Press(dlg, IDOK);
    });
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_IMPORT, 0);
    dyn_array_realloc = std::realloc;
    EXPECT_EQ(beeps.exclamations(), 1);
    const std::string none = "Ze zvolených sloupců nevznikne žádný bod. Zvolte dva různé sloupce s čísly.";
    const std::string no_numbers =
        "Soubor „nic.txt“ neobsahuje žádný řádek se dvěma čísly (objem a potenciál). Nic se nezměnilo.";
    Play(*this, {Command(IDM_IMPORT)
                     .Answer(File("Importovat soubor", dir.path("titrator.csv")),
                             Ok("Import bodů", {{IDC_IMPORT_VOLUME, "1"}, {IDC_IMPORT_POTENTIAL, "1"}}),
                             Ok("Import bodů").Says(none),
                             Cancel("Import bodů").Shows({{IDC_IMPORT_COUNT, "Bodů k importu: 0"}}))
                     .Rows(5),
                 Command(IDM_IMPORT)
                     .Answer(File("Importovat soubor", dir.path("nic.txt")), Ok("Import bodů").Says(no_numbers))
                     .Rows(5)});
    EXPECT_EQ(Document().size(), 3u);
    EXPECT_FALSE(document.changed);
    // A logger's 100 columns, volume 1 read twice, a last line of two cells: 64 columns offered.
    std::string wide;
    for (int r = 0; r < 3; ++r, wide += "\r\n")
        for (int c = 0; c < 100; ++c) wide += (c ? ";" : "") + std::to_string(c ? c * 10 + r : r - (r == 2));
    std::ofstream(dir.path("logger.csv"), std::ios::binary) << wide << "2;50\r\n";
    int offered = 0, shown = 0;
    const Fields notes = {
        {IDC_IMPORT_FORMAT,
         "Kódování: UTF-8, oddělovač sloupců: středník, desetinná tečka; pozor: řádky dat mají různý počet sloupců "
         "nebo rozdělená čísla"},
        {IDC_IMPORT_COUNT,
         "Bodů k importu: 3\nOpakované objemy: 1 čtení nahrazeno posledním; Zobrazeno prvních 64 sloupců z 100"}};
    look.call([&](HWND dlg) { Respond(dlg, File("Importovat soubor", dir.path("logger.csv"))); });
    look.call([&](HWND dlg) {
        offered = static_cast<int>(SendDlgItemMessageA(dlg, IDC_IMPORT_VOLUME, CB_GETCOUNT, 0, 0));
        shown = Header_GetItemCount(ListView_GetHeader(GetDlgItem(dlg, IDC_IMPORT_PREVIEW)));
        Respond(dlg, Ok("Import bodů").Shows(notes));
    });
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_IMPORT, 0);
    EXPECT_EQ(offered * 100 + shown, 64 * 100 + 65);
    EXPECT_EQ(Document(), (Points{{0, 10}, {1, 12}, {2, 50}}));
}
// E'' = 1, -1, -1, 1 at Vb 1 .. 4: results at 1.5 (between (1, 1) and (2, -1)) and 3.5.
const Points kTwoResults = {{0, 0}, {1, 1}, {2, 3}, {3, 4}, {4, 4}, {5, 5}};
TEST_F(MainWindow, OptionsShowTheSettingsAndOkReformatsBothListsKeepingTheSelection) {
    Load(kTwoResults);
    SelectListItem(main_window, 2);
    ListView_SetItemState(main_window.results, 1, LVIS_SELECTED, LVIS_SELECTED);
    // clang-format off
    const Fields shown = {{IDC_USE_COMMA, "1"},  {IDC_VB_PRECIS, "3"},  {IDC_E_PRECIS, "4"},    {IDC_DE_PRECIS, "4"},
                          {IDC_D2E_PRECIS, "4"}, {IDC_RES_PRECIS, "4"}, {IDC_GRAPH_PRECIS, "4"},
                          {IDC_RECOGNIZE_ALL, "1"}, {IDC_RECOGNIZE_STEEPEST, "0"}, {IDC_MIN_STEEPNESS, "10"}};
    // clang-format on
    // clang-format off
    const Fields changed = {{IDC_USE_COMMA, "0"},     {IDC_VB_PRECIS, "0"},  {IDC_E_PRECIS, "1"},
                            {IDC_DE_PRECIS, "2"},     {IDC_D2E_PRECIS, "0"}, {IDC_RES_PRECIS, "1"},
                            {IDC_GRAPH_PRECIS, " 2x"}, {IDC_MIN_STEEPNESS, "100"}};
    // clang-format on
    const char* steepness = "Minimální strmost musí být celé číslo od 0 do 100 %.";
    auto bad = [&](int field, const char* text) {  // reported, focused, and nothing is stored
        return Command(IDM_OPTIONS)
            .Answer(Ok("Možnosti", {{IDC_VB_PRECIS, "2"}, {IDC_RECOGNIZE_STEEPEST, "1"}, {field, text}}),
                    Message(field == IDC_MIN_STEEPNESS ? steepness : "Zadejte celé nezáporné číslo"),
                    Cancel("Možnosti").Focused(field))
            .Rows(11)
            .Selected(4)
            .Results(2);
    };
    Play(*this, {Command(IDM_OPTIONS).Answer(Cancel("Možnosti").Type(changed).Shows(shown)).Rows(11).Selected(4),
                 bad(IDC_D2E_PRECIS, "-1"), bad(IDC_D2E_PRECIS, "abc"), bad(IDC_D2E_PRECIS, ""),
                 bad(IDC_MIN_STEEPNESS, "-5"), bad(IDC_MIN_STEEPNESS, "x"), bad(IDC_MIN_STEEPNESS, "101"),
                 Command(IDM_OPTIONS).Answer(Ok("Možnosti", changed).Shows(shown)).Rows(11).Selected(4).Results(2)});
    EXPECT_EQ(std::tuple(graph_precis, min_steepness, recognition), std::tuple(2, 100, RECOGNIZE_ALL));
    EXPECT_EQ(Line(main_window.list, 4) + "/" + Line(main_window.list, 5) + "/" + Cell(main_window.results, 0, 0),
              "3|2|3.0||-1/|||1.00|/1.5");
    EXPECT_EQ(SelectedRow(main_window.results), 1);
    // Without a selected point none is selected afterwards. Only the steepest inflection (E' = 2,
    // the largest) is a result, at 100 % too; the other one, at E' = 0, is the least steep.
    Load(kTwoResults);
    Play(*this,
         {Command(IDM_OPTIONS).Answer("Možnosti", {{IDC_RECOGNIZE_STEEPEST, "1"}}).Rows(11).NoSelection().Results(1),
          Command(IDM_OPTIONS)
              .Answer(Ok("Možnosti", {{IDC_RECOGNIZE_ALL, "1"}, {IDC_RECOGNIZE_STEEPEST, "0"}})
                          .Shows({{IDC_RECOGNIZE_ALL, "0"}, {IDC_RECOGNIZE_STEEPEST, "1"}, {IDC_MIN_STEEPNESS, "100"}}))
              .Rows(11)
              .NoSelection()
              .Results(2)});
    EXPECT_EQ(SelectedRow(main_window.results), 0);
}
TEST_F(MainWindow, DetailsShowTheSelectedResultAndItsBracketingPoints) {
    auto details = [](Fields shows) { return Command(IDM_DETAILS).Answer(Ok("Detaily").Shows(std::move(shows))); };
    Load(kTwoResults);
    Play(*this, {details({{IDC_DETAIL_VB, "1,5000"},
                          {IDC_DETAIL_X1, "1,0000"},
                          {IDC_DETAIL_Y1, "1,0000"},
                          {IDC_DETAIL_X2, "2,0000"},
                          {IDC_DETAIL_Y2, "-1,0000"},
                          {IDC_DETAIL_STEEPNESS, "2,0000 mV.ml-1 (100 %)"}})});
    ListView_SetItemState(main_window.results, 1, LVIS_SELECTED, LVIS_SELECTED);
    use_comma = false, de_precis = 1;
    Play(*this, {details({{IDC_DETAIL_VB, "3.5000"},
                          {IDC_DETAIL_X1, "3.0000"},
                          {IDC_DETAIL_Y2, "1.0000"},
                          {IDC_DETAIL_STEEPNESS, "0.0 mV.ml-1 (0 %)"}})});
    testui::ModalScript ui;  // a double click on a result asks the main window for them too
    // Without smoothing its row is gone: OK stands 9 units below the steepness and 7 above the edge.
    int gaps[2] = {}, units[2] = {};
    ui.call([&](HWND dlg) {
        RECT steepness, ok, client, nine_seven = {0, 9, 0, 7};
        GetWindowRect(GetDlgItem(dlg, IDC_DETAIL_STEEPNESS), &steepness), GetWindowRect(GetDlgItem(dlg, IDOK), &ok);
        GetClientRect(dlg, &client), MapWindowPoints(dlg, nullptr, reinterpret_cast<POINT*>(&client), 2);
        MapDialogRect(dlg, &nine_seven);
        gaps[0] = ok.top - steepness.bottom, gaps[1] = client.bottom - ok.bottom;
        units[0] = nine_seven.top, units[1] = nine_seven.bottom;
        testui::Press(dlg, IDOK);
    });
    Click(main_window.results, WM_LBUTTONDBLCLK, 0);
    RunQueue();
    EXPECT_NEAR(gaps[0], units[0], 1);
    EXPECT_NEAR(gaps[1], units[1], 1);
    ListView_SetItemState(main_window.results, -1, 0, LVIS_SELECTED);  // no result chosen: a beep, no dialog
    testui::BeepCounter beeps;
    Play(*this, {Command(IDM_DETAILS)});
    EXPECT_EQ(ui.seen().size(), 1u);
    EXPECT_EQ(beeps.exclamations(), 1);
}
TEST_F(MainWindow, HtmlExportProposesTheTitleAndWritesTheChosenFile) {
    ScratchDir dir;
    Play(*this, {Command(IDM_EXPORTHTML).Answer(Ok("Export do HTML").Says("Dokument je prázdný"))});
    Load(kTwoResults);
    document.file_name = dir.path("měření.v2.tid");
    const std::string path = dir.path("protokol.html");
    // No file: the dialog stays, with the title typed in it.
    Play(*this,
         {Command(IDM_EXPORTHTML)
              .Answer(Ok("Export do HTML", {{IDC_HTML_TITLE, "Vzorek 7"}}), Message("Zadejte název souboru."),
                      Cancel("Export do HTML").Shows({{IDC_HTML_TITLE, "Vzorek 7"}})),
          Command(IDM_EXPORTHTML)
              .Answer(
                  Button("Export do HTML", IDC_HTML_BROWSE).Shows({{IDC_HTML_TITLE, "měření.v2"}, {IDC_HTML_FILE, ""}}),
                  File("Exportovat HTML", path),
                  Ok("Export do HTML", {{IDC_HTML_TITLE, "Titrace <č. 1> & spol."}}).Shows({{IDC_HTML_FILE, path}}))});
    const std::string page = ReadFile(path);
    EXPECT_NE(page.find("<TITLE>Titrace &lt;\xE8. 1&gt; & spol.</TITLE>\r\n"), std::string::npos) << page;
    EXPECT_FALSE(document.changed);
}
std::string request;  // what the shell was asked for
UINT_PTR shell_result = 42;
HINSTANCE WINAPI FakeShell(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show) {
    request += std::string(file) + "|" + dir + (!owner && !verb && !params && show == SW_SHOW ? "|" : "?");
    return reinterpret_cast<HINSTANCE>(shell_result);
}
TEST_F(MainWindow, HelpOpensTheManualBesideTheProgramAndTellsEveryFailure) {
    help_shell_execute = FakeShell;
    const std::string folder = driver::ExeDir() + "\\";
    Play(*this, {Press(VK_F1), Command(IDM_HELP_RTF)});
    EXPECT_EQ(request, folder + "titrion2.pdf|" + folder + "|" + folder + "titrion2.rtf|" + folder + "|");
    // clang-format off
    const std::pair<UINT_PTR, const char*> failures[] = {{0, "Nedostatek paměti/systémových prostředků"},
        {3, "Soubor nápovědy nenalezen"}, {26, "Narušení sdílení"}, {29, "DDE transakce se nezdařila"},
        {12, "Neznámá\xC2\xA0" "chyba #0000000c"}};
    // clang-format on
    for (auto [result, reason] : failures) {
        const std::string text = std::string("Chyba při otevírání souboru nápovědy (") + reason + ")";
        shell_result = result;
        Play(*this, {Command(IDM_HELP_PDF).Answer(Ok("Chyba").Says(text)),
                     Command(IDM_HELP_RTF).Answer(Ok("Chyba").Says(text))});
    }
    // No viewer: a box that links to one for the PDF, a message for the RTF.
    shell_result = SE_ERR_NOASSOC;
    Play(*this, {Command(IDM_HELP_PDF).Answer(Cancel("Chyba při otevírání nápovědy")),
                 Command(IDM_HELP_RTF).Answer(Message("Není nainstalován žádný prohlížeč dokumentů RTF."))});
    help_shell_execute = ShellExecuteA;
}
TEST_F(MainWindow, AboutBoxClosesWithOkOrEsc) {
    const Fields shows = {{IDC_ABOUT_TITLE, "Titrion 2.0"}};
    Play(*this, {Command(IDM_ABOUT).Answer(Ok("O aplikaci Titrion").Shows(shows)),
                 Command(IDM_ABOUT).Answer(Cancel("O aplikaci"))});
}
}  // namespace
}  // namespace apptest
