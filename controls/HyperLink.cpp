#include "controls/HyperLink.h"

#include <shellapi.h>

#include <cstring>

#include "controls/Clipboard.h"
#include "controls/PushTracking.h"
#include "controls/ThisModule.h"

const char szHC[] = "VexHyperLink";

namespace {

struct HYPERLINK_STATE {
    PUSH_STATE push;
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

// The label is the hot area.
struct HyperLinkOps {
    static bool Hit(HWND, HYPERLINK_STATE* st, int x, int y) { return InRect(st->text_rect, x, y); }
    static const RECT* Area(HYPERLINK_STATE* st) { return &st->text_rect; }
    static void Execute(HWND wnd, HYPERLINK_STATE*) {
        LinkText text(wnd);
        ShellExecuteA(GetParent(wnd), nullptr, text.target, nullptr, nullptr, SW_SHOWNORMAL);
    }
};
using Push = PushTracking<HYPERLINK_STATE, HyperLinkOps>;

void ShowPopup(HWND wnd, int x, int y) {
    TrackPopupMenu(hPopUp, TPM_RIGHTBUTTON, x, y, 0, wnd, nullptr);
}

LRESULT OnCreate(HWND wnd, const CREATESTRUCTA* cs) {
    auto* st = NewWindowState<HYPERLINK_STATE>(wnd);
    if (!st) return -1;
    if (iUsage == 0) hFont = CreateLinkFont();
    ++iUsage;
    Push::Init(wnd, &st->push, cs->style);
    UpdateSizes(wnd, st);
    return 0;
}

LRESULT OnDestroy(HWND wnd, HYPERLINK_STATE* st) {
    FreeWindowState(wnd, st);
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
    if (st->push.disabled) {
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
        SetTextColor(dc, st->push.pressed ? PRESSED_COLOR : LINK_COLOR);
        DrawTextA(dc, text.label, -1, &rc, DT_CENTER);
    }
    if (st->push.focused) DrawFocusRect(dc, &st->focus_rect);
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

LRESULT OnRButtonDown(HWND wnd, HYPERLINK_STATE* st, int x, int y) {
    if (st->push.notify || st->push.pressed || !InRect(st->text_rect, x, y)) return 0;
    POINT pt{x, y};
    ClientToScreen(wnd, &pt);
    ShowPopup(wnd, pt.x, pt.y);
    return 0;
}

LRESULT OnCommand(HWND wnd, HYPERLINK_STATE* st, WPARAM wparam) {
    switch (LOWORD(wparam)) {
    case HYPERLINK_CMD_EXECUTE: Push::Activate(wnd, st); break;
    case HYPERLINK_CMD_COPY: CopyLink(wnd); break;
    }
    return 0;
}

LRESULT OnKeyDown(HWND wnd, HYPERLINK_STATE* st, WPARAM key) {
    if (key == VK_APPS && !st->push.key_down && st->push.focusable && !st->push.notify) {
        RECT wr;
        GetWindowRect(wnd, &wr);
        ShowPopup(wnd, (wr.left + wr.right) >> 1, (wr.top + wr.bottom) >> 1);
        return 0;
    }
    return Push::OnKeyDown(wnd, st, key);
}

LRESULT OnFocus(HWND wnd, HYPERLINK_STATE* st, bool gained) {
    if (!st->push.focusable) return 0;
    st->push.focused = gained;
    InvalidateRect(wnd, &st->focus_rect, TRUE);
    return 0;
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
    return RegisterControlClass(szHC, HyperLinkWndProc);
}

int CopyLink(HWND wnd) {
    LinkText text(wnd);
    return CopyStringToClipboard(GetParent(wnd), text.target);
}

LRESULT CALLBACK HyperLinkWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_CREATE) return OnCreate(wnd, reinterpret_cast<const CREATESTRUCTA*>(lparam));
    HYPERLINK_STATE* st = WindowState<HYPERLINK_STATE>(wnd);
    if (!st) return DefWindowProcA(wnd, msg, wparam, lparam);
    // Mouse positions are signed: a point left of or above the control lies outside.
    const int x = static_cast<short>(LOWORD(lparam)), y = static_cast<short>(HIWORD(lparam));
    switch (msg) {
    case WM_DESTROY: return OnDestroy(wnd, st);
    case WM_ERASEBKGND: return OnEraseBkgnd(st, reinterpret_cast<HDC>(wparam));
    case WM_PAINT: return OnPaint(wnd, st);
    case WM_SETCURSOR: return OnSetCursor(wnd, st, wparam, lparam);
    case WM_LBUTTONDOWN: return Push::OnLButtonDown(wnd, st, x, y);
    case WM_MOUSEMOVE: return Push::OnMouseMove(wnd, st, x, y);
    case WM_LBUTTONUP: return Push::OnLButtonUp(wnd, st, x, y);
    case WM_CAPTURECHANGED: return Push::OnCaptureChanged(wnd, st);
    case WM_RBUTTONDOWN: return OnRButtonDown(wnd, st, x, y);
    case WM_COMMAND: return OnCommand(wnd, st, wparam);
    case WM_KEYDOWN: return OnKeyDown(wnd, st, wparam);
    case WM_KEYUP: return Push::OnKeyUp(wnd, st, wparam);
    case WM_SETFOCUS: return OnFocus(wnd, st, true);
    case WM_KILLFOCUS: return OnFocus(wnd, st, false);
    case WM_ENABLE: return Push::OnEnable(wnd, st);
    case WM_GETDLGCODE: return Push::OnGetDlgCode(st);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(hFont);
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}
