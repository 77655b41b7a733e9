#include "controls/HyperLink.h"

#include <shellapi.h>

#include <cstring>

#include "controls/Clipboard.h"
#include "controls/ThisModule.h"

const char szHC[] = "VexHyperLink";

namespace {

struct HYPERLINK_STATE {
    int tracking;   // left button pressed on the label is held, mouse captured
    int pressed;    // label drawn in its pressed colour
    int disabled;
    int focused;
    int focusable;  // not CTLS_NOFOCUS
    int notify;     // CTLS_NOTIFY
    int key_down;   // between Space press and release
    RECT text_rect;
    RECT focus_rect;
};

// Shared by every hyperlink window of this module.
HFONT hFont = nullptr;
int iUsage = 0;
HCURSOR hCurHand = nullptr;
HCURSOR hCurArrow = nullptr;
HMENU hPopUp = nullptr;

const COLORREF LINK_COLOR = RGB(0, 0, 255);
const COLORREF PRESSED_COLOR = RGB(255, 0, 0);
// Only this much of the window text is used.
const int TEXT_SIZE = 512;

HYPERLINK_STATE* State(HWND wnd) {
    return reinterpret_cast<HYPERLINK_STATE*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
}

// The window text is "label<TAB>target"; without a TAB it is both.
struct LinkText {
    char buf[TEXT_SIZE];
    const char* label;
    const char* target;
    explicit LinkText(HWND wnd) {
        buf[0] = '\0';
        GetWindowTextA(wnd, buf, TEXT_SIZE);
        label = target = buf;
        if (char* tab = std::strchr(buf, '\t')) {
            *tab = '\0';
            target = tab + 1;
        }
    }
};

HFONT CreateLinkFont() {
    LOGFONTA lf;
    GetObjectA(GetStockObject(ANSI_VAR_FONT), sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    return CreateFontIndirectA(&lf);
}

bool InRect(const RECT& r, int x, int y) {
    return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

// Client coordinates of the current message's screen position.
POINT MessagePoint(HWND wnd) {
    DWORD pos = GetMessagePos();
    POINT pt{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ScreenToClient(wnd, &pt);
    return pt;
}

void UpdateSizes(HWND wnd, HYPERLINK_STATE* st) {
    LinkText text(wnd);
    RECT client;
    GetClientRect(wnd, &client);
    RECT rc = client;
    HDC dc = GetDC(wnd);
    HGDIOBJ old = SelectObject(dc, hFont);
    DrawTextA(dc, text.label, -1, &rc, DT_CALCRECT | DT_NOPREFIX | DT_CENTER);
    SelectObject(dc, old);
    ReleaseDC(wnd, dc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    st->text_rect.left = (client.right - w) / 2;
    st->text_rect.top = (client.bottom - h) / 2;
    st->text_rect.right = st->text_rect.left + w;
    st->text_rect.bottom = st->text_rect.top + h;
    st->focus_rect = st->text_rect;
    InflateRect(&st->focus_rect, 2, 2);
}

void CheckState(HWND wnd, int x, int y, HYPERLINK_STATE* st, bool redraw) {
    const int inside = InRect(st->text_rect, x, y) ? 1 : 0;
    if (inside == st->pressed) return;
    st->pressed = inside;
    if (redraw) InvalidateRect(wnd, &st->text_rect, FALSE);
}

void ExecLink(HWND wnd, HYPERLINK_STATE* st) {
    if (st->notify) {
        PostMessageA(GetParent(wnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), BN_CLICKED),
                     reinterpret_cast<LPARAM>(wnd));
        return;
    }
    LinkText text(wnd);
    ShellExecuteA(GetParent(wnd), nullptr, text.target, nullptr, nullptr, SW_SHOWNORMAL);
}

void ShowPopup(HWND wnd, int x, int y) {
    TrackPopupMenu(hPopUp, TPM_RIGHTBUTTON, x, y, 0, wnd, nullptr);
}

LRESULT OnCreate(HWND wnd, const CREATESTRUCTA* cs) {
    auto* st = static_cast<HYPERLINK_STATE*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(HYPERLINK_STATE)));
    if (!st) return -1;
    if (iUsage == 0) hFont = CreateLinkFont();
    ++iUsage;
    st->disabled = !IsWindowEnabled(wnd);
    st->focusable = !(cs->style & CTLS_NOFOCUS);
    st->notify = (cs->style & CTLS_NOTIFY) != 0;
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(st));
    UpdateSizes(wnd, st);
    return 0;
}

LRESULT OnDestroy(HWND wnd, HYPERLINK_STATE* st) {
    SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
    HeapFree(GetProcessHeap(), 0, st);
    if (--iUsage == 0) {
        DeleteObject(hFont);
        hFont = nullptr;
    }
    return 0;
}

LRESULT OnEraseBkgnd(HYPERLINK_STATE* st, HDC dc) {
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillRect(dc, &st->focus_rect, brush);
    DeleteObject(brush);
    return 0;
}

LRESULT OnPaint(HWND wnd, HYPERLINK_STATE* st) {
    LinkText text(wnd);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    HGDIOBJ old = SelectObject(dc, hFont);
    SetBkMode(dc, TRANSPARENT);
    RECT rc = st->text_rect;
    if (st->disabled) {
        // Embossed: a highlight copy, then the grey text one pixel up and to the left.
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text.label, -1, &rc, DT_CENTER);
        POINT org;
        SetWindowOrgEx(dc, 1, 1, &org);
        rc = st->text_rect;
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(dc, text.label, -1, &rc, DT_CENTER);
        SetWindowOrgEx(dc, org.x, org.y, nullptr);
    } else {
        SetTextColor(dc, st->pressed ? PRESSED_COLOR : LINK_COLOR);
        DrawTextA(dc, text.label, -1, &rc, DT_CENTER);
    }
    if (st->focused) DrawFocusRect(dc, &st->focus_rect);
    SelectObject(dc, old);
    EndPaint(wnd, &ps);
    return 0;
}

