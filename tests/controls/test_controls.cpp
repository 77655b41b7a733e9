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
    EXPECT_EQ(GetClipboardOwner(), host.hwnd);
    EXPECT_EQ(ClipboardText(), text);
    char dst[264];
    std::memset(dst, 'X', sizeof dst);
    EXPECT_EQ(GetStringFromClipboard(dst, 256), 1);
    EXPECT_EQ(std::string(dst), text.substr(0, 255));
    EXPECT_EQ(dst[256], 'X');  // nothing written past the given size
    EXPECT_EQ(GetStringFromClipboard(dst, 0), 0);
    EXPECT_EQ(dst[0], 'a');
    EXPECT_EQ(GetStringFromClipboard(dst, 1), 1);
    EXPECT_STREQ(dst, "");

    ASSERT_EQ(CopyStringToClipboard(host.hwnd, ""), 1);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_GE(GlobalSize(GetClipboardData(CF_TEXT)), 1u);  // the terminator goes along
    CloseClipboard();
    std::strcpy(dst, "xyz");
    EXPECT_EQ(GetStringFromClipboard(dst, 8), 1);
    EXPECT_STREQ(dst, "");

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, CreateBitmap(4, 4, 1, 32, nullptr));
    CloseClipboard();
    testui::BeepCounter beeps;
    std::strcpy(dst, "unchanged");
    EXPECT_EQ(GetStringFromClipboard(dst, 16), 0);
    EXPECT_EQ(beeps.exclamations(), 1);
    EXPECT_STREQ(dst, "unchanged");
}

TEST(ClrText, TextFontAndColoursThatReturnThePreviousOne) {
    RegisterClrTextCtl();
    EXPECT_EQ(RegisterClrTextCtl(), 0);  // already registered
    Host host;
    // The manifest makes the 8-bit functions UTF-8.
    HWND ctl = host.Child(szCT, "Chyba při otevírání nápovědy", 0, 1007, 300, 40);
    ASSERT_TRUE(ctl);
    wchar_t wide[64] = L"";
    GetWindowTextW(ctl, wide, 64);
    EXPECT_STREQ(wide, L"Chyba p\u0159i otev\u00edr\u00e1n\u00ed n\u00e1pov\u011bdy");
    const std::string long_text(300, 'x');
    SetWindowTextA(ctl, long_text.c_str());
    EXPECT_EQ(testui::Text(ctl), long_text);
    auto font_height = [ctl] {
        LOGFONTA lf{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(ctl, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        return lf.lfHeight;
    };
    EXPECT_EQ(font_height(), 4 - 40);
    SetWindowPos(ctl, nullptr, 0, 0, 200, 25, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(font_height(), 4 - 25);

    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), face = GetSysColor(COLOR_BTNFACE);
    // Following the system again stores the system colour, not the LPARAM.
    const struct { UINT msg; WPARAM follow; COLORREF set, previous; } steps[] = {
        {CLRTEXT_SETCOLOR, 0, RGB(1, 2, 3), text},         {CLRTEXT_SETCOLOR, 1, RGB(9, 9, 9), RGB(1, 2, 3)},
        {CLRTEXT_SETCOLOR, 0, 0, text},                    {CLRTEXT_SETBKCOLOR, 0, RGB(200, 0, 0), face},
        {CLRTEXT_SETBKCOLOR, 1, 0, RGB(200, 0, 0)},        {CLRTEXT_SETBKCOLOR, 0, 0, face}};
    for (const auto& s : steps)
        EXPECT_EQ(SendMessageA(ctl, s.msg, s.follow, s.set), static_cast<LRESULT>(s.previous));
    EXPECT_TRUE(UpdateWindow(ctl));
}

struct ShellCall { HWND owner; std::string file; int show; };
std::vector<ShellCall> shell_calls;
HINSTANCE WINAPI FakeShellExecute(HWND owner, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT show) {
    shell_calls.push_back({owner, file ? file : "", show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

class HyperLink : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterHyperLinkCtl(); }
    void SetUp() override { shell_calls.clear(); ASSERT_GT(shell.patched(), 0); }
    HWND Make(const char* text = "Web\thttp://example.org/x") { return host.Child(szHC, text, 0, 1008, 200, 30); }
    Host host;
    testui::ImportHook shell{"shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&FakeShellExecute)};
};

TEST_F(HyperLink, ClickOpensTheTargetCopyTakesItAndTheHandShowsOverTheLabel) {
    HWND ctl = Make();
    Click(ctl, 100, 15);
    ASSERT_EQ(shell_calls.size(), 1u);
    EXPECT_EQ(shell_calls[0].file, "http://example.org/x");
    EXPECT_EQ(shell_calls[0].owner, host.hwnd);
    EXPECT_EQ(shell_calls[0].show, SW_SHOWNORMAL);
    CopyStringToClipboard(nullptr, "old");
    SendMessageA(ctl, WM_COMMAND, HYPERLINK_CMD_COPY, 0);
    EXPECT_EQ(ClipboardText(), "http://example.org/x");
    EXPECT_EQ(GetClipboardOwner(), host.hwnd);
    EXPECT_EQ(CopyLink(Make("http://example.org/whole")), 1);  // no TAB: the text is both
    EXPECT_EQ(ClipboardText(), "http://example.org/whole");

    ASSERT_NE(LoadCursorA(nullptr, IDC_HAND), LoadCursorA(nullptr, IDC_ARROW));
    for (int x : {100, 2}) {
        PointerAt(ctl, x, 15);
        EXPECT_TRUE(SendMessageA(ctl, WM_SETCURSOR, reinterpret_cast<WPARAM>(ctl), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, x == 100 ? IDC_HAND : IDC_ARROW));
    }
}

TEST_F(HyperLink, PopupMenuExecutesAndCopiesAndTheKeyOpensItAtTheCentre) {
    HWND ctl = Make();
    RECT menu_rect{}, wr;
    GetWindowRect(ctl, &wr);
    testui::ModalScript ui;
    ui.menu([](HWND menu) { testui::ChooseMenuItem(menu, 'c'); });
    ui.menu([&](HWND menu) { GetWindowRect(menu, &menu_rect), testui::ChooseMenuItem(menu, 'e'); });
    CopyStringToClipboard(nullptr, "old");
    SendMessageA(ctl, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 15));
    testui::Pump();
    EXPECT_EQ(ClipboardText(), "http://example.org/x");
    SetFocus(ctl);
    KeyDown(ctl, VK_APPS);
    testui::Pump();
    ASSERT_EQ(shell_calls.size(), 1u);
    EXPECT_EQ(shell_calls[0].file, "http://example.org/x");
    EXPECT_EQ(menu_rect.left, (wr.left + wr.right) / 2);
    EXPECT_EQ(menu_rect.top, (wr.top + wr.bottom) / 2);
    SendMessageA(ctl, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 15));  // beside the label: none
    EXPECT_EQ(ui.menus(), 2);
}

TEST_F(HyperLink, SharedUnderlinedFontLivesAsLongAsTheLastControl) {
    HWND a = Make(), b = Make();
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(a, WM_GETFONT, 0, 0));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(b, WM_GETFONT, 0, 0)), font);
    LOGFONTA lf{};
    ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
    EXPECT_TRUE(lf.lfUnderline);
    DestroyWindow(a);
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    DestroyWindow(b);
    EXPECT_EQ(GetObjectType(font), 0u);
    HWND c = Make();
    EXPECT_EQ(GetObjectType(reinterpret_cast<HFONT>(SendMessageA(c, WM_GETFONT, 0, 0))), static_cast<DWORD>(OBJ_FONT));
    Click(c, 100, 15);  // measured with the new font
    EXPECT_EQ(shell_calls.size(), 1u);
}

