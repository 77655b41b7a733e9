// Synchronised dialogs run for real from test templates and answered on this thread.
#include "settings/syncdlg.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "controls/ClrSel.h"
#include "core/calc.h"
#include "core/ext_float.h"
#include "tests/settings/syncdlg_tests_res.h"
#include "tests/support/testui.h"

namespace {

using testui::ItemText;
using testui::ModalScript;
using testui::Press;
using testui::SetText;

const tag_CTL_SYNC kEnd = {SYNC_END, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr};

bool RunSynced(int dialog, tag_CTL_SYNC* table) {
    return SyncedDlg(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialog), nullptr, table);
}
bool RunSyncedOut(int dialog, tag_CTL_SYNC* table) {
    return SyncedOutDlg(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialog), nullptr, table);
}

// What a validator was asked, for the checks below.
struct Asked {
    unsigned id;
    std::string text;
    long long number;
};
std::vector<Asked> asked;

bool NotNegative(unsigned id, void* value) {
    const int v = static_cast<int>(reinterpret_cast<INT_PTR>(value));
    asked.push_back({id, "", v});
    return v >= 0;
}

bool NotEmptyText(unsigned id, void* value) {
    const char* text = static_cast<const char*>(value);
    asked.push_back({id, text, 0});
    return text[0] != '\0';
}

bool AtMostTen(unsigned id, void* value) {
    const ext_float* v = static_cast<const ext_float*>(value);
    asked.push_back({id, "", static_cast<long long>(v->value * 100)});
    return v->value <= 10.0;
}

// A custom binding that fails the pass named by its `param` (1 out, 2 try).
bool FailingProc(unsigned op, HWND, tag_CTL_SYNC* row) {
    return static_cast<int>(op) != row->param;
}

// The variables of the fields dialog and their binding table.
struct Fields {
    char str[16] = "Název č. 1";
    int a = -17;
    int b = 5;
    int check = 1;
    ext_float number{1.5};
    tag_CTL_SYNC table[6];

    Fields() {
        table[0] = {SYNC_STR_EDIT, nullptr, IDC_STR, str, sizeof str, nullptr, nullptr, nullptr};
        table[1] = {SYNC_INT_EDIT, nullptr, IDC_INT_A, &a, 0, "Chyba v poli A: čísla", nullptr,
                    nullptr};
        table[2] = {SYNC_INT_EDIT, nullptr, IDC_INT_B, &b, 0, "Chyba v poli B", nullptr, nullptr};
        table[3] = {SYNC_CHECKBOX, nullptr, IDC_CHECK, &check, 0, nullptr, nullptr, nullptr};
        table[4] = {SYNC_CUSTOM, ExtFloatSyncProc, IDC_FLOAT, &number, 3, "Chyba v čísle",
                    nullptr, nullptr};
        table[5] = kEnd;
    }

    void ExpectUnchanged() const {
        EXPECT_STREQ(str, "Název č. 1");
        EXPECT_EQ(a, -17);
        EXPECT_EQ(b, 5);
        EXPECT_EQ(check, 1);
        EXPECT_FALSE(number.undefined);
        EXPECT_EQ(number.value, 1.5);
    }
};

int CheckState(HWND dlg) {
    return static_cast<int>(SendDlgItemMessageA(dlg, IDC_CHECK, BM_GETCHECK, 0, 0));
}

class SyncDialog : public ::testing::Test {
protected:
    void SetUp() override {
        asked.clear();
        use_comma = true;
    }
    void TearDown() override { use_comma = true; }
};