LRESULT OnSetCursor(HWND wnd, HYPERLINK_STATE* st, WPARAM wparam, LPARAM lparam) {
    if (LOWORD(lparam) != HTCLIENT) return DefWindowProcA(wnd, WM_SETCURSOR, wparam, lparam);
    POINT pt = MessagePoint(wnd);
    SetCursor(InRect(st->text_rect, pt.x, pt.y) ? hCurHand : hCurArrow);
    return TRUE;
}

LRESULT OnLButtonDown(HWND wnd, HYPERLINK_STATE* st, int x, int y) {
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

LRESULT OnMouseMove(HWND wnd, HYPERLINK_STATE* st, int x, int y) {
    if (st->tracking) CheckState(wnd, x, y, st, true);
    return 0;
}

LRESULT OnLButtonUp(HWND wnd, HYPERLINK_STATE* st, int x, int y) {
    if (!st->tracking) return 0;
    st->tracking = 0;
    ReleaseCapture();
    CheckState(wnd, x, y, st, false);
    const int was_pressed = st->pressed;
    st->pressed = 0;
    InvalidateRect(wnd, &st->text_rect, FALSE);
    UpdateWindow(wnd);
    if (was_pressed) ExecLink(wnd, st);
    return 0;
}

LRESULT OnCaptureChanged(HWND wnd, HYPERLINK_STATE* st) {
    if (!st->tracking) return 0;
    POINT pt = MessagePoint(wnd);
    return OnLButtonUp(wnd, st, pt.x, pt.y);
}

LRESULT OnRButtonDown(HWND wnd, HYPERLINK_STATE* st, int x, int y) {
    if (st->notify || st->pressed || !InRect(st->text_rect, x, y)) return 0;
    POINT pt{x, y};
    ClientToScreen(wnd, &pt);
    ShowPopup(wnd, pt.x, pt.y);
    return 0;
}

LRESULT OnCommand(HWND wnd, HYPERLINK_STATE* st, WPARAM wparam) {
    switch (LOWORD(wparam)) {
    case HYPERLINK_CMD_EXECUTE: ExecLink(wnd, st); break;
    case HYPERLINK_CMD_COPY: CopyLink(wnd); break;
    }
    return 0;
}

LRESULT OnKeyDown(HWND wnd, HYPERLINK_STATE* st, WPARAM key) {
    if (st->key_down || !st->focusable) return 0;
    if (key == VK_SPACE) {
        st->pressed = 1;
        st->key_down = 1;
        InvalidateRect(wnd, &st->focus_rect, FALSE);
    } else if (key == VK_APPS && !st->notify) {
        RECT wr;
        GetWindowRect(wnd, &wr);
        ShowPopup(wnd, (wr.left + wr.right) >> 1, (wr.top + wr.bottom) >> 1);
    }
    return 0;
}

LRESULT OnKeyUp(HWND wnd, HYPERLINK_STATE* st, WPARAM key) {
    if (key != VK_SPACE || !st->key_down) return 0;
    ExecLink(wnd, st);
    st->pressed = 0;
    st->key_down = 0;
    InvalidateRect(wnd, &st->focus_rect, FALSE);
    return 0;
}

LRESULT OnFocus(HWND wnd, HYPERLINK_STATE* st, bool gained) {
    if (!st->focusable) return 0;
    st->focused = gained;
    InvalidateRect(wnd, &st->focus_rect, TRUE);
    return 0;
}

LRESULT OnEnable(HWND wnd, HYPERLINK_STATE* st) {
    const int disabled = !IsWindowEnabled(wnd);
    if (disabled != st->disabled) {
        st->disabled = disabled;
        InvalidateRect(wnd, &st->text_rect, FALSE);
    }
    return 0;
}

LRESULT OnGetDlgCode(HYPERLINK_STATE* st) {
    return st->focusable && !st->disabled ? DLGC_BUTTON : DLGC_STATIC;
}

}  // namespace

