// The clipboard helpers, the coloured text, the hyperlink and the colour selector.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

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
    EXPECT_TRUE(GetClipboardOwner() == host.hwnd && ClipboardText() == text);
    char dst[264];
    std::memset(dst, 'X', sizeof dst);
    EXPECT_EQ(GetStringFromClipboard(dst, 256) + GetStringFromClipboard(dst, 0), 1);  // no room for the NUL: refused
    EXPECT_TRUE(std::string(dst) == text.substr(0, 255) && dst[256] == 'X');  // nothing written past the size
    EXPECT_EQ(GetStringFromClipboard(dst, 1), 1);
    EXPECT_STREQ(dst, "");
    ASSERT_EQ(CopyStringToClipboard(host.hwnd, ""), 1);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_GE(GlobalSize(GetClipboardData(CF_TEXT)), 1u);  // the terminator goes along
    EmptyClipboard(), SetClipboardData(CF_BITMAP, CreateBitmap(4, 4, 1, 32, nullptr)), CloseClipboard();
    testui::BeepCounter beeps;
    EXPECT_EQ(GetStringFromClipboard(std::strcpy(dst, "unchanged"), 16), 0);
    EXPECT_EQ(beeps.exclamations(), 1);
    EXPECT_STREQ(dst, "unchanged");
}

TEST(ClrText, TextFontAndColoursThatReturnThePreviousOne) {
    RegisterClrTextCtl();
    EXPECT_EQ(RegisterClrTextCtl(), 0);  // already registered
    Host host;
    HWND ctl = host.Child(szCT, "Titrion", 0, 1007, 300, 40);
    const std::string long_text(300, 'x');
    SetWindowTextA(ctl, long_text.c_str());
    EXPECT_EQ(testui::Text(ctl), long_text);
    auto font_height = [ctl] {
        LOGFONTA lf{};
        return GetObjectA(reinterpret_cast<HFONT>(SendMessageA(ctl, WM_GETFONT, 0, 0)), sizeof lf, &lf), lf.lfHeight;
    };
    EXPECT_EQ(font_height(), 4 - 40);
    SetWindowPos(ctl, nullptr, 0, 0, 200, 25, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(font_height(), 4 - 25);
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), face = GetSysColor(COLOR_BTNFACE);
    // Following the system again stores the system colour, not the LPARAM.
    const struct { UINT msg; WPARAM follow; COLORREF set, previous; } steps[] = {
        {CLRTEXT_SETCOLOR, 0, RGB(1, 2, 3), text},  {CLRTEXT_SETCOLOR, 1, RGB(9, 9, 9), RGB(1, 2, 3)}, {CLRTEXT_SETCOLOR, 0, 0, text},
        {CLRTEXT_SETBKCOLOR, 0, RGB(200, 0, 0), face}, {CLRTEXT_SETBKCOLOR, 1, 0, RGB(200, 0, 0)},   {CLRTEXT_SETBKCOLOR, 0, 0, face}};
    for (const auto& s : steps) EXPECT_EQ(SendMessageA(ctl, s.msg, s.follow, s.set), static_cast<LRESULT>(s.previous));
    EXPECT_TRUE(UpdateWindow(ctl));
}

std::vector<std::string> opened;  // by the shell, with the owner's title and the show mode
HINSTANCE WINAPI FakeShellExecute(HWND owner, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT show) {
    return opened.push_back(testui::Text(owner) + " " + file + " " + std::to_string(show)), reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

TEST(HyperLink, ClickAndThePopupMenuOpenOrCopyTheTargetAndTheHandShowsOverTheLabel) {
    RegisterHyperLinkCtl();
    Host host;
    testui::ImportHook shell{"shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&FakeShellExecute)};
    HWND ctl = host.Child(szHC, "Web\thttp://example.org/x", 0, 1008, 200, 30);
    Click(ctl, 100, 15);
    EXPECT_EQ(opened, std::vector<std::string>{"host http://example.org/x 1"});
    CopyStringToClipboard(nullptr, "old");
    SendMessageA(ctl, WM_COMMAND, HYPERLINK_CMD_COPY, 0);
    EXPECT_TRUE(ClipboardText() == "http://example.org/x" && GetClipboardOwner() == host.hwnd);
    EXPECT_EQ(CopyLink(host.Child(szHC, "http://example.org/whole", 0, 1009, 200, 30)), 1);  // no TAB: the text is both
    EXPECT_EQ(ClipboardText(), "http://example.org/whole");
    for (int x : {100, 2}) {
        PointerAt(ctl, x, 15);
        EXPECT_TRUE(SendMessageA(ctl, WM_SETCURSOR, reinterpret_cast<WPARAM>(ctl), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, x == 100 ? IDC_HAND : IDC_ARROW));
    }

    RECT menu_rect{}, wr;
    GetWindowRect(ctl, &wr);
    testui::ModalScript ui;
    ui.menu([](HWND menu) { testui::ChooseMenuItem(menu, 'c'); });
    ui.menu([&](HWND menu) { GetWindowRect(menu, &menu_rect), testui::ChooseMenuItem(menu, 'e'); });
    CopyStringToClipboard(nullptr, "old");
    SendMessageA(ctl, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 15));
    testui::Pump();
    EXPECT_EQ(ClipboardText(), "http://example.org/x");
    Key(ctl, VK_APPS);  // opens it at the control's centre
    testui::Pump();
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_TRUE(menu_rect.left == (wr.left + wr.right) / 2 && menu_rect.top == (wr.top + wr.bottom) / 2);
    SendMessageA(ctl, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 15));  // beside the label: none
    EXPECT_EQ(ui.menus(), 2);

    // One underlined font for all, as long as the last control lives.
    HWND other = host.Child(szHC, "x", 0, 1010, 200, 30);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(ctl, WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    EXPECT_TRUE(GetObjectA(font, sizeof lf, &lf) && lf.lfUnderline && SendMessageA(other, WM_GETFONT, 0, 0) == (LRESULT)font);
    DestroyWindow(host.hwnd);
    EXPECT_EQ(GetObjectType(font), 0u);
    Host again;
    ctl = again.Child(szHC, "Web\thttp://example.org/x", 0, 1008, 200, 30);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HFONT>(SendMessageA(ctl, WM_GETFONT, 0, 0))), static_cast<DWORD>(OBJ_FONT));
    Click(ctl, 100, 15);  // measured with the new font
    EXPECT_EQ(opened.size(), 3u);
}

