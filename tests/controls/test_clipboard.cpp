#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "controls/Clipboard.h"
#include "tests/controls/host.h"
#include "tests/support/testui.h"

namespace {

TEST(Clipboard, LongTextIsCutAndTerminated) {
    Host host;
    std::string text;
    for (int i = 0; i < 300; ++i) text += static_cast<char>('a' + i % 26);
    ASSERT_EQ(CopyStringToClipboard(host.hwnd, text.c_str()), 1);
    EXPECT_EQ(GetClipboardOwner(), host.hwnd);
    EXPECT_EQ(ClipboardText(), text);

    char dst[256 + 8];
    std::memset(dst, 'X', sizeof dst);
    EXPECT_EQ(GetStringFromClipboard(dst, 256), 1);
    EXPECT_EQ(std::strlen(dst), 255u);
    EXPECT_EQ(std::string(dst), text.substr(0, 255));
    EXPECT_EQ(dst[256], 'X');  // nothing written past the given size
}

TEST(Clipboard, PictureOnlyBeepsAndGivesNothing) {
    Host host;
    SetClipboard(nullptr);
    testui::BeepCounter beeps;
    char dst[16] = "unchanged";
    EXPECT_EQ(GetStringFromClipboard(dst, sizeof dst), 0);
    EXPECT_EQ(beeps.exclamations(), 1);
    EXPECT_STREQ(dst, "unchanged");
}

TEST(Clipboard, EmptyStringRoundTripsAndASizeWithoutRoomIsRefused) {
    Host host;
    ASSERT_EQ(CopyStringToClipboard(host.hwnd, ""), 1);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_TRUE(data);
    EXPECT_GE(GlobalSize(data), 1u);
    EXPECT_EQ(static_cast<const char*>(GlobalLock(data))[0], '\0');
    GlobalUnlock(data);
    CloseClipboard();

    testui::BeepCounter beeps;
    char dst[8] = "xyz";
    EXPECT_EQ(GetStringFromClipboard(dst, sizeof dst), 1);
    EXPECT_STREQ(dst, "");
    EXPECT_EQ(beeps.total(), 0);

    // No room for the terminator is refused; room for it alone gives the empty string.
    SetClipboard("12.5\t300");
    char small[4] = "abc";
    EXPECT_EQ(GetStringFromClipboard(small, 0), 0);
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(GetStringFromClipboard(small, 1), 1);
    EXPECT_STREQ(small, "");
}

}  // namespace
