#include "tests/controls/host.h"

namespace {

LRESULT CALLBACK HostProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_CREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lparam);
        SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        return 0;
    }
    auto* host = reinterpret_cast<Host*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (msg == WM_COMMAND && host) {
        host->commands.push_back({LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam)});
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

}  // namespace

Host::Host() {
    static ATOM cls = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "ControlsTestHost";
        return RegisterClassA(&wc);
    }();
    (void)cls;
    hwnd = CreateWindowExA(0, "ControlsTestHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 300,
                           nullptr, nullptr, GetModuleHandleA(nullptr), this);
    SetForegroundWindow(hwnd);
}

Host::~Host() { DestroyWindow(hwnd); }

HWND Host::Child(const char* cls, const char* text, DWORD style, int id, int w, int h) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, 10, w, h, hwnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void LButtonDown(HWND wnd, int x, int y) { SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
void MouseMove(HWND wnd, int x, int y) { SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
void LButtonUp(HWND wnd, int x, int y) { SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
void KeyDown(HWND wnd, UINT vk) { SendMessageA(wnd, WM_KEYDOWN, vk, 1); }
void KeyUp(HWND wnd, UINT vk) { SendMessageA(wnd, WM_KEYUP, vk, 0xC0000001); }

void Click(HWND wnd, int x, int y) {
    LButtonDown(wnd, x, y);
    LButtonUp(wnd, x, y);
}

void PointerAt(HWND wnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(wnd, &pt);
    SetCursorPos(pt.x, pt.y);
    PostMessageA(wnd, WM_NULL, 0, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

std::string ClipboardText() {
    std::string s = "<none>";
    if (!OpenClipboard(nullptr)) return "<cannot open>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            s = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return s;
}

void SetClipboard(const char* text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    if (text) {
        size_t n = lstrlenA(text) + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n);
        CopyMemory(GlobalLock(block), text, n);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
    } else {
        SetClipboardData(CF_BITMAP, CreateBitmap(4, 4, 1, 32, nullptr));
    }
    CloseClipboard();
}
