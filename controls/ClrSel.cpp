#include "controls/ClrSel.h"

#include <commdlg.h>

#include "controls/ThisModule.h"

const char szCS[] = "VexClrSel";

namespace {

struct CLRSEL_STATE {
    int tracking;   // left button pressed inside is held, mouse captured
    int pressed;    // drawn pushed in
    int disabled;
    int focused;
    int focusable;  // not CTLS_NOFOCUS
    int key_down;   // between Space press and release
    int notify;     // CTLS_NOTIFY
    COLORREF color;
    HBRUSH brush;   // solid brush of color
};

// The custom colours offered by the chooser, shared by all selectors: a grey ramp at first.
COLORREF cc_custom[16] = {
    0x000000, 0x101010, 0x202020, 0x303030, 0x404040, 0x505050, 0x606060, 0x707070,
    0x808080, 0x909090, 0xA0A0A0, 0xB0B0B0, 0xC0C0C0, 0xD0D0D0, 0xE0E0E0, 0xF0F0F0,
};
CHOOSECOLORA cc = {sizeof(CHOOSECOLORA), nullptr, nullptr, 0, cc_custom, 0, 0, nullptr, nullptr};

CLRSEL_STATE* State(HWND wnd) {
    return reinterpret_cast<CLRSEL_STATE*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
}

void CheckState(HWND wnd, int x, int y, CLRSEL_STATE* st, bool redraw) {
    RECT rc;
    GetClientRect(wnd, &rc);
    const int inside = x >= 0 && x <= rc.right && y >= 0 && y <= rc.bottom;
    if (inside == st->pressed) return;
    st->pressed = inside;
    if (redraw) InvalidateRect(wnd, nullptr, FALSE);
}

void Exec(HWND wnd, CLRSEL_STATE* st) {
    if (st->notify) {
        PostMessageA(GetParent(wnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), BN_CLICKED),
                     reinterpret_cast<LPARAM>(wnd));
        return;
    }
    cc.lStructSize = sizeof cc;
    cc.lpCustColors = cc_custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    cc.hwndOwner = wnd;
    cc.rgbResult = st->color;
    if (ChooseColorA(&cc) && cc.rgbResult != st->color)
        SendMessageA(wnd, CLRSEL_SETCOLOR, cc.rgbResult, 0);
}

LRESULT OnCreate(HWND wnd, const CREATESTRUCTA* cs) {
    auto* st = static_cast<CLRSEL_STATE*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(CLRSEL_STATE)));
    if (!st) return -1;
    st->disabled = !IsWindowEnabled(wnd);
    st->color = RGB(0, 0, 0);
    st->brush = CreateSolidBrush(st->color);
    st->focusable = !(cs->style & CTLS_NOFOCUS);
    st->notify = (cs->style & CTLS_NOTIFY) != 0;
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(st));
    return 0;
}

LRESULT OnDestroy(HWND wnd, CLRSEL_STATE* st) {
    SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
    DeleteObject(st->brush);
    HeapFree(GetProcessHeap(), 0, st);
    return 0;
}

LRESULT OnSetColor(HWND wnd, CLRSEL_STATE* st, COLORREF color) {
    const COLORREF previous = st->color;
    HBRUSH brush = CreateSolidBrush(color);
    if (brush) {
        DeleteObject(st->brush);
        st->brush = brush;
    }
    st->color = color;
    InvalidateRect(wnd, nullptr, FALSE);
    return previous;
}

