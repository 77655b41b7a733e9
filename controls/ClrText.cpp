#include "controls/ClrText.h"

#include "controls/ThisModule.h"

const char szCT[] = "VexClrText";

namespace {

struct CLRTEXT_STATE {
    COLORREF text_color;
    COLORREF bk_color;
    int sys_text_color;  // non-zero: COLOR_WINDOWTEXT, read again at each paint
    int sys_bk_color;    // non-zero: COLOR_BTNFACE, read again at each paint
    HFONT font;
    char text[256];
};

void CopyText(CLRTEXT_STATE* st, const char* text) {
    // A dialog template may give a resource ordinal instead of a text.
    if (!text || static_cast<unsigned char>(text[0]) == 0xFF) text = "";
    lstrcpynA(st->text, text, sizeof st->text);
}

// The stock variable-pitch font, its characters 4 pixels less tall than the client area.
HFONT CreateSizedFont(HWND wnd) {
    LOGFONTA lf;
    GetObjectA(GetStockObject(ANSI_VAR_FONT), sizeof lf, &lf);
    RECT rc;
    GetClientRect(wnd, &rc);
    lf.lfHeight = 4 - rc.bottom;
    return CreateFontIndirectA(&lf);
}

LRESULT OnCreate(HWND wnd, const CREATESTRUCTA* cs) {
    auto* st = NewWindowState<CLRTEXT_STATE>(wnd);
    if (!st) return -1;
    st->text_color = GetSysColor(COLOR_WINDOWTEXT);
    st->bk_color = GetSysColor(COLOR_BTNFACE);
    st->sys_text_color = 1;
    st->sys_bk_color = 1;
    st->font = CreateSizedFont(wnd);
    CopyText(st, cs->lpszName);
    return 0;
}

LRESULT OnDestroy(HWND wnd, CLRTEXT_STATE* st) {
    if (st->font) DeleteObject(st->font);
    FreeWindowState(wnd, st);
    return 0;
}

LRESULT OnSize(HWND wnd, CLRTEXT_STATE* st) {
    HFONT font = CreateSizedFont(wnd);
    if (st->font) DeleteObject(st->font);
    st->font = font;
    InvalidateRect(wnd, nullptr, FALSE);
    return 0;
}

LRESULT OnSetText(HWND wnd, CLRTEXT_STATE* st, LPARAM lparam) {
    CopyText(st, reinterpret_cast<const char*>(lparam));
    InvalidateRect(wnd, nullptr, FALSE);
    // The window's own text keeps the whole text, so GetWindowText returns what was set.
    return DefWindowProcA(wnd, WM_SETTEXT, 0, lparam);
}

LRESULT OnSetColor(HWND wnd, COLORREF* color, int* follow, int sys_index, WPARAM wparam, LPARAM lparam) {
    COLORREF previous = *color;
    *follow = wparam != 0;
    *color = *follow ? GetSysColor(sys_index) : static_cast<COLORREF>(lparam);
    InvalidateRect(wnd, nullptr, FALSE);
    return previous;
}

LRESULT OnPaint(HWND wnd, CLRTEXT_STATE* st) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    if (st->sys_bk_color) st->bk_color = GetSysColor(COLOR_BTNFACE);
    if (st->sys_text_color) st->text_color = GetSysColor(COLOR_WINDOWTEXT);
    RECT rc;
    GetClientRect(wnd, &rc);
    HBRUSH brush = CreateSolidBrush(st->bk_color);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, st->text_color);
    HGDIOBJ old = SelectObject(dc, st->font);
    DrawTextA(dc, st->text, -1, &rc, DT_CENTER | DT_VCENTER);
    SelectObject(dc, old);
    EndPaint(wnd, &ps);
    return 0;
}

}  // namespace

ATOM RegisterClrTextCtl() {
    return RegisterControlClass(szCT, ClrTextWndProc);
}

LRESULT CALLBACK ClrTextWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_CREATE) return OnCreate(wnd, reinterpret_cast<const CREATESTRUCTA*>(lparam));
    CLRTEXT_STATE* st = WindowState<CLRTEXT_STATE>(wnd);
    if (!st) return DefWindowProcA(wnd, msg, wparam, lparam);
    switch (msg) {
    case WM_DESTROY: return OnDestroy(wnd, st);
    case WM_SIZE: return OnSize(wnd, st);
    case WM_SETTEXT: return OnSetText(wnd, st, lparam);
    case WM_PAINT: return OnPaint(wnd, st);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
    case CLRTEXT_SETCOLOR:
        return OnSetColor(wnd, &st->text_color, &st->sys_text_color, COLOR_WINDOWTEXT, wparam, lparam);
    case CLRTEXT_SETBKCOLOR:
        return OnSetColor(wnd, &st->bk_color, &st->sys_bk_color, COLOR_BTNFACE, wparam, lparam);
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}