// Controls of the system colour chooser.
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
    set_color_messages += msg == CLRSEL_SETCOLOR;
    return CallWindowProcA(control_proc, wnd, msg, wparam, lparam);
}
testui::Action Choose(int r, int g, int b, bool add_custom) {
    return [=](HWND dlg) {
        testui::SetText(dlg, CHOOSER_RED, std::to_string(r));
        testui::SetText(dlg, CHOOSER_GREEN, std::to_string(g));
        testui::SetText(dlg, CHOOSER_BLUE, std::to_string(b));
        if (add_custom) testui::Press(dlg, CHOOSER_ADD_CUSTOM);
        testui::Press(dlg, IDOK);
    };
}

TEST(ClrSel, TheChooserStartsOnTheColourAndOnlyANewOneIsSetAndCustomColoursCarryOver) {
    RegisterClrSelCtl();
    EXPECT_EQ(RegisterClrSelCtl(), 0);
    Host host;
    testui::ImportHook hook{"comdlg32.dll", "ChooseColorA", reinterpret_cast<void*>(&RecordingChooseColor)};
    ASSERT_GT(hook.patched(), 0);
    real_choose_color = hook.original();
    HWND ctl = host.Child(szCS, "", 0, 1020, 40, 20), second = host.Child(szCS, "", 0, 1021, 40, 20);
    auto color = [](HWND c) { return static_cast<COLORREF>(SendMessageA(c, CLRSEL_GETCOLOR, 0, 0)); };
    EXPECT_EQ(color(ctl), 0u);
    EXPECT_EQ(SendMessageA(ctl, CLRSEL_SETCOLOR, RGB(1, 2, 3), 0), 0);
    EXPECT_EQ(SendMessageA(ctl, CLRSEL_SETCOLOR, RGB(10, 20, 30), 0), static_cast<LRESULT>(RGB(1, 2, 3)));
    control_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(ctl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
    testui::ModalScript ui;
    ui.call([](HWND dlg) { testui::SetText(dlg, CHOOSER_RED, "99"), testui::Press(dlg, IDCANCEL); });
    ui.call(Choose(10, 20, 30, false)).call(Choose(12, 34, 56, true)).press(IDCANCEL);
    for (int i = 0; i < 3; ++i) Click(ctl, 20, 10);
    EXPECT_EQ(set_color_messages, 1);  // cancel and the same colour set nothing
    EXPECT_EQ(color(ctl), RGB(12, 34, 56));
    Click(second, 20, 10);
    ASSERT_EQ(chooser_calls.size(), 4u);
    EXPECT_EQ(chooser_calls[0].owner, ctl);
    EXPECT_EQ(chooser_calls[0].flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR));
    EXPECT_EQ(chooser_calls[2].initial, RGB(10, 20, 30));
    EXPECT_EQ(chooser_calls[3].initial, 0u);
    auto added = [](const ChooserCall& c) { return std::count(c.custom.begin(), c.custom.end(), RGB(12, 34, 56)); };
    EXPECT_EQ(added(chooser_calls[3]) - added(chooser_calls[2]), 1);
    EXPECT_EQ(color(second), 0u);
    EXPECT_TRUE(host.commands.empty());  // the parent is not told
    EXPECT_EQ(ui.unexpected(), 0);
}

}  // namespace
