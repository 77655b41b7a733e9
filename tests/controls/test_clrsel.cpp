#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ClrSel.h"
#include "tests/controls/host.h"
#include "tests/support/testui.h"

namespace {

// Controls of the system colour chooser.
const int CHOOSER_RED = 706, CHOOSER_GREEN = 707, CHOOSER_BLUE = 708, CHOOSER_ADD_CUSTOM = 712;

// What each chooser request looked like when it was made.
struct ChooserCall {
    HWND owner;
    DWORD flags;
    COLORREF initial;
    COLORREF custom[16];
};
std::vector<ChooserCall> chooser_calls;
void* real_choose_color = nullptr;

BOOL WINAPI RecordingChooseColor(CHOOSECOLORA* cc) {
    ChooserCall call{cc->hwndOwner, cc->Flags, cc->rgbResult, {}};
    for (int i = 0; i < 16; ++i) call.custom[i] = cc->lpCustColors[i];
    chooser_calls.push_back(call);
    return reinterpret_cast<BOOL(WINAPI*)(CHOOSECOLORA*)>(real_choose_color)(cc);
}

// Counts the CLRSEL_SETCOLOR messages the control receives.
int set_color_messages = 0;
WNDPROC control_proc = nullptr;
LRESULT CALLBACK CountingProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == CLRSEL_SETCOLOR) ++set_color_messages;
    return CallWindowProcA(control_proc, wnd, msg, wparam, lparam);
}

testui::Action Choose(int r, int g, int b, bool add_custom = false) {
    return [=](HWND dlg) {
        testui::SetText(dlg, CHOOSER_RED, std::to_string(r));
        testui::SetText(dlg, CHOOSER_GREEN, std::to_string(g));
        testui::SetText(dlg, CHOOSER_BLUE, std::to_string(b));
        if (add_custom) testui::Press(dlg, CHOOSER_ADD_CUSTOM);
        testui::Press(dlg, IDOK);
    };
}

const int W = 40, H = 20;

class ClrSel : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterClrSelCtl(); }
    void SetUp() override {
        chooser_calls.clear();
        set_color_messages = 0;
        real_choose_color = hook.original();
        ASSERT_GT(hook.patched(), 0);
    }
    HWND Make(DWORD style = 0) {
        HWND ctl = host.Child(szCS, "", style, 1020, W, H);
        EXPECT_TRUE(ctl);
        return ctl;
    }
    COLORREF Color(HWND ctl) { return static_cast<COLORREF>(SendMessageA(ctl, CLRSEL_GETCOLOR, 0, 0)); }
    Host host;
    testui::ImportHook hook{"comdlg32.dll", "ChooseColorA", reinterpret_cast<void*>(&RecordingChooseColor)};
};

TEST_F(ClrSel, ColourMessages) {
    EXPECT_EQ(RegisterClrSelCtl(), 0);  // already registered
    HWND ctl = Make();
    EXPECT_EQ(Color(ctl), 0u);
    EXPECT_EQ(SendMessageA(ctl, CLRSEL_SETCOLOR, RGB(255, 0, 0), 0), 0);
    EXPECT_EQ(SendMessageA(ctl, CLRSEL_SETCOLOR, RGB(0, 128, 255), 0), static_cast<LRESULT>(RGB(255, 0, 0)));
    EXPECT_EQ(Color(ctl), RGB(0, 128, 255));
    EXPECT_TRUE(host.commands.empty());  // the parent is not told
}

TEST_F(ClrSel, ClickOpensTheChooserOnTheCurrentColourAndCancelKeepsIt) {
    HWND ctl = Make();
    SendMessageA(ctl, CLRSEL_SETCOLOR, RGB(1, 2, 3), 0);
    testui::ModalScript ui;
    ui.call([](HWND dlg) {
        testui::SetText(dlg, CHOOSER_RED, "99");
        testui::Press(dlg, IDCANCEL);
    });
    ui.call(Choose(200, 100, 50));
    Click(ctl, W / 2, H / 2);
    EXPECT_EQ(Color(ctl), RGB(1, 2, 3));
    Click(ctl, W / 2, H / 2);
    ASSERT_EQ(chooser_calls.size(), 2u);
    EXPECT_EQ(chooser_calls[0].owner, ctl);
    EXPECT_EQ(chooser_calls[0].flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR));
    EXPECT_EQ(chooser_calls[0].initial, RGB(1, 2, 3));
    EXPECT_EQ(Color(ctl), RGB(200, 100, 50));
    EXPECT_EQ(ui.unexpected(), 0);
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(ClrSel, SameColourSendsNoSetColour) {
    HWND ctl = Make();
    SendMessageA(ctl, CLRSEL_SETCOLOR, RGB(10, 20, 30), 0);
    control_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(ctl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
    testui::ModalScript ui;
    ui.call(Choose(10, 20, 30)).call(Choose(10, 20, 31));
    Click(ctl, W / 2, H / 2);
    EXPECT_EQ(set_color_messages, 0);
    Click(ctl, W / 2, H / 2);
    EXPECT_EQ(set_color_messages, 1);
    EXPECT_EQ(Color(ctl), RGB(10, 20, 31));
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(ClrSel, CustomColoursCarryToTheNextSelector) {
    HWND first = Make();
    HWND second = Make();
    testui::ModalScript ui;
    ui.call(Choose(12, 34, 56, true)).press(IDCANCEL);
    Click(first, W / 2, H / 2);
    Click(second, W / 2, H / 2);
    ASSERT_EQ(chooser_calls.size(), 2u);
    int added = 0;
    for (int i = 0; i < 16; ++i) {
        if (chooser_calls[1].custom[i] == RGB(12, 34, 56)) ++added;
        if (chooser_calls[0].custom[i] == RGB(12, 34, 56)) --added;
    }
    EXPECT_EQ(added, 1);
    EXPECT_EQ(Color(second), 0u);
    EXPECT_EQ(ui.unexpected(), 0);
}

}  // namespace
