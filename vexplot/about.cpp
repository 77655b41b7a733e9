// The About box of the graph window, opened from its system menu.
#include "vexplot/internal.h"
#include "vexplot/resource.h"

namespace {

BOOL OnInitDialog(HWND dlg)
{
    char format[257];
    char text[300];
    GetDlgItemTextA(dlg, IDC_ABOUT_TITLE, format, 257);
    wsprintfA(text, format, "Win32");
    SetDlgItemTextA(dlg, IDC_ABOUT_TITLE, text);

    SetWindowLongPtrA(dlg, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))));
    HFONT font = CreateFontA(15, 10, 0, 0, 700, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, "arial");
    if (font) {
        SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(font));
        SendDlgItemMessageA(dlg, IDC_ABOUT_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    } else {
        MessageBeep(MB_ICONEXCLAMATION);
    }
    return TRUE;
}

INT_PTR OnCtlColorStatic(HWND dlg, HDC dc, HWND control)
{
    if (GetDlgCtrlID(control) != IDC_ABOUT_TITLE)
        return FALSE;
    SetTextColor(dc, RGB(255, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    return static_cast<INT_PTR>(GetWindowLongPtrA(dlg, GWLP_USERDATA));
}

BOOL OnCommand(HWND dlg, int id)
{
    if (id == IDOK || id == IDCANCEL)
        EndDialog(dlg, id);
    return FALSE;
}

BOOL OnSysColorChange(HWND dlg)
{
    HBRUSH fresh = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    HBRUSH old = reinterpret_cast<HBRUSH>(
        SetWindowLongPtrA(dlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fresh)));
    if (old)
        DeleteObject(old);
    return FALSE;
}

BOOL OnDestroy(HWND dlg)
{
    HFONT font = reinterpret_cast<HFONT>(GetWindowLongPtrA(dlg, DWLP_USER));
    HBRUSH brush = reinterpret_cast<HBRUSH>(GetWindowLongPtrA(dlg, GWLP_USERDATA));
    if (font)
        DeleteObject(font);
    if (brush)
        DeleteObject(brush);
    SetWindowLongPtrA(dlg, DWLP_USER, 0);
    SetWindowLongPtrA(dlg, GWLP_USERDATA, 0);
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK AboutDlg(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam)
{
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dlg);
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(dlg, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_COMMAND:
        return OnCommand(dlg, LOWORD(wparam));
    case WM_SYSCOLORCHANGE:
        return OnSysColorChange(dlg);
    case WM_DESTROY:
        return OnDestroy(dlg);
    }
    return FALSE;
}
