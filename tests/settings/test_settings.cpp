// The settings file beside the program, and synchronised dialogs run for real from test
// templates and answered on this thread.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>
#include "controls/ClrSel.h"
#include "core/calc.h"
#include "core/ext_float.h"
#include "core/gran.h"
#include "settings/config.h"
#include "settings/syncdlg.h"
#include "tests/support/testui.h"

namespace {
using namespace testui;
using Strings = std::vector<std::string>;
using std::to_string;
enum {
    IDD_EMPTY = 200,
    IDD_FIELDS,
    IDC_TEMPLATE = 1000,
    IDC_STR,
    IDC_INT_A,
    IDC_INT_B,
    IDC_CHECK,
    IDC_FLOAT,
    IDC_COLOUR
};
const tag_CTL_SYNC kEnd = {SYNC_END, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr};
bool RunSynced(int dialog, tag_CTL_SYNC* table, bool out = false) {
    return (out ? SyncedOutDlg : SyncedDlg)(nullptr, MAKEINTRESOURCEA(dialog), nullptr, table);
}
Strings asked;  // "id=value" for every value a validator was asked about
bool NotNegative(unsigned id, void* v) {
    return asked.push_back(to_string(id) + "=" + to_string((INT_PTR)v)), (INT_PTR)v >= 0;
}
bool NotEmptyText(unsigned id, void* v) {
    return asked.push_back(to_string(id) + "=" + static_cast<const char*>(v)), *static_cast<const char*>(v);
}
bool AtMostTen(unsigned id, void* v) {
    return asked.push_back(to_string(id) + "=" + to_string(std::lround(((ext_float*)v)->value * 100))),
           ((ext_float*)v)->value <= 10.0;
}
// The variables of the fields dialog and their binding table.
struct Fields {
    char str[16] = "Název č. 1";
    int a = -17, b = 5, check = 1;
    ext_float number{1.5};
    COLORREF colour = RGB(0, 0, 255);
    tag_CTL_SYNC table[7] = {{SYNC_STR_EDIT, nullptr, IDC_STR, str, sizeof str, nullptr, nullptr, nullptr},
                             {SYNC_INT_EDIT, nullptr, IDC_INT_A, &a, 0, "Chyba v poli A", nullptr, nullptr},
                             {SYNC_INT_EDIT, nullptr, IDC_INT_B, &b, 0, "Chyba v poli B", nullptr, nullptr},
                             {SYNC_CHECKBOX, nullptr, IDC_CHECK, &check, 0, nullptr, nullptr, nullptr},
                             {SYNC_CUSTOM, ExtFloatSyncProc, IDC_FLOAT, &number, 3, "Chyba v čísle", nullptr, nullptr},
                             {SYNC_CUSTOM, ClrSyncProc, IDC_COLOUR, &colour, 0, nullptr, nullptr, nullptr},
                             kEnd};
    Strings Values() const {
        return {str,
                to_string(a),
                to_string(b),
                to_string(check),
                number.undefined ? "*" : to_string(number.value),
                to_string(colour)};
    }
};
Strings Shown(HWND dlg) {
    return {ItemText(dlg, IDC_STR),
            ItemText(dlg, IDC_INT_A),
            ItemText(dlg, IDC_INT_B),
            ItemText(dlg, IDC_FLOAT),
            to_string(SendDlgItemMessageA(dlg, IDC_CHECK, BM_GETCHECK, 0, 0)),
            to_string(SendDlgItemMessageA(dlg, IDC_COLOUR, CLRSEL_GETCOLOR, 0, 0))};
}
struct SyncDialog : ::testing::Test {
    void SetUp() override { RegisterClrSelCtl(), asked.clear(), use_comma = true; }
    void TearDown() override { use_comma = true; }
    ModalScript ui;
};
TEST_F(SyncDialog, ControlsShowTheVariablesCancelKeepsThemOkStoresThemAndDisplayOnlyReadsNothing) {
    Fields f;
    f.check = 2;
    Strings shown;
    for (int button : {IDCANCEL, IDOK, IDOK})
        ui.call([&, button](HWND dlg) {
            shown = Shown(dlg);
            SetText(dlg, IDC_STR, "žžžžžžžžžž"), SetText(dlg, IDC_INT_A, "  42abc"),
                SetText(dlg, IDC_INT_B, "-2147483648");
            SendDlgItemMessageA(dlg, IDC_CHECK, BM_CLICK, 0, 0);  // checked -> indeterminate
            SetText(dlg, IDC_FLOAT, " 2,25 mV"), SendDlgItemMessageA(dlg, IDC_COLOUR, CLRSEL_SETCOLOR, RGB(1, 2, 3), 0);
            Press(dlg, button);
        });
    EXPECT_FALSE(RunSynced(IDD_FIELDS, f.table));
    EXPECT_EQ(shown, (Strings{"Název č. 1", "-17", "5", "1,500", "2", "16711680"}));
    f.check = 1;
    EXPECT_EQ(f.Values(), Fields().Values());
    EXPECT_TRUE(RunSynced(IDD_FIELDS, f.table));
    // 15 bytes end inside the eighth letter, dropped whole; an indeterminate box is not 1, so "off".
    const Strings stored = {"žžžžžžž", "42", "-2147483648", "2", "2.250000", "197121"};
    EXPECT_EQ(f.Values(), stored);
    EXPECT_EQ(shown[4], "1") << "the check box as shown";
    use_comma = false;
    EXPECT_TRUE(RunSynced(IDD_FIELDS, f.table, true)) << "display only";
    EXPECT_EQ(shown[3], "2.250");
    EXPECT_EQ(f.Values(), stored);
    // An end row alone or no table leave the template's text; a missing template fails.
    tag_CTL_SYNC none[] = {kEnd};
    Strings texts;
    for (int i = 0; i < 3; ++i)
        ui.call([&](HWND dlg) { texts.push_back(ItemText(dlg, IDC_TEMPLATE)), Press(dlg, IDOK); });
    EXPECT_EQ(std::tuple(RunSynced(IDD_EMPTY, none), RunSynced(IDD_EMPTY, none, true), RunSynced(IDD_EMPTY, nullptr)),
              std::tuple(true, true, true));
    EXPECT_EQ(std::pair(RunSynced(999, none), RunSynced(999, none, true)), std::pair(false, false)) << "no template";
    EXPECT_EQ(texts, (Strings{"šablona", "šablona", "šablona"}));
    EXPECT_EQ(std::tuple(ui.seen().size(), ui.unexpected()), std::tuple(6u, 0));
}
TEST_F(SyncDialog, InvalidFieldsAreReportedInTableOrderAndFocusedAndNothingIsStored) {
    // One dialog, OK pressed once per row with every field before the row's own valid.
    // clang-format off
    const struct { int id; const char* text; const char* error; const char* last_asked;
    } rejected[] = {{IDC_INT_A, "abc", "Chyba v poli A", "1001=změněno"},  // B is empty as well: A comes first
                    {IDC_INT_A, "-3", "Chyba v poli A", "1002=-3"},        // refused by its validator
                    {IDC_INT_B, "", "Chyba v poli B", "1002=12"}, {IDC_INT_B, "x12", "Chyba v poli B", "1002=12"},
                    {IDC_INT_B, "99999999999", "Chyba v poli B", "1002=12"},
                    {IDC_INT_B, "-2147483649", "Chyba v poli B", "1002=12"}, {IDC_FLOAT, "*", "Chyba v čísle", "1002=12"},
                    {IDC_FLOAT, "10,5", "Chyba v čísle", "1005=1050"}};
    // clang-format on
    const size_t n = sizeof rejected / sizeof rejected[0];
    Fields f;
    f.table[0].validator = NotEmptyText, f.table[1].validator = NotNegative, f.table[4].validator = AtMostTen;
    Strings results;
    ui.call([&](HWND dlg) {
        ShowWindow(dlg, SW_SHOW);  // shown now, so that an EndDialog would hide it
        HWND str = GetDlgItem(dlg, IDC_STR);
        SetText(dlg, IDC_STR, "změněno"), SendDlgItemMessageA(dlg, IDC_CHECK, BM_CLICK, 0, 0);
        for (const auto& r : rejected) {
            SetText(dlg, IDC_INT_A, "12"), SetText(dlg, IDC_INT_B, r.id == IDC_FLOAT ? "1" : ""),
                SetText(dlg, r.id, r.text);
            SetFocus(str), Press(dlg, IDOK);
            results.push_back(to_string(IsWindowVisible(dlg)) + to_string(GetFocus() == GetDlgItem(dlg, r.id)) +
                              asked.back());
        }
        // A row without a message fails silently and leaves the focus; so does any row
        // when errors are not shown.
        SetText(dlg, IDC_FLOAT, "1"), SetText(dlg, IDC_STR, ""), SetFocus(str), Press(dlg, IDOK);
        results.push_back(to_string(IsWindowVisible(dlg)) + to_string(GetFocus() == str) +
                          to_string(TrySyncIn(dlg, f.table, false)));
        Press(dlg, IDCANCEL);
    });
    for (size_t i = 0; i < n; ++i) ui.press(IDOK);
    EXPECT_FALSE(RunSynced(IDD_FIELDS, f.table));
    ASSERT_EQ(std::tuple(ui.seen().size(), results.size()), std::tuple(n + 1, n + 1)) << "messages seen, OKs pressed";
    for (size_t i = 0; i < n; ++i) {
        EXPECT_EQ(std::tuple(ui.seen()[i + 1].text, ui.seen()[i + 1].icon),
                  std::tuple(std::string(rejected[i].error), UINT(MB_ICONERROR)))
            << rejected[i].text;
        EXPECT_EQ(results[i], std::string("11") + rejected[i].last_asked);
    }
    EXPECT_EQ(results[n], "110");
    EXPECT_EQ(f.Values(), Fields().Values());  // the fields that were valid included
}
// A control the template lacks cannot show its variable: its message comes as the dialog opens.
TEST_F(SyncDialog, AControlThatCannotBeFilledIsReported) {
    int a = 7;
    tag_CTL_SYNC table[] = {{SYNC_INT_EDIT, nullptr, IDC_INT_A, &a, 0, nullptr, "Pole A chybí", nullptr}, kEnd};
    for (int i = 0; i < 2; ++i) ui.call([](HWND dlg) { Press(dlg, GetDlgItem(dlg, IDC_TEMPLATE) ? IDCANCEL : IDOK); });
    EXPECT_FALSE(RunSynced(IDD_EMPTY, table));
    ASSERT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.seen()[0].text + "|" + ui.seen()[1].text, "Pole A chybí|") << "the message first, then the dialog";
    EXPECT_EQ(ui.seen()[0].icon, UINT(MB_ICONERROR));
}
const char kFile[] = "settings_test.ini";
struct ConfigFile : ::testing::Test {
    void SetUp() override { TearDown(); }
    void TearDown() override { DeleteFileA(path.c_str()), Defaults(); }
    static void Defaults() {
        use_comma = graph_show_labels = graph_show_axes = graph_show_scale = true, graph_view = 2;
        vb_precis = 3, e_precis = de_precis = d2e_precis = res_precis = graph_precis = 4, recognition = 0,
        min_steepness = 10;
        graph_bkg = 0, graph_line = 0xFF0000, graph_axes = 0xFF, graph_labels = 0xFF00, gran_options = GranOptions();
    }
    Strings Read() const {  // the non-empty lines without their line ends
        Strings lines;
        for (std::ifstream in(path, std::ios::binary); std::getline(in, lines.emplace_back());)
            lines.back().erase(lines.back().find_last_not_of("\r ") + 1);
        return lines.pop_back(), lines.erase(std::remove(lines.begin(), lines.end(), ""), lines.end()), lines;
    }
    void Write(const char* text) const { std::ofstream(path, std::ios::binary | std::ios::trunc) << text; }
    const std::string path = [] {
        char p[MAX_PATH];
        std::string s(p, GetModuleFileNameA(nullptr, p, MAX_PATH));
        return s.substr(0, s.rfind('\\') + 1) + kFile;
    }();
};
TEST_F(ConfigFile, SavingWritesBothSectionsInTableOrderAndOnlyKeysInTheFileAreLoaded) {
    vb_precis = 7, graph_line = 0x123456, graph_show_axes = false;
    LoadConfig(kFile, config), LoadConfig(nullptr, config);  // no file: nothing changes
    EXPECT_EQ(std::tuple(vb_precis, graph_line, graph_show_axes), std::tuple(7, 0x123456u, false));
    Defaults();
    e_precis = -1, graph_axes = 0x1000000, graph_view = -3;  // only values the dialogs accept are written
    SaveConfig(kFile, config);
    EXPECT_EQ(Read(), (Strings{"[Main]", "use_comma=1", "vb_precis=3", "e_precis=0", "de_precis=4", "d2e_precis=4",
                               "res_precis=4", "recognition=0", "min_steepness=10", "[Graph]", "graph_precis=4",
                               "graph_bkg=0", "graph_line=16711680", "graph_axes=16777215", "graph_labels=65280",
                               "graph_show_labels=1", "graph_show_axes=1", "graph_show_scale=1", "graph_view=0"}));
    Write(
        "[Main]\r\nuse_comma=5\r\nvb_precis=2\r\nrecognition=1\r\n[Graph]\r\ngraph_show_labels=0\r\ngraph_show_axes="
        "x\r\ngraph_view=0\r\n");
    Defaults(), use_comma = false, LoadConfig(kFile, config);  // text that is no number keeps the default
    EXPECT_EQ(std::tuple(use_comma, vb_precis, e_precis, recognition, min_steepness), std::tuple(true, 2, 4, 1, 10));
    EXPECT_EQ(std::tuple(graph_show_labels, graph_show_axes, graph_line, graph_view, graph_show_scale),
              std::tuple(false, true, 0xFF0000u, 0, true));
    CONFIG_ITEM none[] = {{CONFIG_END, nullptr, nullptr, nullptr, 0}};
    graph_show_labels = true;
    SaveConfig(kFile, none), SaveConfig(kFile, config);  // keys in place, booleans as 1 or 0
    const Strings lines = Read();
    EXPECT_EQ(Strings(lines.begin(), lines.begin() + 3), (Strings{"[Main]", "use_comma=1", "vb_precis=2"}));
    EXPECT_EQ(Strings(lines.begin() + 9, lines.begin() + 12),
              (Strings{"[Graph]", "graph_show_labels=1", "graph_show_axes=1"}));
    char name[8] = "keep", other[8] = "old";  // string rows default to empty and are cut at their size
    int number = 9;                           // a type neither pass knows is skipped
    CONFIG_ITEM table[] = {{CONFIG_STR, "T", "name", name, 8},
                           {CONFIG_STR, "T", "other", other, 8},
                           {42, "T", "unknown", &number, 0},
                           none[0]};
    Write("[T]\r\nname=abcdefghijk\r\nunknown=5\r\n"), LoadConfig(kFile, table), SaveConfig(kFile, table);
    EXPECT_EQ(std::tuple(std::string(name), std::string(other), number),
              std::tuple(std::string("abcdefg"), std::string(), 9));
    EXPECT_EQ(Read(), (Strings{"[T]", "name=abcdefg", "unknown=5", "other="}));
}
// A number beyond what the dialogs accept reads as the nearest one they accept; text that is
// no whole number leaves the default.
TEST_F(ConfigFile, LoadedValuesAreBroughtIntoTheRangesOfTheDialogs) {
    // clang-format off
    const struct { const char* line; int* value; int expected; } rows[] = {
        {"vb_precis=-5", &vb_precis, 0}, {"e_precis=2147483647", &e_precis, 2147483647}, {"de_precis=99999999999", &de_precis, 2147483647},
        {"d2e_precis=abc", &d2e_precis, 4}, {"res_precis=7 mm", &res_precis, 4}, {"recognition=2", &recognition, 1},
        {"min_steepness=-1", &min_steepness, 0}, {"graph_precis=", &graph_precis, 4}, {"graph_bkg=-1", reinterpret_cast<int*>(&graph_bkg), 0},
        {"graph_line=4294967295", reinterpret_cast<int*>(&graph_line), 0xFFFFFF}, {"graph_axes=0x10", reinterpret_cast<int*>(&graph_axes), 0xFF},
        {"graph_labels=+256", reinterpret_cast<int*>(&graph_labels), 256}, {"graph_view=99", &graph_view, 3}};
    // clang-format on
    std::string text = "[Main]\r\n";
    for (const auto& row : rows)
        text += std::string(std::strncmp(row.line, "graph_precis", 12) ? "" : "[Graph]\r\n") + row.line + "\r\n";
    Write(text.c_str()), LoadConfig(kFile, config);
    for (const auto& row : rows) EXPECT_EQ(*row.value, row.expected) << row.line;
    Write("[Graph]\r\ngraph_view=-3\r\n"), LoadConfig(kFile, config);
    EXPECT_EQ(graph_view, 0);
}
// The Gran options are one key after the view, only when changed; a text that does not read
// keeps them, and back at the defaults the key goes.
TEST_F(ConfigFile, GranOptionsAreOneKeyOnlyWhenChanged) {
    gran_options.function = GRAN_BEFORE_WEAK, gran_options.from = 5, gran_options.celsius = 20;
    SaveConfig(kFile, config);
    EXPECT_EQ(Read().back(), "gran=before-weak;5;;20");
    const GranOptions saved = gran_options;
    gran_options = GranOptions(), LoadConfig(kFile, config);
    EXPECT_TRUE(gran_options == saved);
    Write("[Graph]\r\ngran=after;x;;\r\n"), LoadConfig(kFile, config);
    EXPECT_TRUE(gran_options == saved);
    gran_options = GranOptions(), SaveConfig(kFile, config);
    const Strings lines = Read();
    EXPECT_TRUE(
        std::none_of(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("gran=", 0) == 0; }));
}
}  // namespace
