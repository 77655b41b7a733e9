// Press, drag, Space and style behaviour common to the colour selector and the hyperlink.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <string>

#include "controls/ClrSel.h"
#include "controls/HyperLink.h"
#include "tests/controls/host.h"
#include "tests/support/testui.h"

namespace {

int activations = 0;
BOOL WINAPI FakeChooseColor(CHOOSECOLORA*) { return ++activations, FALSE; }
HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
    return ++activations, reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

struct Kind {
    const char* cls;
    const char* text;
    int w, h;
    POINT in, out, before;  // on the hot area, just off it, left of or above the control
};

class Push : public ::testing::TestWithParam<Kind> {
protected:
    static void SetUpTestSuite() { RegisterClrSelCtl(), RegisterHyperLinkCtl(); }
    void SetUp() override { activations = 0; ASSERT_GT(chooser.patched() * shell.patched(), 0); }
    HWND Make(DWORD style = 0) { return host.Child(GetParam().cls, GetParam().text, style, 1020, GetParam().w, GetParam().h); }
    const POINT in = GetParam().in, out = GetParam().out, before = GetParam().before;
    Host host;
    testui::BeepCounter beeps;
    testui::ImportHook chooser{"comdlg32.dll", "ChooseColorA", reinterpret_cast<void*>(&FakeChooseColor)};
    testui::ImportHook shell{"shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&FakeShellExecute)};
};

TEST_P(Push, OnlyAReleaseOverTheHotAreaActivatesAndLosingTheCaptureEndsThePress) {
    HWND ctl = Make();
    Click(ctl, out.x, out.y);  // a press off the hot area is no press
    EXPECT_EQ(GetCapture(), nullptr);
    LButtonDown(ctl, in.x, in.y);
    EXPECT_EQ(GetCapture(), ctl);
    MouseMove(ctl, before.x, before.y);
    LButtonUp(ctl, before.x, before.y);
    EXPECT_EQ(GetCapture(), nullptr);
    LButtonDown(ctl, in.x, in.y);
    MouseMove(ctl, out.x, out.y);
    LButtonUp(ctl, out.x, out.y);
    LButtonUp(ctl, in.x, in.y);  // belongs to no press
    EXPECT_EQ(activations, 0);
    LButtonDown(ctl, in.x, in.y);  // out and back: once
    MouseMove(ctl, before.x, before.y);
    MouseMove(ctl, in.x, in.y);
    LButtonUp(ctl, in.x, in.y);
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(GetFocus(), ctl);

    LButtonDown(ctl, in.x, in.y);
    PointerAt(ctl, out.x, out.y);
    ReleaseCapture();
    EXPECT_EQ(activations, 1);
    LButtonDown(ctl, in.x, in.y);
    PointerAt(ctl, in.x, in.y);
    ReleaseCapture();  // another window took the mouse
    EXPECT_EQ(activations, 2);
    LButtonUp(ctl, in.x, in.y);
    EXPECT_EQ(activations, 2);
    EXPECT_EQ(beeps.total(), 0);
}

TEST_P(Push, SpaceActivatesOnceOnReleaseAndClicksMeanwhileOrWhenDisabledBeep) {
    HWND ctl = Make();
    SetFocus(ctl);
    KeyDown(ctl, VK_SPACE);
    KeyDown(ctl, VK_SPACE);  // auto-repeat
    Click(ctl, in.x, in.y);
    EXPECT_EQ(beeps.exclamations(), 1);
    EXPECT_EQ(activations, 0);
    KeyUp(ctl, VK_SPACE);
    KeyUp(ctl, VK_SPACE);
    EXPECT_EQ(activations, 1);

    EXPECT_EQ(SendMessageA(ctl, WM_GETDLGCODE, 0, 0), DLGC_BUTTON);
    EnableWindow(ctl, FALSE);
    EXPECT_EQ(SendMessageA(ctl, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    Click(ctl, in.x, in.y);
    EXPECT_EQ(beeps.exclamations(), 2);
    EnableWindow(ctl, TRUE);
    Click(ctl, in.x, in.y);
    EXPECT_EQ(activations, 2);
}

TEST_P(Push, NoFocusStyleTakesNoFocusAndNotifyStylePostsCommandsInstead) {
    HWND ctl = Make(CTLS_NOFOCUS);
    EXPECT_EQ(SendMessageA(ctl, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    SetFocus(host.hwnd);
    Click(ctl, in.x, in.y);
    EXPECT_EQ(GetFocus(), host.hwnd);
    EXPECT_EQ(activations, 1);  // the mouse still works
    KeyDown(ctl, VK_SPACE);
    KeyUp(ctl, VK_SPACE);
    EXPECT_EQ(activations, 1);

    ctl = Make(CTLS_NOTIFY);
    testui::ModalScript ui;
    Click(ctl, in.x, in.y);
    EXPECT_EQ(GetFocus(), ctl);
    KeyDown(ctl, VK_SPACE);
    KeyUp(ctl, VK_SPACE);
    SendMessageA(ctl, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(in.x, in.y));
    KeyDown(ctl, VK_APPS);
    testui::Pump();
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(ui.menus() + ui.seen().size(), 0u);
    ASSERT_EQ(host.commands.size(), 2u);
    for (const auto& c : host.commands) {
        EXPECT_EQ(c.id, 1020);
        EXPECT_EQ(c.code, BN_CLICKED);
        EXPECT_EQ(c.from, ctl);
    }
}

INSTANTIATE_TEST_SUITE_P(Controls, Push,
                         ::testing::Values(Kind{szCS, "", 40, 20, {40, 20}, {41, 20}, {5, -3}},
                                           Kind{szHC, "Web\thttp://example.org/x", 200, 30, {100, 15}, {2, 15}, {-20, 15}}),
                         [](const ::testing::TestParamInfo<Kind>& info) { return std::string(info.param.cls + 3); });

}  // namespace
