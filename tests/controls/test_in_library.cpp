// The clipboard, coloured text and hyperlink modules built into a second module work there
// beside the program's own copies.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ClrText.h"
#include "controls/HyperLink.h"
#include "tests/controls/host.h"
#include "tests/support/testui.h"

extern "C" __declspec(dllimport) int ProbeRegister();
extern "C" __declspec(dllimport) HWND ProbeCreate(const char* cls, HWND parent, const char* text, int w, int h);

namespace {

std::vector<std::string> opened;

HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) {
    opened.push_back(file);
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

TEST(InLibrary, LibraryCopiesRegisterAndWork) {
    RegisterClrTextCtl();
    RegisterHyperLinkCtl();
    // The library's copies register for the library, beside the program's.
    EXPECT_EQ(ProbeRegister(), 1);
    WNDCLASSA wc;
    HMODULE lib = GetModuleHandleA("controls_probe.dll");
    ASSERT_TRUE(lib);
    ASSERT_TRUE(GetClassInfoA(lib, szHC, &wc));
    EXPECT_EQ(reinterpret_cast<HMODULE>(wc.hInstance), lib);

    Host host;
    testui::ImportHook shell("shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&FakeShellExecute),
                             {"controls_probe.dll"});
    testui::BeepCounter beeps({"controls_probe.dll"});
    HWND link = ProbeCreate(szHC, host.hwnd, "Home\thttp://example.org/lib", 200, 30);
    ASSERT_TRUE(link);
    EXPECT_NE(GetWindowLongPtrA(link, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&HyperLinkWndProc));
    Click(link, 100, 15);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "http://example.org/lib");
    SendMessageA(link, WM_COMMAND, HYPERLINK_CMD_COPY, 0);
    EXPECT_EQ(ClipboardText(), "http://example.org/lib");
    EnableWindow(link, FALSE);
    Click(link, 100, 15);
    EXPECT_EQ(beeps.exclamations(), 1);

    HWND text = ProbeCreate(szCT, host.hwnd, "Titrion 2.0", 200, 30);
    ASSERT_TRUE(text);
    EXPECT_EQ(SendMessageA(text, CLRTEXT_SETCOLOR, 0, RGB(1, 2, 3)),
              static_cast<LRESULT>(GetSysColor(COLOR_WINDOWTEXT)));
}

}  // namespace
