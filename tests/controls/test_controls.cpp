// The clipboard helpers, the coloured text, the hyperlink, the colour selector and the push
// behaviour the last two share.
#include <windows.h>
#include <commdlg.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include "controls/Clipboard.h"
#include "controls/ClrSel.h"
#include "controls/ClrText.h"
#include "controls/HyperLink.h"
#include "tests/controls/host.h"
#include "tests/support/testui.h"

namespace {
TEST(Clipboard, TextIsCutToTheSizeAndAPictureBeeps) {
    Host host;
    std::string text;
    for (int i = 0; i < 300; ++i) text += static_cast<char>('a' + i % 26);
    ASSERT_EQ(CopyStringToClipboard(host.hwnd, text.c_str()), 1);
    EXPECT_EQ(std::tuple(GetClipboardOwner(), ClipboardText()), std::tuple(host.hwnd, text));
    char dst[264];
    std::memset(dst, 'X', sizeof dst);
    EXPECT_EQ(std::pair(GetStringFromClipboard(dst, 256), GetStringFromClipboard(dst, 0)),
              std::pair(1, 0));  // no room: refused
    EXPECT_EQ(std::tuple(std::string(dst), dst[256]),
              std::tuple(text.substr(0, 255), 'X'));  // nothing written past the size
    EXPECT_TRUE(GetStringFromClipboard(dst, 1) && !dst[0]) << "room for the terminator only: " << dst;
    ASSERT_TRUE(CopyStringToClipboard(host.hwnd, "")) << "an empty text";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_GE(GlobalSize(GetClipboardData(CF_TEXT)), 1u);  // the terminator goes along
    EmptyClipboard(), SetClipboardData(CF_BITMAP, CreateBitmap(4, 4, 1, 32, nullptr)), CloseClipboard();
    testui::BeepCounter beeps;
    EXPECT_EQ(GetStringFromClipboard(std::strcpy(dst, "unchanged"), 16), 0);
    EXPECT_EQ(beeps.exclamations(), 1);
    EXPECT_STREQ(dst, "unchanged");
}
TEST(ClrText, FontFollowsTheHeightAndColourMessagesReturnThePreviousOne) {
    RegisterClrTextCtl();
    EXPECT_EQ(RegisterClrTextCtl(), 0);  // already registered
    Host host;
    HWND ctl = host.Child(szCT, std::string(300, 'x').c_str(), 0, 1007, 300, 40);
    EXPECT_EQ(testui::Text(ctl), std::string(300, 'x'));
    auto font_height = [ctl, lf = LOGFONTA{}]() mutable {
        return GetObjectA((HFONT)SendMessageA(ctl, WM_GETFONT, 0, 0), sizeof lf, &lf), lf.lfHeight;
    };
    const int tall = font_height();  // 4 pixels less than the control
    SetWindowPos(ctl, nullptr, 0, 0, 200, 25, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(std::tuple(tall, font_height()), std::tuple(4 - 40, 4 - 25));
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), face = GetSysColor(COLOR_BTNFACE);
    // Following the system again stores the system colour, not the LPARAM.
    // clang-format off
    const struct { UINT msg; WPARAM follow; COLORREF set, previous; } steps[] = {
        {CLRTEXT_SETCOLOR, 0, RGB(1, 2, 3), text},  {CLRTEXT_SETCOLOR, 1, RGB(9, 9, 9), RGB(1, 2, 3)}, {CLRTEXT_SETCOLOR, 0, 0, text},
        {CLRTEXT_SETBKCOLOR, 0, RGB(200, 0, 0), face}, {CLRTEXT_SETBKCOLOR, 1, 0, RGB(200, 0, 0)},   {CLRTEXT_SETBKCOLOR, 0, 0, face}};
    // clang-format on
    for (const auto& s : steps) EXPECT_EQ(SendMessageA(ctl, s.msg, s.follow, s.set), static_cast<LRESULT>(s.previous));
}
std::vector<std::string> opened;  // by the shell, with the owner's title and the show mode
HINSTANCE WINAPI FakeShellExecute(HWND owner, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT show) {
    return opened.push_back(testui::Text(owner) + " " + file + " " + std::to_string(show)), nullptr;
}
TEST(HyperLink, ClickAndThePopupMenuOpenOrCopyTheTargetAndTheHandShowsOverTheLabel) {
    RegisterHyperLinkCtl();
    Host host;
    testui::ImportHook shell{"shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&FakeShellExecute)};
    HWND ctl = host.Child(szHC, "Web\thttp://example.org/x", 0, 1008, 200, 30);
    Click(ctl, 100, 15);
    EXPECT_EQ(opened, std::vector<std::string>{"host http://example.org/x 1"});
    EXPECT_EQ(CopyLink(host.Child(szHC, "http://example.org/whole", 0, 1009, 200, 30)), 1);  // no TAB: the text is both
    EXPECT_EQ(ClipboardText(), "http://example.org/whole");
    for (int x : {100, 2})  // a hand over the label only
        EXPECT_TRUE(
            (PointerAt(ctl, x, 15), SendMessageA(ctl, WM_SETCURSOR, (WPARAM)ctl, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE))) &&
            GetCursor() == LoadCursorA(nullptr, x == 100 ? IDC_HAND : IDC_ARROW));
    RECT menu_rect{}, wr;
    GetWindowRect(ctl, &wr);
    testui::ModalScript ui;
    ui.menu([](HWND menu) { testui::ChooseMenuItem(menu, 'c'); });
    ui.menu([&](HWND menu) { GetWindowRect(menu, &menu_rect), testui::ChooseMenuItem(menu, 'e'); });
    SendMessageA(ctl, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 15)), testui::Pump();
    EXPECT_EQ(std::tuple(ClipboardText(), GetClipboardOwner()),
              std::tuple(std::string("http://example.org/x"), host.hwnd));
    Key(ctl, VK_APPS), testui::Pump();  // opens it at the control's centre
    EXPECT_EQ(std::tuple(opened.size(), menu_rect.left, menu_rect.top),
              std::tuple(size_t(2), (wr.left + wr.right) / 2, (wr.top + wr.bottom) / 2));
    SendMessageA(ctl, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 15));  // beside the label: none
    EXPECT_EQ(ui.menus(), 2);
    // One underlined font for all, as long as the last control lives.
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(ctl, WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
    EXPECT_TRUE(lf.lfUnderline) << "underlined";
    EXPECT_EQ(SendMessageA(GetNextWindow(ctl, GW_HWNDNEXT), WM_GETFONT, 0, 0), (LRESULT)font) << "shared";
    DestroyWindow(host.hwnd);
    Host again;  // and the next control makes a new one
    EXPECT_EQ(GetObjectType(font), 0ul) << "deleted with the last control";
    EXPECT_EQ(GetObjectType((HFONT)SendMessageA(again.Child(szHC, "x", 0, 1008, 200, 30), WM_GETFONT, 0, 0)),
              DWORD(OBJ_FONT));
}
// What each request to the system colour chooser held.
struct ChooserCall {
    HWND owner;
    DWORD flags;
    COLORREF initial;
    std::vector<COLORREF> custom;
};
std::vector<ChooserCall> chooser_calls;
void* real_choose_color = nullptr;
BOOL WINAPI RecordingChooseColor(CHOOSECOLORA* cc) {
    chooser_calls.push_back({cc->hwndOwner, cc->Flags, cc->rgbResult, {cc->lpCustColors, cc->lpCustColors + 16}});
    return reinterpret_cast<BOOL(WINAPI*)(CHOOSECOLORA*)>(real_choose_color)(cc);
}
TEST(ClrSel, TheChooserStartsOnTheColourAndCustomColoursCarryOver) {
    RegisterClrSelCtl();
    EXPECT_EQ(RegisterClrSelCtl(), 0);  // already registered
    Host host;
    testui::ImportHook hook{"comdlg32.dll", "ChooseColorA", reinterpret_cast<void*>(&RecordingChooseColor)};
    real_choose_color = hook.original();
    HWND ctl = host.Child(szCS, "", 0, 1020, 40, 20), second = host.Child(szCS, "", 0, 1021, 40, 20);
    auto color = [](HWND c) { return static_cast<COLORREF>(SendMessageA(c, CLRSEL_GETCOLOR, 0, 0)); };
    EXPECT_EQ(color(ctl), 0u);
    EXPECT_EQ(SendMessageA(ctl, CLRSEL_SETCOLOR, RGB(1, 2, 3), 0), 0);  // the previous colour
    EXPECT_EQ(SendMessageA(ctl, CLRSEL_SETCOLOR, RGB(10, 20, 30), 0), static_cast<LRESULT>(RGB(1, 2, 3)));
    testui::ModalScript ui;  // the chooser's red, green and blue fields, and its "add custom colour"
    ui.call([](HWND dlg) { testui::SetText(dlg, 706, "99"), testui::Press(dlg, IDCANCEL); });
    ui.call([](HWND dlg) {
          testui::SetText(dlg, 706, "12"), testui::SetText(dlg, 707, "34"), testui::SetText(dlg, 708, "56");
          testui::Press(dlg, 712), testui::Press(dlg, IDOK);
      }).press(IDCANCEL);
    Click(ctl, 20, 10);
    const COLORREF cancelled = color(ctl);
    Click(ctl, 20, 10), Click(second, 20, 10);
    EXPECT_EQ(std::tuple(cancelled, color(ctl)), std::tuple(RGB(10, 20, 30), RGB(12, 34, 56)));
    ASSERT_EQ(chooser_calls.size(), 3u);
    EXPECT_EQ(std::tuple(chooser_calls[0].owner, chooser_calls[0].flags),
              std::tuple(ctl, DWORD(CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR)));
    EXPECT_EQ(std::tuple(chooser_calls[1].initial, chooser_calls[2].initial, color(second)),
              std::tuple(RGB(10, 20, 30), 0ul, 0ul));
    for (int i : {1, 2})
        EXPECT_EQ(std::count(chooser_calls[i].custom.begin(), chooser_calls[i].custom.end(), RGB(12, 34, 56)), i - 1);
    EXPECT_EQ(std::tuple(host.commands.size(), ui.unexpected()), std::tuple(size_t(0), 0));  // the parent is not told
}
int activations = 0;
BOOL WINAPI FakeChooseColor(CHOOSECOLORA*) { return ++activations, FALSE; }
HINSTANCE WINAPI CountingShellExecute(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) { return ++activations, nullptr; }
struct Kind {
    const char* cls;
    const char* text;
    int w, h;
    POINT in, out, before;
};  // on the hot area, off it, left or above
struct Push : ::testing::TestWithParam<Kind> {
    void SetUp() override { RegisterClrSelCtl(), RegisterHyperLinkCtl(), activations = 0; }
    HWND Make(DWORD style = 0) {
        return host.Child(GetParam().cls, GetParam().text, style, 1020, GetParam().w, GetParam().h);
    }
    const POINT in = GetParam().in, out = GetParam().out, before = GetParam().before;
    Host host;
    testui::BeepCounter beeps;
    testui::ImportHook chooser{"comdlg32.dll", "ChooseColorA", reinterpret_cast<void*>(&FakeChooseColor)};
    testui::ImportHook shell{"shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&CountingShellExecute)};
};
TEST_P(Push, OnlyAReleaseOverTheHotAreaActivatesAndLosingTheCaptureEndsThePress) {
    HWND ctl = Make();
    Click(ctl, out.x, out.y), LButtonDown(ctl, in.x, in.y);  // a press off the hot area is no press; on it, it captures
    EXPECT_EQ(std::tuple(activations, GetCapture()), std::tuple(0, ctl));
    MouseMove(ctl, before.x, before.y), LButtonUp(ctl, before.x, before.y);
    LButtonDown(ctl, in.x, in.y), ValidateRect(ctl, nullptr), MouseMove(ctl, out.x, out.y);
    EXPECT_TRUE(GetUpdateRect(ctl, nullptr, FALSE)) << "leaving the hot area shows the press released";
    LButtonUp(ctl, out.x, out.y);
    LButtonUp(ctl, in.x, in.y);  // belongs to no press
    EXPECT_EQ(std::tuple(activations, GetCapture()), std::tuple(0, HWND(nullptr)));
    LButtonDown(ctl, in.x, in.y), MouseMove(ctl, before.x, before.y), MouseMove(ctl, in.x, in.y),
        LButtonUp(ctl, in.x, in.y);
    EXPECT_EQ(std::tuple(activations, GetFocus()), std::tuple(1, ctl));            // out and back: once
    LButtonDown(ctl, in.x, in.y), PointerAt(ctl, out.x, out.y), ReleaseCapture();  // another window took the mouse
    LButtonDown(ctl, in.x, in.y), PointerAt(ctl, in.x, in.y), ReleaseCapture(), LButtonUp(ctl, in.x, in.y);
    EXPECT_EQ(activations + beeps.total(), 2);
}
TEST_P(Push, SpaceActivatesOnReleaseClicksMeanwhileOrWhenDisabledBeepAndStylesChangeTheAction) {
    HWND ctl = Make();
    SetFocus(ctl);
    Key(ctl, VK_SPACE), Key(ctl, VK_SPACE), Click(ctl, in.x, in.y);  // auto-repeat, then a click
    EXPECT_EQ(std::pair(beeps.exclamations(), activations), std::pair(1, 0));
    Key(ctl, VK_SPACE, true), Key(ctl, VK_SPACE, true);
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(SendMessageA(ctl, WM_GETDLGCODE, 0, 0), DLGC_BUTTON);
    EnableWindow(ctl, FALSE);
    EXPECT_EQ(SendMessageA(ctl, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    Click(ctl, in.x, in.y);
    EXPECT_EQ(beeps.exclamations(), 2);
    EnableWindow(ctl, TRUE), Click(ctl, in.x, in.y);
    EXPECT_EQ(activations, 2);
    activations = 0;
    // With no focus style it takes no focus and no Space; with the notify style it posts commands.
    ctl = Make(CTLS_NOFOCUS);
    EXPECT_EQ(SendMessageA(ctl, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    SetFocus(host.hwnd), Click(ctl, in.x, in.y), Key(ctl, VK_SPACE), Key(ctl, VK_SPACE, true);
    EXPECT_EQ(std::tuple(GetFocus(), activations), std::tuple(host.hwnd, 1));  // the mouse still works
    ctl = Make(CTLS_NOTIFY);
    testui::ModalScript ui;
    Click(ctl, in.x, in.y), Key(ctl, VK_SPACE), Key(ctl, VK_SPACE, true);
    EXPECT_EQ(GetFocus(), ctl);
    SendMessageA(ctl, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(in.x, in.y)), Key(ctl, VK_APPS), testui::Pump();
    EXPECT_EQ(std::tuple(activations, ui.menus(), ui.seen().size()), std::tuple(1, 0, size_t(0)));
    ASSERT_EQ(host.commands.size(), 2u);
    for (const auto& c : host.commands) EXPECT_EQ(std::tuple(c.id, c.code, c.from), std::tuple(1020, BN_CLICKED, ctl));
}
INSTANTIATE_TEST_SUITE_P(
    Controls, Push,
    ::testing::Values(Kind{szCS, "", 40, 20, {40, 20}, {41, 20}, {5, -3}},
                      Kind{szHC, "Web\thttp://example.org/x", 200, 30, {100, 15}, {2, 15}, {-20, 15}}),
    [](const ::testing::TestParamInfo<Kind>& info) { return std::string(info.param.cls + 3); });
}  // namespace
