// Point entry and deletion.
#include "app/addedit.h"
#include "core/calc.h"
#include "resources/resource.h"
#include "tests/app/app_test.h"
#include "tests/support/testui.h"

namespace apptest {
namespace {

using PointEntry = AppTest;

void Command(UINT id) {
    SendMessageA(hwndMain, WM_COMMAND, id, 0);
}

// Fills the point dialog and presses OK.
testui::Action Enter(const std::string& vb, const std::string& e) {
    return [=](HWND dlg) {
        testui::SetText(dlg, IDC_VB, vb);
        testui::SetText(dlg, IDC_E, e);
        testui::Press(dlg, IDOK);
    };
}

TEST_F(PointEntry, AddedPointsAreSortedSelectedAndMarkTheDocumentChanged) {
    testui::ModalScript ui;
    ui.call([](HWND dlg) {
        EXPECT_EQ(testui::ItemText(dlg, IDC_VB), "");
        EXPECT_EQ(testui::ItemText(dlg, IDC_E), "");
        EXPECT_EQ(GetParent(dlg), hwndMain);
        EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_VB, EM_GETLIMITTEXT, 0, 0), ADDEDIT_FIELD_LIMIT);
        EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_E, EM_GETLIMITTEXT, 0, 0), ADDEDIT_FIELD_LIMIT);
        testui::Press(dlg, IDCANCEL);
    });
    Command(IDM_ADD);
    EXPECT_TRUE(Document().empty());
    EXPECT_FALSE(dirty);

    ui.call(Enter("2", "200")).call(Enter("12,5", "-3,25")).call(Enter("1.5", "150"));
    Command(IDM_ADD);
    Command(IDM_ADD);
    Command(IDM_ADD);
    EXPECT_EQ(ui.seen()[3].caption, "Přidat...");
    EXPECT_EQ(Document(), (Points{{1.5, 150}, {2, 200}, {12.5, -3.25}}));
    EXPECT_EQ(GetSelectedPoint(), 0);
    EXPECT_EQ(SelectedRow(hwndList), 0);
    EXPECT_TRUE(dirty);
}

TEST_F(PointEntry, ABadFieldIsReportedAndKeepsTheDialogOpenWithTheFocusInIt) {
    testui::ModalScript ui;
    HWND focus_after_vb = nullptr, focus_after_e = nullptr;
    ui.call([&](HWND dlg) {
        testui::SetText(dlg, IDC_VB, "");
        testui::SetText(dlg, IDC_E, "5");
        testui::Press(dlg, IDOK);  // answered by the error box below
        ASSERT_TRUE(IsWindow(dlg));
        focus_after_vb = GetFocus() == GetDlgItem(dlg, IDC_VB) ? GetFocus() : nullptr;
        testui::SetText(dlg, IDC_VB, "3");
        testui::SetText(dlg, IDC_E, "mV");
        testui::Press(dlg, IDOK);
        ASSERT_TRUE(IsWindow(dlg));
        focus_after_e = GetFocus() == GetDlgItem(dlg, IDC_E) ? GetFocus() : nullptr;
        testui::Press(dlg, IDCANCEL);
    });
    HWND owner = nullptr;
    ui.call([&](HWND box) {
          owner = GetWindow(box, GW_OWNER);
          testui::Press(box, IDOK);
      })
        .press(IDOK);
    Command(IDM_ADD);
    ASSERT_EQ(ui.seen().size(), 3u);
    EXPECT_EQ(ui.seen()[1].text, "Chybná hodnota v poli Vb!");
    EXPECT_EQ(ui.seen()[1].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(owner, ui.seen()[0].hwnd);
    EXPECT_EQ(ui.seen()[2].text, "Chybná hodnota v poli E!");
    EXPECT_TRUE(focus_after_vb);
    EXPECT_TRUE(focus_after_e);
    EXPECT_TRUE(Document().empty());
    EXPECT_FALSE(dirty);
}

// "12,5" and "12.5" both meet the stored 12.5.
TEST_F(PointEntry, ADuplicateVbIsReplacedOnlyAfterYes) {
    Load({{10, 100}, {12.5, 120}, {15, 150}});
    testui::ModalScript ui;
    ui.call([](HWND dlg) {
          Enter("12,5", "999")(dlg);  // No keeps the dialog open with the values
          ASSERT_TRUE(IsWindow(dlg));
          EXPECT_EQ(testui::ItemText(dlg, IDC_E), "999");
          testui::Press(dlg, IDCANCEL);
      })
        .press(IDNO);
    Command(IDM_ADD);
    EXPECT_EQ(Document(), (Points{{10, 100}, {12.5, 120}, {15, 150}}));
    EXPECT_FALSE(dirty);
    ASSERT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.seen()[1].caption, "Dotaz");
    EXPECT_EQ(ui.seen()[1].text, "Tato hodnota Vb už je zadána. Přepsat ji?");
    EXPECT_EQ(ui.seen()[1].icon, static_cast<UINT>(MB_ICONQUESTION));

    ui.call(Enter("12.5", "200")).press(IDYES);
    Command(IDM_ADD);
    EXPECT_EQ(Document(), (Points{{10, 100}, {12.5, 200}, {15, 150}}));
    EXPECT_EQ(GetSelectedPoint(), 1);
    EXPECT_TRUE(dirty);
}