ATOM RegisterHyperLinkCtl() {
    hCurArrow = LoadCursorA(nullptr, IDC_ARROW);
    hCurHand = LoadCursorA(nullptr, IDC_HAND);
    if (!hCurHand) hCurHand = hCurArrow;
    if (!hPopUp) {
        hPopUp = CreatePopupMenu();
        AppendMenuA(hPopUp, MF_STRING, HYPERLINK_CMD_EXECUTE, "&Execute link");
        AppendMenuA(hPopUp, MF_STRING, HYPERLINK_CMD_COPY, "&Copy link");
        SetMenuDefaultItem(hPopUp, HYPERLINK_CMD_EXECUTE, FALSE);
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = HyperLinkWndProc;
    wc.hInstance = ThisModule();
    wc.lpszClassName = szHC;
    return RegisterClassA(&wc);
}

int CopyLink(HWND wnd) {
    LinkText text(wnd);
    return CopyStringToClipboard(GetParent(wnd), text.target);
}

LRESULT CALLBACK HyperLinkWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_CREATE) return OnCreate(wnd, reinterpret_cast<const CREATESTRUCTA*>(lparam));
    HYPERLINK_STATE* st = State(wnd);
    if (!st) return DefWindowProcA(wnd, msg, wparam, lparam);
    // Mouse positions are signed: a point left of or above the control lies outside.
    const int x = static_cast<short>(LOWORD(lparam)), y = static_cast<short>(HIWORD(lparam));
    switch (msg) {
    case WM_DESTROY: return OnDestroy(wnd, st);
    case WM_ERASEBKGND: return OnEraseBkgnd(st, reinterpret_cast<HDC>(wparam));
    case WM_PAINT: return OnPaint(wnd, st);
    case WM_SETCURSOR: return OnSetCursor(wnd, st, wparam, lparam);
    case WM_LBUTTONDOWN: return OnLButtonDown(wnd, st, x, y);
    case WM_MOUSEMOVE: return OnMouseMove(wnd, st, x, y);
    case WM_LBUTTONUP: return OnLButtonUp(wnd, st, x, y);
    case WM_CAPTURECHANGED: return OnCaptureChanged(wnd, st);
    case WM_RBUTTONDOWN: return OnRButtonDown(wnd, st, x, y);
    case WM_COMMAND: return OnCommand(wnd, st, wparam);
    case WM_KEYDOWN: return OnKeyDown(wnd, st, wparam);
    case WM_KEYUP: return OnKeyUp(wnd, st, wparam);
    case WM_SETFOCUS: return OnFocus(wnd, st, true);
    case WM_KILLFOCUS: return OnFocus(wnd, st, false);
    case WM_ENABLE: return OnEnable(wnd, st);
    case WM_GETDLGCODE: return OnGetDlgCode(st);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(hFont);
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}