TEST_F(SyncDialog, EndRowOnlyOrNoTableKeepsTheTemplateAndAMissingTemplateGivesFalse) {
    tag_CTL_SYNC table[] = {kEnd};
    ModalScript ui;
    std::vector<std::string> shown;
    auto read = [&](HWND dlg) {
        shown.push_back(ItemText(dlg, IDC_TEMPLATE_EDIT));
        Press(dlg, IDOK);
    };
    ui.call(read).call(read).call(read);
    EXPECT_TRUE(RunSynced(IDD_SYNC_EMPTY, table));
    EXPECT_TRUE(RunSyncedOut(IDD_SYNC_EMPTY, table));
    EXPECT_TRUE(RunSynced(IDD_SYNC_EMPTY, nullptr));
    EXPECT_EQ(shown, (std::vector<std::string>{"šablona", "šablona", "šablona"}));
    ASSERT_EQ(ui.seen().size(), 3u);
    EXPECT_EQ(ui.seen()[0].caption, "Prázdný");

    EXPECT_FALSE(RunSynced(999, table));
    EXPECT_FALSE(RunSyncedOut(999, table));
    EXPECT_EQ(ui.seen().size(), 3u);
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(SyncDialog, ControlsShowTheVariablesCancelKeepsThemAndOkStoresThem) {
    Fields f;
    f.check = 2;
    std::vector<std::string> shown;
    int check = -1;
    auto edit_and = [&](int button) {
        return [&, button](HWND dlg) {
            shown = {ItemText(dlg, IDC_STR), ItemText(dlg, IDC_INT_A), ItemText(dlg, IDC_INT_B),
                     ItemText(dlg, IDC_FLOAT)};
            check = CheckState(dlg);
            SetText(dlg, IDC_STR, "Třetí");
            SetText(dlg, IDC_INT_A, "  42abc");
            SetText(dlg, IDC_INT_B, "-2147483648");
            SendDlgItemMessageA(dlg, IDC_CHECK, BM_CLICK, 0, 0);  // checked -> indeterminate
            SetText(dlg, IDC_FLOAT, " 2,25 mV");
            Press(dlg, button);
        };
    };
    ModalScript ui;
    ui.call(edit_and(IDCANCEL));
    EXPECT_FALSE(RunSynced(IDD_SYNC_FIELDS, f.table));
    EXPECT_EQ(shown, (std::vector<std::string>{"Název č. 1", "-17", "5", "1,500"}));
    EXPECT_EQ(check, BST_INDETERMINATE);
    f.check = 1;
    f.ExpectUnchanged();

    ui.call(edit_and(IDOK));
    EXPECT_TRUE(RunSynced(IDD_SYNC_FIELDS, f.table));
    EXPECT_EQ(check, BST_CHECKED);
    EXPECT_STREQ(f.str, "Třetí");
    EXPECT_EQ(f.a, 42);
    EXPECT_EQ(f.b, -2147483647 - 1);
    // Callers keeping a flag test for 1, so an indeterminate box reads as "off" there.
    EXPECT_EQ(f.check, 2);
    EXPECT_FALSE(f.number.undefined);
    EXPECT_EQ(f.number.value, 2.25);
    EXPECT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(SyncDialog, InvalidFieldsAreReportedInTableOrderAndFocusedAndNothingIsStored) {
    // One dialog, OK pressed once per row with every field before the row's own valid.
    const struct {
        int id;
        const char* text;
        const char* error;
    } rejected[] = {
        {IDC_INT_A, "abc", "Chyba v poli A: čísla"},  // B is empty as well: A comes first
        {IDC_INT_B, "", "Chyba v poli B"},           {IDC_INT_B, "   ", "Chyba v poli B"},
        {IDC_INT_B, "x12", "Chyba v poli B"},        {IDC_INT_B, "- 3", "Chyba v poli B"},
        {IDC_INT_B, "99999999999", "Chyba v poli B"}, {IDC_INT_B, "-2147483649", "Chyba v poli B"},
        {IDC_FLOAT, "*", "Chyba v čísle"},
    };
    const size_t n = sizeof rejected / sizeof rejected[0];
    Fields f;
    ModalScript ui;
    std::vector<bool> open;
    std::vector<std::pair<HWND, HWND>> focus;  // focused, expected
    ui.call([&](HWND dlg) {
        // Shown now, so that an EndDialog would show as the dialog being hidden.
        ShowWindow(dlg, SW_SHOW);
        SetText(dlg, IDC_STR, "změněno");
        SendDlgItemMessageA(dlg, IDC_CHECK, BM_CLICK, 0, 0);
        SetText(dlg, IDC_INT_B, "");
        for (const auto& r : rejected) {
            if (r.id != IDC_INT_A) SetText(dlg, IDC_INT_A, "12");
            if (r.id == IDC_FLOAT) SetText(dlg, IDC_INT_B, "1");
            SetText(dlg, r.id, r.text);
            SetFocus(GetDlgItem(dlg, IDC_STR));
            Press(dlg, IDOK);
            open.push_back(IsWindow(dlg) && IsWindowVisible(dlg));
            focus.push_back({GetFocus(), GetDlgItem(dlg, r.id)});
        }
        Press(dlg, IDCANCEL);
    });
    for (size_t i = 0; i < n; ++i) ui.press(IDOK);
    EXPECT_FALSE(RunSynced(IDD_SYNC_FIELDS, f.table));
    ASSERT_EQ(ui.seen().size(), n + 1);
    ASSERT_EQ(focus.size(), n);
    for (size_t i = 0; i < n; ++i) {
        SCOPED_TRACE(rejected[i].text);
        EXPECT_EQ(ui.seen()[i + 1].text, rejected[i].error);
        EXPECT_EQ(ui.seen()[i + 1].icon, static_cast<UINT>(MB_ICONERROR));
        EXPECT_TRUE(open[i]);
        EXPECT_EQ(focus[i].first, focus[i].second);
    }
    // Nothing was stored, the fields that were valid included.
    f.ExpectUnchanged();
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(SyncDialog, ValidatorsSeeTheParsedValueAndCanRejectIt) {
    Fields f;
    f.table[0].validator = NotEmptyText;
    f.table[1].validator = NotNegative;
    f.table[4].validator = AtMostTen;
    ModalScript ui;
    ui.call([&](HWND dlg) {
        SetText(dlg, IDC_INT_A, "-3");
        Press(dlg, IDOK);  // A is rejected; B and the number are not asked
        SetText(dlg, IDC_INT_A, "3");
        SetText(dlg, IDC_FLOAT, "10,5");
        Press(dlg, IDOK);  // the number is rejected
        SetText(dlg, IDC_FLOAT, "9,75");
        Press(dlg, IDOK);
    });
    ui.press(IDOK).press(IDOK);
    EXPECT_TRUE(RunSynced(IDD_SYNC_FIELDS, f.table));
    ASSERT_EQ(ui.seen().size(), 3u);
    EXPECT_EQ(ui.seen()[1].text, "Chyba v poli A: čísla");
    EXPECT_EQ(ui.seen()[2].text, "Chyba v čísle");

    ASSERT_EQ(asked.size(), 8u);
    EXPECT_EQ(asked[0].id, static_cast<unsigned>(IDC_STR));
    EXPECT_EQ(asked[0].text, "Název č. 1");
    EXPECT_EQ(asked[1].id, static_cast<unsigned>(IDC_INT_A));
    EXPECT_EQ(asked[1].number, -3);
    EXPECT_EQ(asked[3].number, 3);
    EXPECT_EQ(asked[4].id, static_cast<unsigned>(IDC_FLOAT));
    EXPECT_EQ(asked[4].number, 1050);
    EXPECT_EQ(asked[7].number, 975);
    EXPECT_EQ(f.a, 3);
    EXPECT_EQ(f.number.value, 9.75);
}

TEST_F(SyncDialog, StringEditsStoreAtMostParamMinusOneCharacters) {
    char text[6] = "ab";
    int unused = 0;
    tag_CTL_SYNC table[] = {
        {SYNC_STR_EDIT, nullptr, IDC_STR, text, sizeof text, nullptr, nullptr, NotEmptyText},
        {SYNC_INT_EDIT, nullptr, IDC_INT_A, &unused, 0, nullptr, nullptr, nullptr},
        kEnd,
    };
    // Five bytes end inside the third two-byte letter, which is dropped whole.
    for (const auto& c : {std::make_pair("abcdefghij", "abcde"), std::make_pair("žžžž", "žž")}) {
        asked.clear();
        ModalScript ui;
        ui.call([&](HWND dlg) {
            SetText(dlg, IDC_STR, c.first);
            Press(dlg, IDOK);
        });
        EXPECT_TRUE(RunSynced(IDD_SYNC_FIELDS, table));
        EXPECT_STREQ(text, c.second);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].text, c.second);
    }
}

TEST_F(SyncDialog, DisplayOnlyDialogShowsNumbersAndReadsNothingBack) {
    const struct {
        bool comma;
        int precision;
        bool undefined;
        double value;
        const char* shown;
        bool escape;
    } runs[] = {
        {true, 3, false, 1.5, "1,500", true},  // Esc gives false
        {false, 2, false, -2.0, "-2.00", false},
        {false, 4, true, 0.0, "*", false},
    };
    for (const auto& r : runs) {
        SCOPED_TRACE(r.shown);
        use_comma = r.comma;
        Fields f;
        f.table[4].param = r.precision;
        f.number.value = r.value;
        f.number.undefined = r.undefined;
        std::string shown;
        ModalScript ui;
        ui.call([&](HWND dlg) {
            shown = ItemText(dlg, IDC_FLOAT);
            SetText(dlg, IDC_STR, "jiný");
            SetText(dlg, IDC_INT_A, "1");
            SetText(dlg, IDC_INT_B, "xx");
            SetText(dlg, IDC_FLOAT, "3");
            SendDlgItemMessageA(dlg, IDC_CHECK, BM_CLICK, 0, 0);
            if (!r.escape) return Press(dlg, IDOK);
            // A real Esc press, handled by the dialog's own loop.
            HWND edit = GetDlgItem(dlg, IDC_INT_A);
            SetFocus(edit);
            PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageA(edit, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        });
        EXPECT_EQ(RunSyncedOut(IDD_SYNC_FIELDS, f.table), !r.escape);
        EXPECT_EQ(shown, r.shown);
        EXPECT_EQ(f.number.undefined, r.undefined);
        EXPECT_EQ(f.number.value, r.value);
        f.number = ext_float(1.5);
        f.ExpectUnchanged();
        EXPECT_EQ(ui.seen().size(), 1u);
    }
}

TEST_F(SyncDialog, FillFailuresAreReportedAndTheDialogStillOpens) {
    char text[4] = {'a', 'b', 'c', 'd'};  // no NUL within its size: reported, not shown
    int a = 3, missing = 7;
    tag_CTL_SYNC table[] = {
        {SYNC_STR_EDIT, nullptr, IDC_STR, text, sizeof text, nullptr, "Nelze zobrazit", nullptr},
        {SYNC_CUSTOM, FailingProc, IDC_INT_B, nullptr, SYNC_OP_OUT, nullptr, nullptr, nullptr},  // silent
        {SYNC_INT_EDIT, nullptr, IDC_INT_A, &a, 0, nullptr, nullptr, nullptr},
        {SYNC_INT_EDIT, nullptr, IDC_MISSING, &missing, 0, "Chybí", nullptr, nullptr},
        kEnd,
    };
    ModalScript ui;
    // The report, shown while the dialog initialises; closed from its own loop so that the
    // dialog is answered only once it has been filled.
    ui.call([](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
    bool quiet = false, reported = true;
    std::string str_text = "?", a_text;
    HWND focus = nullptr, field = nullptr;
    ui.call([&](HWND dlg) {
        str_text = ItemText(dlg, IDC_STR);
        a_text = ItemText(dlg, IDC_INT_A);
        quiet = SyncOut(dlg, table, false);
        reported = SyncOut(dlg, table, true);  // answered below
        // A row without its control never passes and never moves the focus.
        field = GetDlgItem(dlg, IDC_INT_A);
        SetFocus(field);
        SetText(dlg, IDC_INT_A, "2");
        Press(dlg, IDOK);
        focus = GetFocus();
        Press(dlg, IDCANCEL);
    });
    ui.press(IDOK).press(IDOK);
    EXPECT_FALSE(RunSynced(IDD_SYNC_FIELDS, table));
    ASSERT_EQ(ui.seen().size(), 4u);
    EXPECT_EQ(ui.seen()[0].text, "Nelze zobrazit");
    EXPECT_EQ(ui.seen()[0].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(ui.seen()[1].caption, "Pole");
    EXPECT_EQ(ui.seen()[2].text, "Nelze zobrazit");
    EXPECT_EQ(ui.seen()[3].text, "Chybí");
    EXPECT_EQ(str_text, "");
    // Rows after the failing ones are filled all the same.
    EXPECT_EQ(a_text, "3");
    EXPECT_TRUE(quiet);
    EXPECT_FALSE(reported);
    EXPECT_EQ(focus, field);
    EXPECT_EQ(missing, 7);
    EXPECT_EQ(a, 3);
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(SyncDialog, CheckFailureWithoutMessageKeepsTheDialogOpenSilently) {
    Fields f;
    f.table[3] = {SYNC_CUSTOM, FailingProc, IDC_CHECK, nullptr, SYNC_OP_TRY, nullptr, nullptr,
                  nullptr};
    ModalScript ui;
    bool open = false, quiet = true;
    HWND focus = nullptr, str = nullptr;
    ui.call([&](HWND dlg) {
        str = GetDlgItem(dlg, IDC_STR);
        SetFocus(str);
        SetText(dlg, IDC_INT_A, "1");
        Press(dlg, IDOK);
        open = IsWindow(dlg) != FALSE;
        // Without show_errors even a row with a message fails silently.
        SetText(dlg, IDC_INT_A, "x");
        quiet = TrySyncIn(dlg, f.table, false);
        focus = GetFocus();
        Press(dlg, IDCANCEL);
    });
    EXPECT_FALSE(RunSynced(IDD_SYNC_FIELDS, f.table));
    EXPECT_TRUE(open);
    EXPECT_FALSE(quiet);
    EXPECT_EQ(focus, str);
    EXPECT_EQ(ui.seen().size(), 1u);
    EXPECT_EQ(ui.unexpected(), 0);
    EXPECT_EQ(f.a, -17);
}

TEST_F(SyncDialog, ColourSelectorsShowAndStoreTheirColours) {
    ASSERT_NE(RegisterClrSelCtl(), 0);
    COLORREF colours[4] = {RGB(0, 0, 0), RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 255, 0)};
    int axes = 1, labels = 0;
    const int ids[4] = {IDC_BKG, IDC_LINE, IDC_AXES_C, IDC_LABELS_C};
    tag_CTL_SYNC table[] = {
        {SYNC_CHECKBOX, nullptr, IDC_AXES, &axes, 0, nullptr, nullptr, nullptr},
        {SYNC_CHECKBOX, nullptr, IDC_LABELS, &labels, 0, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ClrSyncProc, ids[0], &colours[0], 0, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ClrSyncProc, ids[1], &colours[1], 0, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ClrSyncProc, ids[2], &colours[2], 0, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ClrSyncProc, ids[3], &colours[3], 0, nullptr, nullptr, nullptr},
        kEnd,
    };
    std::vector<COLORREF> shown;
    ModalScript ui;
    // The user picks other colours (as the chooser would set them) and unchecks the axes.
    ui.call([&](HWND dlg) {
        for (int id : ids)
            shown.push_back(static_cast<COLORREF>(SendDlgItemMessageA(dlg, id, CLRSEL_GETCOLOR, 0, 0)));
        SendDlgItemMessageA(dlg, IDC_LINE, CLRSEL_SETCOLOR, RGB(1, 2, 3), 0);
        SendDlgItemMessageA(dlg, IDC_LABELS_C, CLRSEL_SETCOLOR, RGB(200, 100, 50), 0);
        SendDlgItemMessageA(dlg, IDC_AXES, BM_CLICK, 0, 0);
        Press(dlg, IDOK);
    });
    EXPECT_TRUE(RunSynced(IDD_SYNC_COLOURS, table));
    EXPECT_EQ(shown, (std::vector<COLORREF>{0x000000, 0xFF0000, 0x0000FF, 0x00FF00}));
    EXPECT_EQ(colours[0], RGB(0, 0, 0));
    EXPECT_EQ(colours[1], RGB(1, 2, 3));
    EXPECT_EQ(colours[2], RGB(255, 0, 0));
    EXPECT_EQ(colours[3], RGB(200, 100, 50));
    EXPECT_EQ(axes, 0);
    EXPECT_EQ(labels, 0);
    EXPECT_EQ(ui.unexpected(), 0);
}

}  // namespace
