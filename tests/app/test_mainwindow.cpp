// The main window: start-up state and check, toolbar, layout, closing, keyboard and the about box.
#include <functional>

#include "core/product.h"
#include "core/calc.h"
#include "resources/resource.h"
#include "tests/app/app_test.h"
#include "tests/support/testui.h"

namespace apptest {
namespace {

using MainWindow = AppTest;

TEST_F(MainWindow, StartsWithAnUntitledEmptyDocumentAndASilentStatusBar) {
    EXPECT_EQ(Title(), std::string("Titrion - ") + fname);
    EXPECT_EQ(std::string(fname).rfind("Bez jména ", 0), 0u) << fname;
    EXPECT_TRUE(fname_auto);
    EXPECT_FALSE(dirty);
    EXPECT_EQ(Rows(hwndList), 0);
    EXPECT_EQ(Rows(hwndResults), 0);

    int right[4] = {};
    ASSERT_EQ(SendMessageA(hwndStatus, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(right)), 2);
    for (int part = 0; part < 2; ++part) {
        EXPECT_EQ(LOWORD(SendMessageA(hwndStatus, SB_GETTEXTLENGTHA, part, 0)), 0);
    }
    EXPECT_TRUE(SendMessageA(hwndMain, WM_GETICON, ICON_BIG, 0));
    EXPECT_TRUE(SendMessageA(hwndMain, WM_GETICON, ICON_SMALL, 0));
}

TEST_F(MainWindow, ToolbarHasTheTenEntriesWithTheirLabels) {
    EXPECT_TRUE(IsWindowVisible(hwndTool));
    ASSERT_EQ(SendMessageA(hwndTool, TB_BUTTONCOUNT, 0, 0), 10);
    const struct {
        int command;
        const char* label;
    } expected[] = {{IDM_NEW, "Nový"},    {0, nullptr},         {IDM_OPEN, "Otevřít..."},
                    {IDM_SAVE, "Uložit"}, {0, nullptr},         {IDM_ADD, "Přidat..."},
                    {IDM_EDIT, "Upravit"}, {IDM_DELETE, "Odstranit"}, {0, nullptr},
                    {IDM_ABOUT, "O aplikaci..."}};
    for (int i = 0; i < 10; ++i) {
        TBBUTTON button = {};
        ASSERT_TRUE(SendMessageA(hwndTool, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        if (!expected[i].label) {
            EXPECT_TRUE(button.fsStyle & BTNS_SEP) << i;
            continue;
        }
        EXPECT_EQ(button.idCommand, expected[i].command) << i;
        char text[64] = "";
        SendMessageA(hwndTool, TB_GETBUTTONTEXTA, button.idCommand, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, expected[i].label);
    }
}

TEST_F(MainWindow, ResultListStaysNinetySevenPixelsWideAndTheWindowHasAMinimumSize) {
    for (int width : {640, 900, 1200}) {
        SetWindowPos(hwndMain, nullptr, 0, 0, width, 500, SWP_NOZORDER | SWP_NOMOVE);
        RECT client, list, results, tool, status;
        GetClientRect(hwndMain, &client);
        for (auto [wnd, rc] : {std::pair{hwndList, &list}, std::pair{hwndResults, &results},
                               std::pair{hwndTool, &tool}, std::pair{hwndStatus, &status}}) {
            GetWindowRect(wnd, rc);
            MapWindowPoints(nullptr, hwndMain, reinterpret_cast<POINT*>(rc), 2);
        }
        EXPECT_EQ(results.right - results.left, 97) << width;
        EXPECT_EQ(results.right, client.right) << width;
        EXPECT_EQ(list.left, 0);
        EXPECT_EQ(list.right - list.left, client.right - 100) << width;
        EXPECT_EQ(list.top, tool.bottom - 2);
        EXPECT_EQ(list.bottom, status.top + 1);
        EXPECT_EQ(results.top, list.top);
        EXPECT_EQ(results.bottom, list.bottom);
        int right[2] = {};
        SendMessageA(hwndStatus, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(right));
        EXPECT_EQ(right[0], client.right - 100);
    }

    SetWindowPos(hwndMain, nullptr, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOMOVE);
    RECT window;
    GetWindowRect(hwndMain, &window);
    EXPECT_EQ(window.right - window.left, 480);
    EXPECT_EQ(window.bottom - window.top, 300);
}

TEST_F(MainWindow, KonecAltXAltF4EscAndTheCloseBoxAskBeforeUnsavedPointsAreLost) {
    Load({{1, 100}, {2, 200}});
    dirty = true;
    const std::string name = fname;
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"Konec", [&] { SendMessageA(hwndMain, WM_COMMAND, IDM_EXIT, 0); }},
        {"Alt+X", [&] { Keys(hwndList, {KeyDown('X', {VK_MENU})}); }},
        {"Alt+F4", [&] { Keys(hwndList, {KeyDown(VK_F4, {VK_MENU})}); }},
        {"Esc", [&] { Keys(hwndList, {KeyDown(VK_ESCAPE)}); }},
        {"close box", [&] { SendMessageA(hwndMain, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& way : ways) {
        testui::ModalScript ui;
        ui.press(IDCANCEL);
        way.second();
        RunQueue();
        ASSERT_EQ(ui.seen().size(), 1u) << way.first;
        EXPECT_EQ(ui.seen()[0].caption, "Potvrďte") << way.first;
        EXPECT_EQ(ui.seen()[0].text, "Mají se změny provedené v dokumentu " + name + " uložit?");
        EXPECT_EQ(ui.seen()[0].icon, static_cast<UINT>(MB_ICONQUESTION));
        EXPECT_TRUE(IsWindow(hwndMain)) << way.first;
        EXPECT_TRUE(dirty);
    }

    testui::ModalScript ui;
    ui.press(IDNO);
    SendMessageA(hwndMain, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_TRUE(RunQueue());
    EXPECT_FALSE(IsWindow(hwndMain));
}

TEST_F(MainWindow, AChangedButEmptyDocumentEndsOnEscWithoutAsking) {
    Load({{1, 100}});
    testui::ModalScript ui;
    ui.press(IDYES);  // "Všechny položky budou vymazány."
    SendMessageA(hwndMain, WM_COMMAND, IDM_DELETEALL, 0);
    ASSERT_TRUE(dirty);
    EXPECT_TRUE(Keys(hwndList, {KeyDown(VK_ESCAPE)}));
    EXPECT_EQ(ui.seen().size(), 1u);
    EXPECT_EQ(ui.unexpected(), 0);
}

UINT WINAPI CentralEuropeanCodePage() {
    return 1250;
}

TEST(StartUp, WithoutTheUtf8CodePageOneWarningInAsciiNamesTheWindowsVersion) {
    testui::ModalScript ui;
    CheckCodePage();  // the tests run under the program's manifest
    EXPECT_TRUE(ui.seen().empty());

    testui::ImportHook acp("kernel32.dll", "GetACP", reinterpret_cast<void*>(&CentralEuropeanCodePage));
    ASSERT_GT(acp.patched(), 0);
    ui.press(IDOK);
    CheckCodePage();
    ASSERT_EQ(ui.seen().size(), 1u);
    const std::string text = ui.seen()[0].text;
    EXPECT_NE(text.find("Windows 10 verze 1903 nebo novejsi"), std::string::npos) << text;
    for (char c : text) EXPECT_GE(c, 0) << text;  // no byte above 127
    EXPECT_EQ(ui.seen()[0].icon, static_cast<UINT>(MB_ICONWARNING));
}

TEST_F(MainWindow, YesWithACancelledSavePickerKeepsTheProgramAndTheDocument) {
    Load({{1, 100}, {2, 200}});
    dirty = true;
    testui::ModalScript ui;
    ui.press(IDYES).press(IDCANCEL);
    SendMessageA(hwndMain, WM_CLOSE, 0, 0);
    EXPECT_FALSE(RunQueue());
    ASSERT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.seen()[1].caption, "Uložit soubor");
    EXPECT_TRUE(IsWindow(hwndMain));
    EXPECT_EQ(Document(), (Points{{1, 100}, {2, 200}}));
    EXPECT_TRUE(dirty);
    EXPECT_TRUE(fname_auto);
}

TEST_F(MainWindow, TypedPAndSmallPAddEnterAndSpaceEditOnlyWithASelectedPoint) {
    Load({{1, 100}, {2, 200}});
    testui::ModalScript ui;
    ui.press(IDCANCEL).press(IDCANCEL);
    Keys(hwndList, {Char('p'), Char('P')});
    ASSERT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.seen()[0].caption, "Přidat...");
    EXPECT_EQ(ui.seen()[1].caption, "Přidat...");

    // Nothing selected: "Upravit..." is greyed, so Enter and Space do nothing.
    Keys(hwndList, {KeyDown(VK_RETURN), KeyDown(VK_SPACE)});
    EXPECT_EQ(ui.seen().size(), 2u);
    EXPECT_TRUE(IsWindow(hwndMain));

    SelectListItem(1);
    ui.press(IDCANCEL).press(IDCANCEL);
    Keys(hwndList, {KeyDown(VK_RETURN), KeyDown(VK_SPACE)});
    ASSERT_EQ(ui.seen().size(), 4u);
    EXPECT_EQ(ui.seen()[2].caption, "Upravit...");
    EXPECT_EQ(ui.seen()[3].caption, "Upravit...");
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(MainWindow, ShortcutsOfGreyedCommandsDoNothing) {
    Load({{1, 100}, {2, 200}});
    testui::BeepCounter beeps;
    testui::ModalScript ui;
    Keys(hwndList, {KeyDown('C', {VK_CONTROL}), KeyDown('X', {VK_CONTROL}), KeyDown(VK_DELETE),
                    KeyDown('G', {VK_CONTROL})});
    EXPECT_EQ(beeps.exclamations(), 0);
    EXPECT_EQ(Document().size(), 2u);
    EXPECT_TRUE(ui.seen().empty());

    SelectListItem(0);
    Keys(hwndList, {KeyDown(VK_DELETE)});
    EXPECT_EQ(Document(), (Points{{2, 200}}));
}

TEST_F(MainWindow, AboutBoxShowsTitleAddressAndClosesWithOkOrEsc) {
    testui::ModalScript ui;
    ui.call([](HWND dlg) {
        char cls[64] = "";
        GetClassNameA(GetDlgItem(dlg, IDC_ABOUT_TITLE), cls, sizeof cls);
        EXPECT_STREQ(cls, "VexClrText");
        EXPECT_EQ(testui::ItemText(dlg, IDC_ABOUT_TITLE), "Titrion 2.0");
        GetClassNameA(GetDlgItem(dlg, IDC_LINK), cls, sizeof cls);
        EXPECT_STREQ(cls, "VexHyperLink");
        EXPECT_EQ(testui::ItemText(dlg, IDC_LINK), TITRION_WEB_ADDRESS);
        EXPECT_EQ(GetParent(dlg), hwndMain);
        testui::Press(dlg, IDOK);
    });
    ui.press(IDCANCEL);
    SendMessageA(hwndMain, WM_COMMAND, IDM_ABOUT, reinterpret_cast<LPARAM>(hwndTool));
    SendMessageA(hwndMain, WM_COMMAND, IDM_ABOUT, 0);
    ASSERT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.seen()[0].caption, "O aplikaci Titrion");
    EXPECT_NE(ui.seen()[0].text.find("titrac"), std::string::npos) << ui.seen()[0].text;
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_TRUE(IsWindow(hwndMain));
}

TEST_F(MainWindow, UnknownCommandsAndTheDialogOkAreIgnored) {
    Load({{1, 100}});
    testui::ModalScript ui;
    for (int id : {IDOK, 40006, 40016, 40029, 39999}) SendMessageA(hwndMain, WM_COMMAND, id, 0);
    EXPECT_TRUE(IsWindow(hwndMain));
    EXPECT_TRUE(ui.seen().empty());
    EXPECT_EQ(Document().size(), 1u);
}

}  // namespace
}  // namespace apptest
