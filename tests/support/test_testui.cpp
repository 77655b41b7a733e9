#include "tests/support/testui.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class TestUi : public ::testing::Test {
protected:
    void SetUp() override {
        owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(owner);
    }
    void TearDown() override { DestroyWindow(owner); }
    HWND owner = nullptr;
};

TEST_F(TestUi, MessageBoxIsReadAndAnswered) {
    testui::ModalScript ui;
    ui.press(IDNO);
    int r = MessageBoxA(owner, "Mají se změny uložit?", "Potvrďte", MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(r, IDNO);
    ASSERT_EQ(ui.seen().size(), 1u);
    EXPECT_EQ(ui.seen()[0].cls, "#32770");
    EXPECT_EQ(ui.seen()[0].caption, "Potvrďte");
    EXPECT_EQ(ui.seen()[0].text, "Mají se změny uložit?");
    EXPECT_EQ(ui.seen()[0].icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(TestUi, IconsAndOrderOfAnswers) {
    testui::ModalScript ui;
    ui.press(IDOK).press(IDYES);
    EXPECT_EQ(MessageBoxA(owner, "a", "Chyba", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBoxA(owner, "b", "Dotaz", MB_YESNO | MB_ICONQUESTION), IDYES);
    ASSERT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.seen()[0].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(ui.seen()[1].icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(ui.seen()[1].text, "b");
}

TEST_F(TestUi, UnansweredDialogIsCancelledAndCounted) {
    testui::ModalScript ui;
    EXPECT_EQ(MessageBoxA(owner, "x", "y", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(ui.unexpected(), 1);
}

TEST_F(TestUi, NestedPromptOfSaveDialogIsAnswered) {
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    std::string file = std::string(path) + "testui_existing.txt";
    FILE* f = std::fopen(file.c_str(), "w");
    ASSERT_TRUE(f);
    std::fclose(f);

    testui::ModalScript ui;
    ui.type(1148, file, IDOK).press(IDYES);
    char name[MAX_PATH] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "Text\0*.txt\0";
    ofn.lpstrFile = name;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    EXPECT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_STRCASEEQ(name, file.c_str());
    ASSERT_EQ(ui.seen().size(), 2u);  // the dialog, then its overwrite question
    EXPECT_EQ(ui.seen()[1].icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(ui.unexpected(), 0);
    DeleteFileA(file.c_str());
}

TEST_F(TestUi, ColourChooserTakesTypedComponents) {
    testui::ModalScript ui;
    ui.call([](HWND dlg) {
        testui::SetText(dlg, 706, "10");   // red
        testui::SetText(dlg, 707, "20");   // green
        testui::SetText(dlg, 708, "30");   // blue
        testui::Press(dlg, IDOK);
    });
    COLORREF custom[16] = {};
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    EXPECT_TRUE(ChooseColorA(&cc));
    EXPECT_EQ(cc.rgbResult, RGB(10, 20, 30));
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