// The system colour chooser's fields, and what each request to it held.
const int CHOOSER_RED = 706, CHOOSER_GREEN = 707, CHOOSER_BLUE = 708, CHOOSER_ADD_CUSTOM = 712;
struct ChooserCall { HWND owner; DWORD flags; COLORREF initial; std::vector<COLORREF> custom; };
std::vector<ChooserCall> chooser_calls;
void* real_choose_color = nullptr;
BOOL WINAPI RecordingChooseColor(CHOOSECOLORA* cc) {
    chooser_calls.push_back({cc->hwndOwner, cc->Flags, cc->rgbResult, {cc->lpCustColors, cc->lpCustColors + 16}});
    return reinterpret_cast<BOOL(WINAPI*)(CHOOSECOLORA*)>(real_choose_color)(cc);
}
int set_color_messages = 0;
WNDPROC control_proc = nullptr;
LRESULT CALLBACK CountingProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    return set_color_messages += msg == CLRSEL_SETCOLOR, CallWindowProcA(control_proc, wnd, msg, wparam, lparam);
}
testui::Action Choose(const char* r, const char* g, const char* b, bool add_custom) {
    return [=](HWND dlg) {
        testui::SetText(dlg, CHOOSER_RED, r), testui::SetText(dlg, CHOOSER_GREEN, g), testui::SetText(dlg, CHOOSER_BLUE, b);
        if (add_custom) testui::Press(dlg, CHOOSER_ADD_CUSTOM);
        testui::Press(dlg, IDOK);
    };
}

TEST(ClrSel, TheChooserStartsOnTheColourOnlyANewOneIsSetAndCustomColoursCarryOver) {
    RegisterClrSelCtl();
    EXPECT_EQ(RegisterClrSelCtl(), 0);
    Host host;
    testui::ImportHook hook{"comdlg32.dll", "ChooseColorA", reinterpret_cast<void*>(&RecordingChooseColor)};
    real_choose_color = hook.original();
    HWND ctl = host.Child(szCS, "", 0, 1020, 40, 20), second = host.Child(szCS, "", 0, 1021, 40, 20);
    auto color = [](HWND c) { return static_cast<COLORREF>(SendMessageA(c, CLRSEL_GETCOLOR, 0, 0)); };
    EXPECT_EQ(color(ctl), 0u);
    EXPECT_EQ(SendMessageA(ctl, CLRSEL_SETCOLOR, RGB(1, 2, 3), 0), 0);
    EXPECT_EQ(SendMessageA(ctl, CLRSEL_SETCOLOR, RGB(10, 20, 30), 0), static_cast<LRESULT>(RGB(1, 2, 3)));
    control_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(ctl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
    testui::ModalScript ui;
    ui.call([](HWND dlg) { testui::SetText(dlg, CHOOSER_RED, "99"), testui::Press(dlg, IDCANCEL); });
    ui.call(Choose("10", "20", "30", false)).call(Choose("12", "34", "56", true)).press(IDCANCEL);
    for (int i = 0; i < 3; ++i) Click(ctl, 20, 10);
    EXPECT_EQ(set_color_messages, 1);  // cancel and the same colour set nothing
    EXPECT_EQ(color(ctl), RGB(12, 34, 56));
    Click(second, 20, 10);
    ASSERT_EQ(chooser_calls.size(), 4u);
    EXPECT_TRUE(chooser_calls[0].owner == ctl && chooser_calls[0].flags == (CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR));
    EXPECT_TRUE(chooser_calls[2].initial == RGB(10, 20, 30) && chooser_calls[3].initial == 0 && color(second) == 0);
    auto added = [](const ChooserCall& c) { return std::count(c.custom.begin(), c.custom.end(), RGB(12, 34, 56)); };
    EXPECT_EQ(added(chooser_calls[3]) - added(chooser_calls[2]), 1);
    EXPECT_TRUE(host.commands.empty() && ui.unexpected() == 0);  // the parent is not told
}

}  // namespace
