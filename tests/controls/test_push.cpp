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
HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) { return ++activations, nullptr; }

struct Kind { const char* cls; const char* text; int w, h; POINT in, out, before; };  // on the hot area, off it, left or above

class Push : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override { RegisterClrSelCtl(), RegisterHyperLinkCtl(), activations = 0; }
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
    MouseMove(ctl, before.x, before.y), LButtonUp(ctl, before.x, before.y);
    EXPECT_EQ(GetCapture(), nullptr);
    LButtonDown(ctl, in.x, in.y), MouseMove(ctl, out.x, out.y), LButtonUp(ctl, out.x, out.y);
    LButtonUp(ctl, in.x, in.y);  // belongs to no press
    EXPECT_EQ(activations, 0);
    LButtonDown(ctl, in.x, in.y), MouseMove(ctl, before.x, before.y), MouseMove(ctl, in.x, in.y), LButtonUp(ctl, in.x, in.y);
    EXPECT_EQ(activations, 1);  // out and back: once
    EXPECT_EQ(GetFocus(), ctl);
    LButtonDown(ctl, in.x, in.y), PointerAt(ctl, out.x, out.y), ReleaseCapture();
    EXPECT_EQ(activations, 1);
    LButtonDown(ctl, in.x, in.y), PointerAt(ctl, in.x, in.y), ReleaseCapture();  // another window took the mouse
    LButtonUp(ctl, in.x, in.y);
    EXPECT_EQ(activations + beeps.total(), 2);
}

TEST_P(Push, SpaceActivatesOnceOnReleaseAndClicksMeanwhileOrWhenDisabledBeep) {
    HWND ctl = Make();
    SetFocus(ctl);
    Key(ctl, VK_SPACE), Key(ctl, VK_SPACE);  // auto-repeat
    Click(ctl, in.x, in.y);
    EXPECT_EQ(beeps.exclamations() * 10 + activations, 10);
    Key(ctl, VK_SPACE, true), Key(ctl, VK_SPACE, true);
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(SendMessageA(ctl, WM_GETDLGCODE, 0, 0), DLGC_BUTTON);
    EnableWindow(ctl, FALSE);
    EXPECT_EQ(SendMessageA(ctl, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    Click(ctl, in.x, in.y);
    EXPECT_EQ(beeps.exclamations(), 2);
    EnableWindow(ctl, TRUE), Click(ctl, in.x, in.y);
    EXPECT_EQ(activations, 2);
}

TEST_P(Push, NoFocusStyleTakesNoFocusAndNotifyStylePostsCommandsInstead) {
    HWND ctl = Make(CTLS_NOFOCUS);
    EXPECT_EQ(SendMessageA(ctl, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    SetFocus(host.hwnd), Click(ctl, in.x, in.y);
    EXPECT_EQ(GetFocus(), host.hwnd);
    Key(ctl, VK_SPACE), Key(ctl, VK_SPACE, true);
    EXPECT_EQ(activations, 1);  // the mouse still works
    ctl = Make(CTLS_NOTIFY);
    testui::ModalScript ui;
    Click(ctl, in.x, in.y), Key(ctl, VK_SPACE), Key(ctl, VK_SPACE, true);
    EXPECT_EQ(GetFocus(), ctl);
    SendMessageA(ctl, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(in.x, in.y)), Key(ctl, VK_APPS), testui::Pump();
    EXPECT_EQ(activations + ui.menus() + ui.seen().size(), 1u);
    ASSERT_EQ(host.commands.size(), 2u);
    for (const auto& c : host.commands) EXPECT_TRUE(c.id == 1020 && c.code == BN_CLICKED && c.from == ctl);
}

INSTANTIATE_TEST_SUITE_P(Controls, Push,
                         ::testing::Values(Kind{szCS, "", 40, 20, {40, 20}, {41, 20}, {5, -3}},
                                           Kind{szHC, "Web\thttp://example.org/x", 200, 30, {100, 15}, {2, 15}, {-20, 15}}),
                         [](const ::testing::TestParamInfo<Kind>& info) { return std::string(info.param.cls + 3); });

}  // namespace
