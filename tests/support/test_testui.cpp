// The real colour chooser and the open and save dialogs are answered in the controls tests.
#include "tests/support/testui.h"

#include <gtest/gtest.h>

namespace {

TEST(TestUi, MessageBoxesAreReadAndAnsweredInOrderAndAnUnansweredOneIsCancelled) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(owner);
    {
        testui::ModalScript ui;
        ui.press(IDNO).press(IDYES);
        EXPECT_EQ(MessageBoxA(owner, "Mají se změny uložit?", "Potvrďte", MB_YESNOCANCEL | MB_ICONEXCLAMATION), IDNO);
        EXPECT_EQ(MessageBoxA(owner, "b", "Dotaz", MB_YESNO | MB_ICONQUESTION), IDYES);
        EXPECT_EQ(ui.pending(), 0u);
        EXPECT_EQ(MessageBoxA(owner, "a", "Chyba", MB_OKCANCEL | MB_ICONERROR), IDCANCEL);
        ASSERT_EQ(ui.seen().size(), 3u);
        EXPECT_EQ(ui.seen()[0].cls, "#32770");
        EXPECT_EQ(ui.seen()[0].caption, "Potvrďte");
        EXPECT_EQ(ui.seen()[0].text, "Mají se změny uložit?");
        EXPECT_EQ(ui.seen()[0].icon, static_cast<UINT>(MB_ICONWARNING));
        EXPECT_EQ(ui.seen()[1].icon, static_cast<UINT>(MB_ICONQUESTION));
        EXPECT_EQ(ui.seen()[1].text, "b");
        EXPECT_EQ(ui.seen()[2].icon, static_cast<UINT>(MB_ICONERROR));
        EXPECT_EQ(ui.unexpected(), 1);
    }
    DestroyWindow(owner);
}

TEST(BeepCounter, CountsAndRestores) {
    {
        testui::BeepCounter beeps;
        ASSERT_GT(beeps.patched(), 0);
        MessageBeep(MB_ICONEXCLAMATION);
        MessageBeep(MB_OK);
        MessageBeep(MB_ICONEXCLAMATION);
        EXPECT_EQ(beeps.exclamations(), 2);
        EXPECT_EQ(beeps.total(), 3);
        beeps.reset();
        EXPECT_EQ(beeps.exclamations(), 0);
    }
    testui::BeepCounter again;
    EXPECT_EQ(again.total(), 0);
}

}  // namespace
