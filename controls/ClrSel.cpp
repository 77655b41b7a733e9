#include "controls/ClrSel.h"

#include <commdlg.h>

#include "controls/PushTracking.h"
#include "controls/ThisModule.h"

const char szCS[] = "VexClrSel";

namespace {

struct CLRSEL_STATE {
    PUSH_STATE push;
    COLORREF color;
    HBRUSH brush;   // solid brush of color
};

// The custom colours offered by the chooser, shared by all selectors: a grey ramp at first.
COLORREF cc_custom[16] = {
    0x000000, 0x101010, 0x202020, 0x303030, 0x404040, 0x505050, 0x606060, 0x707070,
    0x808080, 0x909090, 0xA0A0A0, 0xB0B0B0, 0xC0C0C0, 0xD0D0D0, 0xE0E0E0, 0xF0F0F0,
};
CHOOSECOLORA cc = {sizeof(CHOOSECOLORA), nullptr, nullptr, 0, cc_custom, 0, 0, nullptr, nullptr};

// The whole control is the hot area.
struct ClrSelOps {
    static bool Hit(HWND wnd, CLRSEL_STATE*, int x, int y) {
        RECT rc;
        GetClientRect(wnd, &rc);
        return x >= 0 && x <= rc.right && y >= 0 && y <= rc.bottom;
    }
    static const RECT* Area(CLRSEL_STATE*) { return nullptr; }
    static void Execute(HWND wnd, CLRSEL_STATE* st) {
        cc.lStructSize = sizeof cc;
        cc.lpCustColors = cc_custom;
        cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
        cc.hwndOwner = wnd;
        cc.rgbResult = st->color;
        if (ChooseColorA(&cc) && cc.rgbResult != st->color)
            SendMessageA(wnd, CLRSEL_SETCOLOR, cc.rgbResult, 0);
    }
};
using Push = PushTracking<CLRSEL_STATE, ClrSelOps>;

LRESULT OnCreate(HWND wnd, const CREATESTRUCTA* cs) {
    auto* st = NewWindowState<CLRSEL_STATE>(wnd);
    if (!st) return -1;
    Push::Init(wnd, &st->push, cs->style);
    st->color = RGB(0, 0, 0);
    st->brush = CreateSolidBrush(st->color);
    return 0;
}

LRESULT OnDestroy(HWND wnd, CLRSEL_STATE* st) {
    DeleteObject(st->brush);
    FreeWindowState(wnd, st);
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
    DrawEdge(dc, &rc, st->push.disabled ? EDGE_BUMP : st->push.pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    RECT swatch = rc;
    InflateRect(&swatch, -2, -2);
    FillRect(dc, &swatch, st->brush);
    if (st->push.focused) {
        RECT focus = rc;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
    EndPaint(wnd, &ps);
    return 0;
}

LRESULT OnFocus(HWND wnd, CLRSEL_STATE* st, bool gained) {
    if (!st->push.focusable) return 0;
    st->push.focused = gained;
    InvalidateRect(wnd, nullptr, FALSE);
    return 0;
}

}  // namespace

ATOM RegisterClrSelCtl() { return RegisterControlClass(szCS, ClrSelWndProc); }

LRESULT CALLBACK ClrSelWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_CREATE) return OnCreate(wnd, reinterpret_cast<const CREATESTRUCTA*>(lparam));
    CLRSEL_STATE* st = WindowState<CLRSEL_STATE>(wnd);
    if (!st) return DefWindowProcA(wnd, msg, wparam, lparam);
    // Mouse positions are signed: a point left of or above the control lies outside.
    const int x = static_cast<short>(LOWORD(lparam)), y = static_cast<short>(HIWORD(lparam));
    switch (msg) {
    case WM_DESTROY: return OnDestroy(wnd, st);
    case WM_PAINT: return OnPaint(wnd, st);
    case WM_LBUTTONDOWN: return Push::OnLButtonDown(wnd, st, x, y);
    case WM_MOUSEMOVE: return Push::OnMouseMove(wnd, st, x, y);
    case WM_LBUTTONUP: return Push::OnLButtonUp(wnd, st, x, y);
    case WM_CAPTURECHANGED: return Push::OnCaptureChanged(wnd, st);
    case WM_KEYDOWN: return Push::OnKeyDown(wnd, st, wparam);
    case WM_KEYUP: return Push::OnKeyUp(wnd, st, wparam);
    case WM_SETFOCUS: return OnFocus(wnd, st, true);
    case WM_KILLFOCUS: return OnFocus(wnd, st, false);
    case WM_ENABLE: return Push::OnEnable(wnd, st);
    case WM_GETDLGCODE: return Push::OnGetDlgCode(st);
    case CLRSEL_SETCOLOR: return OnSetColor(wnd, st, static_cast<COLORREF>(wparam));
    case CLRSEL_GETCOLOR: return st->color;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}
