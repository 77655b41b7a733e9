#include <gtest/gtest.h>

#include <string>

#include "controls/ClrText.h"
#include "tests/controls/host.h"
#include "tests/support/testui.h"

namespace {

class ClrText : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterClrTextCtl(); }
    Host host;
};

int FontHeight(HWND ctl) {
    LOGFONTA lf{};
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(ctl, WM_GETFONT, 0, 0));
    if (!font || !GetObjectA(font, sizeof lf, &lf)) return 0;
    return lf.lfHeight;
}

TEST_F(ClrText, ColourMessagesReturnThePreviousColour) {
    EXPECT_EQ(RegisterClrTextCtl(), 0);  // already registered
    HWND ctl = host.Child(szCT, "Titrion 2.0", 0, 1007, 200, 40);
    ASSERT_TRUE(ctl);
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(SendMessageA(ctl, CLRTEXT_SETCOLOR, 0, RGB(1, 2, 3)), static_cast<LRESULT>(text));
    EXPECT_EQ(SendMessageA(ctl, CLRTEXT_SETCOLOR, 1, RGB(9, 9, 9)), static_cast<LRESULT>(RGB(1, 2, 3)));
    // Following the system again stores the system colour, not the LPARAM.
    EXPECT_EQ(SendMessageA(ctl, CLRTEXT_SETCOLOR, 0, 0), static_cast<LRESULT>(text));

    EXPECT_EQ(SendMessageA(ctl, CLRTEXT_SETBKCOLOR, 0, RGB(200, 0, 0)), static_cast<LRESULT>(face));
    EXPECT_EQ(SendMessageA(ctl, CLRTEXT_SETBKCOLOR, 1, 0), static_cast<LRESULT>(RGB(200, 0, 0)));
    EXPECT_EQ(SendMessageA(ctl, CLRTEXT_SETBKCOLOR, 0, 0), static_cast<LRESULT>(face));
}

// The manifest makes the 8-bit functions UTF-8: the same bytes read back as the
// intended characters through the wide functions.
TEST_F(ClrText, CzechTextIsUtf8AndTheFontFollowsTheHeight) {
    const char utf8[] = "Chyba při otevírání nápovědy";
    HWND ctl = host.Child(szCT, utf8, 0, 1007, 300, 40);
    ASSERT_TRUE(ctl);
    wchar_t wide[64] = L"";
    GetWindowTextW(ctl, wide, 64);
    EXPECT_STREQ(wide, L"Chyba p\u0159i otev\u00edr\u00e1n\u00ed n\u00e1pov\u011bdy");
    EXPECT_EQ(testui::Text(ctl), std::string(utf8));

    EXPECT_EQ(FontHeight(ctl), 4 - 40);
    SetWindowPos(ctl, nullptr, 0, 0, 200, 25, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(FontHeight(ctl), 4 - 25);

    const std::string long_text(300, 'x');
    SetWindowTextA(ctl, long_text.c_str());
    EXPECT_EQ(testui::Text(ctl), long_text);
    EXPECT_TRUE(UpdateWindow(ctl));
}

}  // namespace
