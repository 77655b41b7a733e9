#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "controls/HyperLink.h"
#include "tests/controls/host.h"
#include "tests/support/testui.h"

namespace {

struct ShellCall {
    HWND owner;
    std::string file;
    int show;
};
std::vector<ShellCall> shell_calls;

// Stands in for the shell: records what would be opened.
HINSTANCE WINAPI FakeShellExecute(HWND owner, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT show) {
    shell_calls.push_back({owner, file ? file : "", show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

const int W = 200, H = 30;
const int CX = W / 2, CY = H / 2;  // on the label
const char LINK[] = "Web\thttp://example.org/x";

class HyperLink : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterHyperLinkCtl(); }
    void SetUp() override {
        shell_calls.clear();
        ASSERT_GT(shell.patched(), 0);
    }
    HWND Make(DWORD style = 0, const char* text = LINK) {
        HWND ctl = host.Child(szHC, text, style, 1008, W, H);
        EXPECT_TRUE(ctl);
        return ctl;
    }
    Host host;
    testui::ImportHook shell{"shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&FakeShellExecute)};
};

TEST_F(HyperLink, ClickOpensAndCopyTakesOnlyTheTarget) {
    HWND ctl = Make();
    Click(ctl, CX, CY);
    ASSERT_EQ(shell_calls.size(), 1u);
    EXPECT_EQ(shell_calls[0].file, "http://example.org/x");
    EXPECT_EQ(shell_calls[0].owner, host.hwnd);
    EXPECT_EQ(shell_calls[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(GetFocus(), ctl);
    EXPECT_EQ(testui::Text(ctl), LINK);

    SetClipboard("old");
    SendMessageA(ctl, WM_COMMAND, HYPERLINK_CMD_COPY, 0);
    EXPECT_EQ(ClipboardText(), "http://example.org/x");
    EXPECT_EQ(GetClipboardOwner(), host.hwnd);
    EXPECT_EQ(shell_calls.size(), 1u);

    HWND plain = Make(0, "http://example.org/whole");
    EXPECT_EQ(CopyLink(plain), 1);
    EXPECT_EQ(ClipboardText(), "http://example.org/whole");
    Click(plain, CX, CY);
    ASSERT_EQ(shell_calls.size(), 2u);
    EXPECT_EQ(shell_calls[1].file, "http://example.org/whole");
}

TEST_F(HyperLink, HandCursorOnlyOverTheLabel) {
    HWND ctl = Make();
    const LPARAM client = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    ASSERT_NE(LoadCursorA(nullptr, IDC_HAND), LoadCursorA(nullptr, IDC_ARROW));
    PointerAt(ctl, CX, CY);
    EXPECT_TRUE(SendMessageA(ctl, WM_SETCURSOR, reinterpret_cast<WPARAM>(ctl), client));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    PointerAt(ctl, 2, CY);
    EXPECT_TRUE(SendMessageA(ctl, WM_SETCURSOR, reinterpret_cast<WPARAM>(ctl), client));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(HyperLink, PopupMenuExecutesAndCopies) {
    HWND ctl = Make();
    testui::ModalScript ui;
    ui.menu([](HWND menu) { testui::ChooseMenuItem(menu, 'c'); });
    ui.menu([](HWND menu) { testui::ChooseMenuItem(menu, 'e'); });
    SetClipboard("old");
    SendMessageA(ctl, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(CX, CY));
    testui::Pump();
    EXPECT_EQ(ClipboardText(), "http://example.org/x");
    SetFocus(ctl);
    KeyDown(ctl, VK_APPS);
    testui::Pump();
    EXPECT_EQ(ui.menus(), 2);
    ASSERT_EQ(shell_calls.size(), 1u);
    EXPECT_EQ(shell_calls[0].file, "http://example.org/x");
    // Beside the label there is no menu.
    SendMessageA(ctl, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, CY));
    EXPECT_EQ(ui.menus(), 2);
}

TEST_F(HyperLink, SharedFontLivesAsLongAsTheLastControl) {
    HWND a = Make();
    HWND b = Make();
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(a, WM_GETFONT, 0, 0));
    ASSERT_TRUE(font);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(b, WM_GETFONT, 0, 0)), font);
    LOGFONTA lf{};
    ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
    EXPECT_TRUE(lf.lfUnderline);
    DestroyWindow(a);
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    DestroyWindow(b);
    EXPECT_EQ(GetObjectType(font), 0u);
    HWND c = Make();
    HFONT again = reinterpret_cast<HFONT>(SendMessageA(c, WM_GETFONT, 0, 0));
    ASSERT_TRUE(again);
    EXPECT_EQ(GetObjectType(again), static_cast<DWORD>(OBJ_FONT));
    Click(c, CX, CY);  // measured and working with the new font
    EXPECT_EQ(shell_calls.size(), 1u);
}

}  // namespace
