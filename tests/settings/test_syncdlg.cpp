// Synchronised dialogs run for real from test templates and answered on this thread.
#include "settings/syncdlg.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
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

TEST_F(SyncDialog, EndRowOnlyTableKeepsTheTemplateAndOkConfirms) {
    tag_CTL_SYNC table[] = {kEnd};
    ModalScript ui;
    std::string shown, shown_out;
    ui.call([&](HWND dlg) {
        shown = ItemText(dlg, IDC_TEMPLATE_EDIT);
        Press(dlg, IDOK);
    });
    ui.call([&](HWND dlg) {
        shown_out = ItemText(dlg, IDC_TEMPLATE_EDIT);
        Press(dlg, IDOK);
    });
    ui.press(IDOK);
    EXPECT_TRUE(RunSynced(IDD_SYNC_EMPTY, table));
    EXPECT_TRUE(RunSyncedOut(IDD_SYNC_EMPTY, table));
    // No table at all binds nothing either.
    EXPECT_TRUE(RunSynced(IDD_SYNC_EMPTY, nullptr));
    EXPECT_EQ(shown, "šablona");
    EXPECT_EQ(shown_out, "šablona");
    ASSERT_EQ(ui.seen().size(), 3u);
    EXPECT_EQ(ui.seen()[0].caption, "Prázdný");
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(SyncDialog, ControlsShowTheVariablesAndCancelKeepsThem) {
    Fields f;
    f.check = 2;
    ModalScript ui;
    std::string str, a, b, number;
    int check = -1;
    ui.call([&](HWND dlg) {
        str = ItemText(dlg, IDC_STR);
        a = ItemText(dlg, IDC_INT_A);
        b = ItemText(dlg, IDC_INT_B);
        check = CheckState(dlg);
        number = ItemText(dlg, IDC_FLOAT);
        SetText(dlg, IDC_STR, "jiný");
        SetText(dlg, IDC_INT_A, "8");
        Press(dlg, IDCANCEL);
    });
    EXPECT_FALSE(RunSynced(IDD_SYNC_FIELDS, f.table));
    EXPECT_EQ(str, "Název č. 1");
    EXPECT_EQ(a, "-17");
    EXPECT_EQ(b, "5");
    EXPECT_EQ(check, BST_INDETERMINATE);
    EXPECT_EQ(number, "1,500");
    f.check = 1;
    f.ExpectUnchanged();
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(SyncDialog, OkStoresEveryField) {
    Fields f;
    ModalScript ui;
    ui.call([&](HWND dlg) {
        SetText(dlg, IDC_STR, "Třetí");
        SetText(dlg, IDC_INT_A, "  42abc");
        SetText(dlg, IDC_INT_B, "-2147483648");
        SendDlgItemMessageA(dlg, IDC_CHECK, BM_CLICK, 0, 0);  // checked -> indeterminate
        SetText(dlg, IDC_FLOAT, " 2,25 mV");
        Press(dlg, IDOK);
    });
    EXPECT_TRUE(RunSynced(IDD_SYNC_FIELDS, f.table));
    EXPECT_STREQ(f.str, "Třetí");
    EXPECT_EQ(f.a, 42);
    EXPECT_EQ(f.b, -2147483647 - 1);
    // Callers keeping a flag test for 1, so an indeterminate box reads as "off" there.
    EXPECT_EQ(f.check, 2);
    EXPECT_FALSE(f.number.undefined);
    EXPECT_EQ(f.number.value, 2.25);
    EXPECT_EQ(ui.seen().size(), 1u);
}

TEST_F(SyncDialog, FirstInvalidFieldIsReportedAndFocusedThenTheNextOne) {
    Fields f;
    ModalScript ui;
    HWND focus_after_first = nullptr, focus_after_second = nullptr;
    HWND field_a = nullptr, field_b = nullptr;
    bool open_after_first = false, open_after_second = false;
    ui.call([&](HWND dlg) {
        // Shown now, so that an EndDialog would show as the dialog being hidden.
        ShowWindow(dlg, SW_SHOW);
        field_a = GetDlgItem(dlg, IDC_INT_A);
        field_b = GetDlgItem(dlg, IDC_INT_B);
        SetText(dlg, IDC_STR, "změněno");
        SetText(dlg, IDC_INT_A, "abc");
        SetText(dlg, IDC_INT_B, "");
        SendDlgItemMessageA(dlg, IDC_CHECK, BM_CLICK, 0, 0);
        SetText(dlg, IDC_FLOAT, "7");
        SetFocus(GetDlgItem(dlg, IDC_STR));
        Press(dlg, IDOK);
        open_after_first = IsWindow(dlg) && IsWindowVisible(dlg);
        focus_after_first = GetFocus();
        SetText(dlg, IDC_INT_A, "12");
        Press(dlg, IDOK);
        open_after_second = IsWindow(dlg) && IsWindowVisible(dlg);
        focus_after_second = GetFocus();
        Press(dlg, IDCANCEL);
    });
    ui.press(IDOK);  // the report of field A
    ui.press(IDOK);  // the report of field B
    EXPECT_FALSE(RunSynced(IDD_SYNC_FIELDS, f.table));

    ASSERT_EQ(ui.seen().size(), 3u);
    EXPECT_EQ(ui.seen()[1].text, "Chyba v poli A: čísla");
    EXPECT_EQ(ui.seen()[1].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(ui.seen()[2].text, "Chyba v poli B");
    EXPECT_EQ(ui.seen()[2].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(open_after_first);
    EXPECT_TRUE(open_after_second);
    EXPECT_EQ(focus_after_first, field_a);
    EXPECT_EQ(focus_after_second, field_b);
    // Nothing was stored, the fields that were valid included.
    f.ExpectUnchanged();
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(SyncDialog, NumberEditsRejectTextsWithoutANumberOrOutOfRange) {
    const struct {
        int id;
        const char* text;
        const char* error;
    } rejected[] = {
        {IDC_INT_B, "", "Chyba v poli B"},           {IDC_INT_B, "   ", "Chyba v poli B"},
        {IDC_INT_B, "x12", "Chyba v poli B"},        {IDC_INT_B, "- 3", "Chyba v poli B"},
        {IDC_INT_B, "99999999999", "Chyba v poli B"}, {IDC_INT_B, "-2147483649", "Chyba v poli B"},
        {IDC_FLOAT, "*", "Chyba v čísle"},
    };
    for (const auto& r : rejected) {
        SCOPED_TRACE(r.text);
        Fields f;
        ModalScript ui;
        HWND focus = nullptr, field = nullptr;
        ui.call([&](HWND dlg) {
            field = GetDlgItem(dlg, r.id);
            SetText(dlg, r.id, r.text);
            Press(dlg, IDOK);
            focus = GetFocus();
            Press(dlg, IDCANCEL);
        });
        ui.press(IDOK);
        EXPECT_FALSE(RunSynced(IDD_SYNC_FIELDS, f.table));
        ASSERT_EQ(ui.seen().size(), 2u);
        EXPECT_EQ(ui.seen()[1].text, r.error);
        EXPECT_EQ(focus, field);
        f.ExpectUnchanged();
    }
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
    ModalScript ui;
    ui.call([&](HWND dlg) {
        SetText(dlg, IDC_STR, "abcdefghij");
        Press(dlg, IDOK);
    });
    EXPECT_TRUE(RunSynced(IDD_SYNC_FIELDS, table));
    EXPECT_STREQ(text, "abcde");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "abcde");

    // Five bytes end inside the third two-byte letter, which is dropped whole.
    asked.clear();
    ui.call([&](HWND dlg) {
        SetText(dlg, IDC_STR, "žžžž");
        Press(dlg, IDOK);
    });
    EXPECT_TRUE(RunSynced(IDD_SYNC_FIELDS, table));
    EXPECT_STREQ(text, "žž");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "žž");
}

TEST_F(SyncDialog, DisplayOnlyDialogReadsNothingBackAndEscapeGivesFalse) {
    Fields f;
    ModalScript ui;
    ui.call([&](HWND dlg) {
        SetText(dlg, IDC_STR, "jiný");
        SetText(dlg, IDC_INT_A, "1");
        SetText(dlg, IDC_INT_B, "xx");
        SendDlgItemMessageA(dlg, IDC_CHECK, BM_CLICK, 0, 0);
        // A real Esc press, handled by the dialog's own loop.
        HWND edit = GetDlgItem(dlg, IDC_INT_A);
        SetFocus(edit);
        PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageA(edit, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    });
    EXPECT_FALSE(RunSyncedOut(IDD_SYNC_FIELDS, f.table));
    f.ExpectUnchanged();

    ui.call([&](HWND dlg) {
        SetText(dlg, IDC_STR, "jiný");
        SetText(dlg, IDC_INT_B, "xx");
        Press(dlg, IDOK);
    });
    EXPECT_TRUE(RunSyncedOut(IDD_SYNC_FIELDS, f.table));
    f.ExpectUnchanged();
    EXPECT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(SyncDialog, ExtFloatFieldsShowPrecisionSeparatorAndUndefined) {
    ext_float vb(1.5), x1(1.0), y1(2.0), x2(2.0), y2(-2.0);
    tag_CTL_SYNC table[] = {
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_D_VB, &vb, 4, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_D_X1, &x1, 4, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_D_Y1, &y1, 4, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_D_X2, &x2, 4, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_D_Y2, &y2, 4, nullptr, nullptr, nullptr},
        kEnd,
    };
    const int ids[] = {IDC_D_VB, IDC_D_X1, IDC_D_Y1, IDC_D_X2, IDC_D_Y2};
    std::vector<std::string> shown;
    auto read_all = [&](HWND dlg) {
        shown.clear();
        for (int id : ids) shown.push_back(ItemText(dlg, id));
        Press(dlg, IDOK);
    };

    ModalScript ui;
    ui.call(read_all);
    EXPECT_TRUE(RunSyncedOut(IDD_SYNC_DETAILS, table));
    EXPECT_EQ(shown, (std::vector<std::string>{"1,5000", "1,0000", "2,0000", "2,0000", "-2,0000"}));

    use_comma = false;
    for (tag_CTL_SYNC& row : table)
        if (row.type == SYNC_CUSTOM) row.param = 2;
    vb.undefined = true;
    ui.call(read_all);
    EXPECT_TRUE(RunSyncedOut(IDD_SYNC_DETAILS, table));
    EXPECT_EQ(shown, (std::vector<std::string>{"*", "1.00", "2.00", "2.00", "-2.00"}));
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(SyncDialog, FillFailuresAreReportedAndTheDialogStillOpens) {
    int a = 3;
    tag_CTL_SYNC table[] = {
        {SYNC_CUSTOM, FailingProc, IDC_STR, nullptr, SYNC_OP_OUT, nullptr, "Nelze zobrazit", nullptr},
        {SYNC_CUSTOM, FailingProc, IDC_INT_B, nullptr, SYNC_OP_OUT, nullptr, nullptr, nullptr},
        {SYNC_INT_EDIT, nullptr, IDC_INT_A, &a, 0, nullptr, nullptr, nullptr},
        kEnd,
    };
    ModalScript ui;
    // The report, shown while the dialog initialises; closed from its own loop so that the
    // dialog is answered only once it has been filled.
    ui.call([](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
    bool quiet = false, reported = true;
    std::string a_text;
    ui.call([&](HWND dlg) {
        a_text = ItemText(dlg, IDC_INT_A);
        quiet = SyncOut(dlg, table, false);
        reported = SyncOut(dlg, table, true);  // answered below
        Press(dlg, IDOK);
    });
    ui.press(IDOK);
    EXPECT_TRUE(RunSynced(IDD_SYNC_FIELDS, table));
    ASSERT_EQ(ui.seen().size(), 3u);
    EXPECT_EQ(ui.seen()[0].text, "Nelze zobrazit");
    EXPECT_EQ(ui.seen()[0].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(ui.seen()[1].caption, "Pole");
    EXPECT_EQ(ui.seen()[2].text, "Nelze zobrazit");
    // Rows after the failing one are filled all the same.
    EXPECT_EQ(a_text, "3");
    EXPECT_TRUE(quiet);
    EXPECT_FALSE(reported);
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

TEST_F(SyncDialog, RowWithoutItsControlNeverStoresAndNeverMovesTheFocus) {
    int missing = 7;
    int a = 1;
    tag_CTL_SYNC table[] = {
        {SYNC_INT_EDIT, nullptr, IDC_INT_A, &a, 0, nullptr, nullptr, nullptr},
        {SYNC_INT_EDIT, nullptr, IDC_MISSING, &missing, 0, "Chybí", "Nelze zobrazit", nullptr},
        kEnd,
    };
    ModalScript ui;
    ui.call([](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });  // "Nelze zobrazit"
    HWND focus = nullptr, field = nullptr;
    ui.call([&](HWND dlg) {
        field = GetDlgItem(dlg, IDC_INT_A);
        SetFocus(field);
        SetText(dlg, IDC_INT_A, "2");
        Press(dlg, IDOK);
        focus = GetFocus();
        Press(dlg, IDCANCEL);
    });
    ui.press(IDOK);  // "Chybí"
    EXPECT_FALSE(RunSynced(IDD_SYNC_FIELDS, table));
    ASSERT_EQ(ui.seen().size(), 3u);
    EXPECT_EQ(ui.seen()[0].text, "Nelze zobrazit");
    EXPECT_EQ(ui.seen()[2].text, "Chybí");
    EXPECT_EQ(focus, field);
    EXPECT_EQ(missing, 7);
    EXPECT_EQ(a, 1);
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
    // The user picks other colours (as the chooser would set them) and unchecks the axes.
    auto pick = [&](HWND dlg) {
        shown.clear();
        for (int id : ids)
            shown.push_back(static_cast<COLORREF>(SendDlgItemMessageA(dlg, id, CLRSEL_GETCOLOR, 0, 0)));
        SendDlgItemMessageA(dlg, IDC_LINE, CLRSEL_SETCOLOR, RGB(1, 2, 3), 0);
        SendDlgItemMessageA(dlg, IDC_LABELS_C, CLRSEL_SETCOLOR, RGB(200, 100, 50), 0);
        SendDlgItemMessageA(dlg, IDC_AXES, BM_CLICK, 0, 0);
    };
    ModalScript ui;
    ui.call([&](HWND dlg) {
        pick(dlg);
        Press(dlg, IDCANCEL);
    });
    EXPECT_FALSE(RunSynced(IDD_SYNC_COLOURS, table));
    EXPECT_EQ(shown, (std::vector<COLORREF>{0x000000, 0xFF0000, 0x0000FF, 0x00FF00}));
    EXPECT_EQ(colours[1], RGB(0, 0, 255));
    EXPECT_EQ(colours[3], RGB(0, 255, 0));
    EXPECT_EQ(axes, 1);

    ui.call([&](HWND dlg) {
        pick(dlg);
        Press(dlg, IDOK);
    });
    EXPECT_TRUE(RunSynced(IDD_SYNC_COLOURS, table));
    EXPECT_EQ(colours[0], RGB(0, 0, 0));
    EXPECT_EQ(colours[1], RGB(1, 2, 3));
    EXPECT_EQ(colours[2], RGB(255, 0, 0));
    EXPECT_EQ(colours[3], RGB(200, 100, 50));
    EXPECT_EQ(axes, 0);
    EXPECT_EQ(labels, 0);
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(SyncDialog, StringBufferWithoutItsEndIsReportedNotShown) {
    char text[4] = {'a', 'b', 'c', 'd'};  // no NUL within its size
    tag_CTL_SYNC table[] = {
        {SYNC_STR_EDIT, nullptr, IDC_STR, text, sizeof text, nullptr, "Nelze zobrazit", nullptr},
        kEnd,
    };
    ModalScript ui;
    ui.call([](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
    std::string shown = "?";
    ui.call([&](HWND dlg) {
        shown = ItemText(dlg, IDC_STR);
        Press(dlg, IDCANCEL);
    });
    EXPECT_FALSE(RunSynced(IDD_SYNC_FIELDS, table));
    ASSERT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.seen()[0].text, "Nelze zobrazit");
    EXPECT_EQ(shown, "");
}

TEST_F(SyncDialog, MissingTemplateMakesBothRunnersReturnFalse) {
    tag_CTL_SYNC table[] = {kEnd};
    ModalScript ui;
    EXPECT_FALSE(RunSynced(999, table));
    EXPECT_FALSE(RunSyncedOut(999, table));
    EXPECT_TRUE(ui.seen().empty());
}

} // namespace