LRESULT OnPaint(HWND wnd, CLRSEL_STATE* st) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT rc;
    GetClientRect(wnd, &rc);
    DrawEdge(dc, &rc, st->disabled ? EDGE_BUMP : st->pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    RECT swatch = rc;
    InflateRect(&swatch, -2, -2);
    FillRect(dc, &swatch, st->brush);
    if (st->focused) {
        RECT focus = rc;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
    EndPaint(wnd, &ps);
    return 0;
}

LRESULT OnLButtonDown(HWND wnd, CLRSEL_STATE* st, int x, int y) {
    if (st->disabled || st->key_down) {
        MessageBeep(MB_ICONEXCLAMATION);
        return 0;
    }
    if (st->focusable) SetFocus(wnd);
    CheckState(wnd, x, y, st, true);
    if (st->pressed) {
        st->tracking = 1;
        SetCapture(wnd);
    }
    return 0;
}

LRESULT OnMouseMove(HWND wnd, CLRSEL_STATE* st, int x, int y) {
    if (st->tracking) CheckState(wnd, x, y, st, true);
    return 0;
}

LRESULT OnLButtonUp(HWND wnd, CLRSEL_STATE* st, int x, int y) {
    if (!st->tracking) return 0;
    st->tracking = 0;
    ReleaseCapture();
    CheckState(wnd, x, y, st, false);
    const int was_pressed = st->pressed;
    st->pressed = 0;
    // Drawn released before the chooser opens.
    InvalidateRect(wnd, nullptr, FALSE);
    UpdateWindow(wnd);
    if (was_pressed) Exec(wnd, st);
    return 0;
}

LRESULT OnCaptureChanged(HWND wnd, CLRSEL_STATE* st) {
    if (!st->tracking) return 0;
    const DWORD pos = GetMessagePos();
    POINT pt{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ScreenToClient(wnd, &pt);
    return OnLButtonUp(wnd, st, pt.x, pt.y);
}

LRESULT OnKeyDown(HWND wnd, CLRSEL_STATE* st, WPARAM key) {
    if (key != VK_SPACE || !st->focusable) return 0;
    st->pressed = 1;
    st->key_down = 1;
    InvalidateRect(wnd, nullptr, FALSE);
    return 0;
}

LRESULT OnKeyUp(HWND wnd, CLRSEL_STATE* st, WPARAM key) {
    if (key != VK_SPACE || !st->key_down) return 0;
    // Stays drawn pressed while the chooser is open.
    Exec(wnd, st);
    st->pressed = 0;
    st->key_down = 0;
    InvalidateRect(wnd, nullptr, FALSE);
    return 0;
}

LRESULT OnFocus(HWND wnd, CLRSEL_STATE* st, bool gained) {
    if (!st->focusable) return 0;
    st->focused = gained;
    InvalidateRect(wnd, nullptr, FALSE);
    return 0;
}

LRESULT OnEnable(HWND wnd, CLRSEL_STATE* st) {
    const int disabled = !IsWindowEnabled(wnd);
    if (disabled != st->disabled) {
        st->disabled = disabled;
        InvalidateRect(wnd, nullptr, FALSE);
    }
    return 0;
}

LRESULT OnGetDlgCode(CLRSEL_STATE* st) {
    return st->focusable && !st->disabled ? DLGC_BUTTON : DLGC_STATIC;
}

}  // namespace

ATOM RegisterClrSelCtl() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ClrSelWndProc;
    wc.hInstance = ThisModule();
    wc.lpszClassName = szCS;
    return RegisterClassA(&wc);
}

LRESULT CALLBACK ClrSelWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_CREATE) return OnCreate(wnd, reinterpret_cast<const CREATESTRUCTA*>(lparam));
    CLRSEL_STATE* st = State(wnd);
    if (!st) return DefWindowProcA(wnd, msg, wparam, lparam);
    // Mouse positions are signed: a point left of or above the control lies outside.
    const int x = static_cast<short>(LOWORD(lparam)), y = static_cast<short>(HIWORD(lparam));
    switch (msg) {
    case WM_DESTROY: return OnDestroy(wnd, st);
    case WM_PAINT: return OnPaint(wnd, st);
    case WM_LBUTTONDOWN: return OnLButtonDown(wnd, st, x, y);
    case WM_MOUSEMOVE: return OnMouseMove(wnd, st, x, y);
    case WM_LBUTTONUP: return OnLButtonUp(wnd, st, x, y);
    case WM_CAPTURECHANGED: return OnCaptureChanged(wnd, st);
    case WM_KEYDOWN: return OnKeyDown(wnd, st, wparam);
    case WM_KEYUP: return OnKeyUp(wnd, st, wparam);
    case WM_SETFOCUS: return OnFocus(wnd, st, true);
    case WM_KILLFOCUS: return OnFocus(wnd, st, false);
    case WM_ENABLE: return OnEnable(wnd, st);
    case WM_GETDLGCODE: return OnGetDlgCode(st);
    case CLRSEL_SETCOLOR: return OnSetColor(wnd, st, static_cast<COLORREF>(wparam));
    case CLRSEL_GETCOLOR: return st->color;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}