// OK, and Storno should an unexpected question have kept the dialog open.
void PressOk(const testui::ModalScript& ui, HWND dlg) {
    testui::Press(dlg, IDOK);
    if (ui.unexpected() > 0) testui::Press(dlg, IDCANCEL);
}

// Both Vb show as "1,235": read back from the field, the first would meet the second.
TEST_F(PointEntry, EditShowsTheDisplayFormAndOkKeepsEveryUntouchedFieldExactly) {
    Load({{1.23456789, -7.654321}, {1.235, 20}});
    SelectListItem(0);
    testui::ModalScript ui;
    ui.call([&ui](HWND dlg) {
        EXPECT_EQ(testui::ItemText(dlg, IDC_VB), "1,235");
        EXPECT_EQ(testui::ItemText(dlg, IDC_E), "-7,6543");
        PressOk(ui, dlg);
    });
    Command(IDM_EDIT);
    EXPECT_EQ(ui.unexpected(), 0);  // no question about replacing 1,235
    EXPECT_EQ(Document(), (Points{{1.23456789, -7.654321}, {1.235, 20}}));
    EXPECT_FALSE(dirty);
    EXPECT_EQ(GetSelectedPoint(), 0);

    ui.call([&ui](HWND dlg) {
        testui::SetText(dlg, IDC_E, "-8");
        PressOk(ui, dlg);
    });
    Command(IDM_EDIT);
    EXPECT_EQ(ui.unexpected(), 0);
    EXPECT_EQ(Document(), (Points{{1.23456789, -8}, {1.235, 20}}));
    EXPECT_EQ(GetSelectedPoint(), 0);
    EXPECT_TRUE(dirty);

    // 1e25 shows as 30 characters, more than a user can type: a changed one is read whole.
    Load({{1e25, 1}});
    SelectListItem(0);
    ui.call(Enter("10000000000000000000000000,5", "1"));
    Command(IDM_EDIT);
    EXPECT_EQ(Document(), (Points{{1e25, 1}}));
    EXPECT_TRUE(dirty);
}

TEST_F(PointEntry, EditingOntoAnotherPointsVbLeavesOnePointLess) {
    Load({{1, 10}, {2, 20}, {3, 30}});
    SelectListItem(2);
    testui::ModalScript ui;
    ui.call(Enter("2", "25")).press(IDYES);
    Command(IDM_EDIT);
    ASSERT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.seen()[1].caption, "Dotaz");
    EXPECT_EQ(Document(), (Points{{1, 10}, {2, 25}}));
    EXPECT_EQ(GetSelectedPoint(), 1);
    EXPECT_EQ(Rows(hwndList), 3);
}

TEST_F(PointEntry, StornoAfterARejectedOkLeavesThePointExactlyAsItWas) {
    Load({{1, 10}, {2.123456789, 20.987654321}, {3, 30}});
    SelectListItem(1);
    testui::ModalScript ui;
    ui.call([](HWND dlg) {
          Enter("2,5", "x")(dlg);
          testui::Press(dlg, IDCANCEL);
      })
        .press(IDOK);
    Command(IDM_EDIT);
    EXPECT_EQ(Document(), (Points{{1, 10}, {2.123456789, 20.987654321}, {3, 30}}));
    EXPECT_FALSE(dirty);
    EXPECT_EQ(GetSelectedPoint(), 1);
}

TEST_F(PointEntry, DeleteRemovesTheSelectedPointAndWithoutOneEditAndDeleteOnlyBeep) {
    Load({{1, 10}, {2, 20}, {3, 30}});
    testui::BeepCounter beeps;
    testui::ModalScript ui;
    EditItem();
    DeleteItem();
    EXPECT_EQ(beeps.exclamations(), 2);
    EXPECT_FALSE(dirty);

    SelectListItem(1);
    SendMessageA(hwndMain, WM_COMMAND, IDM_DELETE, reinterpret_cast<LPARAM>(hwndTool));
    EXPECT_TRUE(ui.seen().empty());
    EXPECT_EQ(Document(), (Points{{1, 10}, {3, 30}}));
    EXPECT_EQ(SelectedRow(hwndList), -1);
    EXPECT_FALSE(ButtonEnabled(IDM_DELETE));
    EXPECT_TRUE(dirty);
}

TEST_F(PointEntry, DeleteAllAsksFirstAndKeepsTheName) {
    testui::ModalScript ui;
    Command(IDM_DELETEALL);  // empty: no question
    EXPECT_TRUE(ui.seen().empty());

    Load({{1, 10}, {2, 20}});
    const std::string name = fname;
    ui.press(IDNO).press(IDYES);
    Command(IDM_DELETEALL);
    EXPECT_EQ(Document().size(), 2u);
    EXPECT_FALSE(dirty);
    Command(IDM_DELETEALL);
    ASSERT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.seen()[0].caption, "Potvrďte");
    EXPECT_EQ(ui.seen()[0].text, "Všechny položky budou vymazány.");
    EXPECT_EQ(ui.seen()[0].icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_TRUE(Document().empty());
    EXPECT_EQ(Rows(hwndList), 0);
    EXPECT_TRUE(dirty);
    EXPECT_EQ(fname, name);
}

}  // namespace
}  // namespace apptest
