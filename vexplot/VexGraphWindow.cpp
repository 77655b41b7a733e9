#include "vexplot/VexGraphWindow.h"

#include <vector>

#include <stdint.h>
#include <new>
#include <string.h>

#include "controls/ClrText.h"
#include "controls/HyperLink.h"
#include "vexplot/internal.h"
#include "vexplot/resource.h"

namespace {

const char kClassName[] = "VexGraphV2WClass";

// Window extra bytes: three pointer-sized slots.
const int kSlotObject = 0;
const int kSlotStyle = sizeof(LONG_PTR);
const int kSlotMenu = 2 * sizeof(LONG_PTR);
const int kWindowExtra = 3 * sizeof(LONG_PTR);

// States of redraw_proc besides a real procedure. While unset (during creation) size
// changes are ignored; "none" makes them stretch the old picture.
const VEX_REDRAW_PROC REDRAW_UNSET = nullptr;
const VEX_REDRAW_PROC REDRAW_NONE = reinterpret_cast<VEX_REDRAW_PROC>(~uintptr_t(0));

}  // namespace

int VexGraphWindow::usage = 0;

HBITMAP CreateDisplayBitmap(int w, int h)
{
    if (w <= 0 || h <= 0)
        return NULL;
    HDC ic = CreateICA("DISPLAY", NULL, NULL, NULL);
    if (!ic)
        return NULL;
    HBITMAP bitmap = CreateCompatibleBitmap(ic, w, h);
    DeleteDC(ic);
    return bitmap;
}

bool CreatePicture(int w, int h, HDC* dc, HBITMAP* bitmap)
{
    HBITMAP b = CreateDisplayBitmap(w, h);
    if (!b)
        return false;
    HDC d = CreateCompatibleDC(NULL);
    if (!d) {
        DeleteObject(b);
        return false;
    }
    SelectObject(d, b);
    *dc = d;
    *bitmap = b;
    return true;
}

void VexGraphWindowImpl::Init(VexGraphWindow& w, int auto_free_flag)
{
    w.width = 0;
    w.height = 0;
    w.hwnd = NULL;
    w.bitmap = NULL;
    w.instance = NULL;
    w.dc = NULL;
    w.saved_dc = NULL;
    w.refresh = 0;
    w.auto_free = auto_free_flag;
    w.destroyed = 0;
    w.recording = 0;
    w.full_screen = 0;
    w.bk_color = RGB(0, 0, 0);
    w.text_color = RGB(0, 0, 0);
    w.font = NULL;
    w.redraw_proc = REDRAW_UNSET;
    w.pen_style = PS_SOLID;
    w.pen_width = 0;
    w.saved_rect = RECT{0, 0, 0, 0};
}

VexGraphWindow::VexGraphWindow(HINSTANCE instance_, HWND parent, HMENU menu, unsigned long style,
                               unsigned long ex_style, const char* title, int x, int y, int w,
                               int h, int auto_free_, VEX_REDRAW_PROC redraw)
{
    VexGraphWindowImpl::Init(*this, auto_free_);
    instance = instance_;
    if (usage == 0)
        Register(instance);
    usage = 1;
    // Without a bitmap the object keeps no DC at all, so every drawing call is a no-op,
    // and a later successful size change makes it usable.
    if (CreatePicture(w, h, &dc, &bitmap)) {
        width = w;
        height = h;
        InitDC(dc, width, height);
    }
    redraw_proc = REDRAW_UNSET;
    // Created 0 wide; ShrinkWindow gives it the bitmap's client size below.
    hwnd = CreateWindowExA(ex_style, kClassName, title, style, x, y, 0, 100, parent, menu,
                           instance, this);
    VexGraphWindowImpl::AddAboutItem(*this);
    ShrinkWindow();
    SetRedrawProc(redraw);
}

VexGraphWindow::VexGraphWindow(HWND wnd)
{
    VexGraphWindowImpl::Init(*this, 1);
    hwnd = wnd;
    instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(wnd, GWLP_HINSTANCE));
    usage = 1;
    RECT client = {0, 0, 0, 0};
    GetClientRect(wnd, &client);
    if (CreatePicture(client.right, client.bottom, &dc, &bitmap)) {
        width = client.right;
        height = client.bottom;
        InitDC(dc, width, height);
    }
    VexGraphWindowImpl::AddAboutItem(*this);
}

VexGraphWindow::~VexGraphWindow()
{
    if (refresh)
        StopRefresh();
    if (recording)
        DeleteEnhMetaFile(EndRecordMetaFile(NULL));
    if (hwnd && !destroyed) {
        // This object is being deleted already: the window's WM_DESTROY must not free it
        // a second time.
        auto_free = 0;
        ShowWindow(hwnd, SW_HIDE);
        DestroyWindow(hwnd);
    }
    if (dc)
        DeleteDC(dc);
    if (bitmap)
        DeleteObject(bitmap);
}

void VexGraphWindowImpl::AddAboutItem(VexGraphWindow& w)
{
    if (!w.hwnd || !(GetWindowLongPtrA(w.hwnd, GWL_STYLE) & WS_SYSMENU))
        return;
    HMENU system = GetSystemMenu(w.hwnd, FALSE);
    if (!system)
        return;
    AppendMenuA(system, MF_SEPARATOR, 0, NULL);
    AppendMenuA(system, MF_STRING, VEX_IDM_ABOUT, "&About VexGraphWindow...");
}

int VexGraphWindow::Register(HINSTANCE instance)
{
    static bool registered = false;
    if (registered)
        return 1;
    // Set before trying, so a failed registration is not retried.
    registered = true;
    // The library's own copies of the two controls, for its own module.
    RegisterClrTextCtl();
    RegisterHyperLinkCtl();

    WNDCLASSA wc;
    memset(&wc, 0, sizeof wc);
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = WindowProcedure;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = kWindowExtra;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VEXPLOT));
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    // Windows never erases the window: WM_PAINT covers it with the bitmap.
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszMenuName = NULL;
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc);
}

BOOL VexGraphWindow::UnRegister(HINSTANCE instance)
{
    return UnregisterClassA(kClassName, instance);
}

VexGraphWindow* VexGraphWindow::GetThis(HWND wnd)
{
    return reinterpret_cast<VexGraphWindow*>(GetWindowLongPtrA(wnd, kSlotObject));
}

int VexGraphWindow::AutoFree(int auto_free_)
{
    int previous = auto_free;
    auto_free = auto_free_;
    return previous;
}

HWND VexGraphWindow::GetWindow() { return hwnd; }
HDC VexGraphWindow::GetDC() { return dc; }
HBITMAP VexGraphWindow::GetBitmap() { return bitmap; }
int VexGraphWindow::GetMaxX() { return width - 1; }
int VexGraphWindow::GetMaxY() { return height - 1; }

void VexGraphWindow::GetRect(RECT* rect)
{
    if (!rect)
        return;
    rect->left = 0;
    rect->top = 0;
    rect->right = width - 1;
    rect->bottom = height - 1;
}

int VexGraphWindow::IsFullScreen() { return full_screen; }

HDC VexGraphWindowImpl::MemoryDC(const VexGraphWindow& w)
{
    return w.recording ? w.saved_dc : w.dc;
}

bool VexGraphWindowImpl::HasRedrawProc(const VexGraphWindow& w)
{
    return w.redraw_proc != REDRAW_UNSET && w.redraw_proc != REDRAW_NONE;
}

void VexGraphWindowImpl::CallRedrawProc(VexGraphWindow& w)
{
    if (HasRedrawProc(w) && w.dc)
        w.redraw_proc(w.dc, w.hwnd);
}

// ---- Drawing -------------------------------------------------------------------------

void VexGraphWindow::Clear(COLORREF color)
{
    bk_color = color;
    if (dc) {
        RECT all = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        ::SetBkColor(dc, color);
    }
    Redraw();
}

void VexGraphWindow::Clear()
{
    Clear(bk_color);
}

void VexGraphWindow::SetBkColor(COLORREF color)
{
    bk_color = color;
    if (dc)
        ::SetBkColor(dc, color);
}

void VexGraphWindow::SetPixel(unsigned x, unsigned y, COLORREF color)
{
    if (dc)
        SetPixelV(dc, static_cast<int>(x), static_cast<int>(y), color);
}

COLORREF VexGraphWindow::GetPixel(unsigned x, unsigned y)
{
    // Always the picture itself: a metafile DC has no pixels to read.
    HDC picture = VexGraphWindowImpl::MemoryDC(*this);
    if (!picture)
        return CLR_INVALID;
    return ::GetPixel(picture, static_cast<int>(x), static_cast<int>(y));
}

void VexGraphWindow::MoveTo(unsigned x, unsigned y)
{
    if (dc)
        MoveToEx(dc, static_cast<int>(x), static_cast<int>(y), NULL);
}

void VexGraphWindow::LineTo(unsigned x, unsigned y, COLORREF color)
{
    if (!dc)
        return;
    HPEN pen = CreatePen(pen_style, pen_width, color);
    if (!pen)
        return;
    HGDIOBJ old = SelectObject(dc, pen);
    ::LineTo(dc, static_cast<int>(x), static_cast<int>(y));
    SelectObject(dc, old);
    DeleteObject(pen);
}

void VexGraphWindow::Line(unsigned x1, unsigned y1, unsigned x2, unsigned y2, COLORREF color)
{
    if (!dc)
        return;
    POINT previous;
    MoveToEx(dc, static_cast<int>(x1), static_cast<int>(y1), &previous);
    LineTo(x2, y2, color);
    MoveToEx(dc, previous.x, previous.y, NULL);
}

void VexGraphWindow::Polyline(const POINT* points, int count, COLORREF color)
{
    if (!dc || !points || count <= 0)
        return;
    HPEN pen = CreatePen(pen_style, pen_width, color);
    if (!pen)
        return;
    HGDIOBJ old = SelectObject(dc, pen);
    ::Polyline(dc, points, count);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void VexGraphWindow::SetLineStyle(int style, int width_)
{
    pen_style = style;
    pen_width = width_;
}

void VexGraphWindow::DrawLabel(int x, int y, HFONT label_font, const char* text, COLORREF color)
{
    if (!dc || !text)
        return;
    HGDIOBJ old_font = label_font ? SelectObject(dc, label_font) : NULL;
    ::SetTextColor(dc, color);
    // Through UTF-16 from the program's code page: the A functions would read the bytes in the
    // font's character set, which garbles a Czech message under a UTF-8 code page.
    std::vector<wchar_t> wide(strlen(text) + 1, L'\0');  // never more UTF-16 units than bytes
    const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), static_cast<int>(wide.size()));
    const int length = units > 0 ? units - 1 : 0;
    SIZE extent = {0, 0};
    GetTextExtentPoint32W(dc, wide.data(), length, &extent);
    // Kept inside the right and bottom edges only; a label may still be cut at the left/top.
    if (x > width - extent.cx)
        x = width - extent.cx;
    if (y > height - extent.cy)
        y = height - extent.cy;
    ExtTextOutW(dc, x, y, 0, NULL, wide.data(), static_cast<UINT>(length), NULL);
    if (old_font)
        SelectObject(dc, old_font);
    ::SetTextColor(dc, text_color);
}

void VexGraphWindow::TextOutA(int x, int y, const char* text)
{
    if (!dc || !text)
        return;
    HGDIOBJ old_font = font ? SelectObject(dc, font) : NULL;
    ::TextOutA(dc, x, y, text, static_cast<int>(strlen(text)));
    if (old_font)
        SelectObject(dc, old_font);
}

void VexGraphWindow::SetTextColor(COLORREF color)
{
    text_color = color;
    if (dc)
        ::SetTextColor(dc, color);
}

void VexGraphWindow::SetTextAlign(unsigned align)
{
    if (dc)
        ::SetTextAlign(dc, align);
}

void VexGraphWindow::SetBkMode(int mode)
{
    if (dc)
        ::SetBkMode(dc, mode);
}

void VexGraphWindow::SetFont(HFONT font_)
{
    font = font_;
}

void VexGraphWindow::InitDC(HDC target, int w, int h)
{
    if (!target)
        return;
    RECT all = {0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(bk_color);
    FillRect(target, &all, brush);
    DeleteObject(brush);
    ::SetBkColor(target, bk_color);
}

void VexGraphWindow::Zoom(unsigned x, unsigned y, int xnum, int xdenom, int ynum, int ydenom)
{
    if (!dc)
        return;
    SetViewportOrgEx(dc, static_cast<int>(x), static_cast<int>(y), NULL);
    ScaleViewportExtEx(dc, xnum, xdenom, ynum, ydenom, NULL);
}

void VexGraphWindow::Scroll(unsigned x, unsigned y)
{
    if (dc)
        SetViewportOrgEx(dc, static_cast<int>(x), static_cast<int>(y), NULL);
}

// ---- Picture and window management ---------------------------------------------------

void VexGraphWindow::Redraw()
{
    if (hwnd)
        InvalidateRect(hwnd, NULL, FALSE);
}

void VexGraphWindow::ForceRedraw()
{
    if (VexGraphWindowImpl::HasRedrawProc(*this))
        VexGraphWindowImpl::CallRedrawProc(*this);
    else
        Clear();
    Redraw();
}

void VexGraphWindow::Draw(HDC target, RECT* rect)
{
    // The bitmap, also while a recording runs.
    HDC picture = VexGraphWindowImpl::MemoryDC(*this);
    if (!picture || !target)
        return;
    if (rect)
        BitBlt(target, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
               picture, rect->left, rect->top, SRCCOPY);
    else
        BitBlt(target, 2, 2, width, height, picture, 0, 0, SRCCOPY);
}

void VexGraphWindow::SetRedrawProc(VEX_REDRAW_PROC redraw)
{
    redraw_proc = redraw ? redraw : REDRAW_NONE;
}

WNDPROC VexGraphWindow::Subclass(WNDPROC proc)
{
    if (!hwnd)
        return NULL;
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

void VexGraphWindow::AutoRefresh(long period)
{
    if (refresh)
        StopRefresh();
    if (period)
        SetRefresh(period);
}

void VexGraphWindow::SetRefresh(long period)
{
    if (hwnd && SetTimer(hwnd, VEX_REFRESH_TIMER, static_cast<UINT>(period), NULL))
        refresh = static_cast<int>(period);
}

void VexGraphWindow::StopRefresh()
{
    if (hwnd)
        KillTimer(hwnd, VEX_REFRESH_TIMER);
    refresh = 0;
}

void VexGraphWindow::ShrinkWindow()
{
    if (!hwnd)
        return;
    // A menu bar that wrapped in the narrower window takes fewer rows once it is wider,
    // so a second pass may be needed to land exactly on the bitmap's size.
    for (int pass = 0; pass < 2; ++pass) {
        RECT outer, client;
        GetWindowRect(hwnd, &outer);
        GetClientRect(hwnd, &client);
        if (pass > 0 && client.right == width && client.bottom == height)
            break;
        SetWindowPos(hwnd, NULL, 0, 0, outer.right - outer.left - client.right + width,
                     outer.bottom - outer.top - client.bottom + height, SWP_NOMOVE | SWP_NOZORDER);
    }
}

void VexGraphWindow::Resize(int w, int h, unsigned flags, int shrink)
{
    if (w == width && h == height)
        return;
    HDC new_dc;
    HBITMAP new_bitmap;
    // No new bitmap: the old picture and size stay.
    if (!CreatePicture(w, h, &new_dc, &new_bitmap))
        return;
    InitDC(new_dc, w, h);
    ::SetTextColor(new_dc, text_color);
    HDC old_dc = VexGraphWindowImpl::MemoryDC(*this);
    if (old_dc) {
        if (flags & VEX_RESIZE_DISCARD) {
            // plain background
        } else if (flags & VEX_RESIZE_COPY) {
            BitBlt(new_dc, 0, 0, w, h, old_dc, 0, 0, SRCCOPY);
        } else if (flags & VEX_RESIZE_STRETCH) {
            StretchBlt(new_dc, 0, 0, w, h, old_dc, 0, 0, width, height, SRCCOPY);
        }
        DeleteDC(old_dc);
    }
    if (bitmap)
        DeleteObject(bitmap);
    bitmap = new_bitmap;
    // A running recording keeps its metafile DC; only the picture behind it changes.
    if (recording)
        saved_dc = new_dc;
    else
        dc = new_dc;
    width = w;
    height = h;
    if (shrink)
        ShrinkWindow();
    Redraw();
}

void VexGraphWindow::FullScreen(int on, int keep_menu)
{
    if (on == full_screen || !hwnd)
        return;
    full_screen = on;
    if (on) {
        GetWindowRect(hwnd, &saved_rect);
        SetWindowLongPtrA(hwnd, kSlotStyle, GetWindowLongPtrA(hwnd, GWL_STYLE));
        SetWindowLongPtrA(hwnd, kSlotMenu, reinterpret_cast<LONG_PTR>(GetMenu(hwnd)));
        // The menu goes before maximizing, so the picture is rebuilt once, at its final size.
        if (!keep_menu)
            SetMenu(hwnd, NULL);
        SetWindowLongPtrA(hwnd, GWL_STYLE, WS_VISIBLE);
        ShowWindow(hwnd, SW_MAXIMIZE);
    } else {
        SetWindowLongPtrA(hwnd, GWL_STYLE, GetWindowLongPtrA(hwnd, kSlotStyle));
        SetMenu(hwnd, reinterpret_cast<HMENU>(GetWindowLongPtrA(hwnd, kSlotMenu)));
        SetWindowPos(hwnd, NULL, saved_rect.left, saved_rect.top,
                     saved_rect.right - saved_rect.left, saved_rect.bottom - saved_rect.top,
                     SWP_NOZORDER | SWP_FRAMECHANGED);
    }
}

// ---- Window procedure ----------------------------------------------------------------

LRESULT CALLBACK VexGraphWindow::WindowProcedure(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam)
{
    if (msg == WM_CREATE)
        return VexGraphWindowImpl::OnCreate(wnd, reinterpret_cast<const CREATESTRUCTA*>(lparam));
    VexGraphWindow* self = GetThis(wnd);
    // Before WM_CREATE and after an auto-freed object is gone there is no object.
    if (!self)
        return DefWindowProcA(wnd, msg, wparam, lparam);
    switch (msg) {
    case WM_SIZE:
        return VexGraphWindowImpl::OnSize(*self, wparam, LOWORD(lparam), HIWORD(lparam));
    case WM_PAINT:
        return VexGraphWindowImpl::OnPaint(*self);
    case WM_TIMER:
        return VexGraphWindowImpl::OnTimer(*self, wparam);
    case WM_SYSKEYDOWN:
        if (wparam == VK_RETURN)
            return VexGraphWindowImpl::OnSysKeyDown(*self);
        break;
    case WM_KEYDOWN:
        if (wparam == VK_ESCAPE && self->full_screen)
            return VexGraphWindowImpl::OnKeyDown(*self);
        break;
    case WM_SYSCOMMAND:
        if (wparam == VEX_IDM_ABOUT)
            return VexGraphWindowImpl::OnSysCommand(*self);
        break;
    case WM_CLOSE:
        return VexGraphWindowImpl::OnClose(*self);
    case WM_DESTROY:
        return VexGraphWindowImpl::OnDestroy(*self, wnd);
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

LRESULT VexGraphWindowImpl::OnCreate(HWND wnd, const CREATESTRUCTA* create)
{
    VexGraphWindow* self = static_cast<VexGraphWindow*>(create->lpCreateParams);
    if (self)
        self->hwnd = wnd;
    else  // made without an object, for instance from a dialog template
        self = new (std::nothrow) VexGraphWindow(wnd);
    SetWindowLongPtrA(wnd, kSlotObject, reinterpret_cast<LONG_PTR>(self));
    return 0;
}

LRESULT VexGraphWindowImpl::OnSize(VexGraphWindow& w, WPARAM type, int cx, int cy)
{
    if (w.redraw_proc == REDRAW_UNSET)
        return 0;
    if (type != SIZE_RESTORED && type != SIZE_MAXIMIZED)
        return 0;
    if (cx == w.width && cy == w.height)
        return 0;
    if (w.redraw_proc == REDRAW_NONE) {
        w.Resize(cx, cy, VEX_RESIZE_STRETCH, 0);
    } else {
        w.Resize(cx, cy, 0, 0);
        CallRedrawProc(w);
    }
    UpdateWindow(w.hwnd);
    return 0;
}

LRESULT VexGraphWindowImpl::OnPaint(VexGraphWindow& w)
{
    PAINTSTRUCT ps;
    HDC target = BeginPaint(w.hwnd, &ps);
    w.Draw(target, &ps.rcPaint);
    EndPaint(w.hwnd, &ps);
    return 0;
}

LRESULT VexGraphWindowImpl::OnTimer(VexGraphWindow& w, WPARAM id)
{
    if (id == VEX_REFRESH_TIMER && HasRedrawProc(w)) {
        CallRedrawProc(w);
        InvalidateRect(w.hwnd, NULL, FALSE);
    }
    return 0;
}

LRESULT VexGraphWindowImpl::OnSysKeyDown(VexGraphWindow& w)
{
    // In full-screen mode the style has no maximize box, but Alt+Enter still leaves it.
    if ((GetWindowLongPtrA(w.hwnd, GWL_STYLE) & WS_MAXIMIZEBOX) || w.full_screen)
        w.FullScreen(!w.full_screen, 0);
    else
        MessageBeep(MB_ICONEXCLAMATION);
    return 0;
}

LRESULT VexGraphWindowImpl::OnKeyDown(VexGraphWindow& w)
{
    w.FullScreen(0, 0);
    return 0;
}

LRESULT VexGraphWindowImpl::OnSysCommand(VexGraphWindow& w)
{
    if (DialogBoxParamA(hInstDll, MAKEINTRESOURCEA(IDD_ABOUT), w.hwnd, AboutDlg, 0) == -1)
        MessageBoxA(NULL, "Error creating the About dialog box... :-((", "Error",
                    MB_ICONHAND | MB_TASKMODAL);
    return 0;
}

LRESULT VexGraphWindowImpl::OnClose(VexGraphWindow& w)
{
    ShowWindow(w.hwnd, SW_HIDE);
    DestroyWindow(w.hwnd);
    return 0;
}

LRESULT VexGraphWindowImpl::OnDestroy(VexGraphWindow& w, HWND wnd)
{
    w.destroyed = 1;
    // The timer ended with the window; the handle may soon name another window.
    w.refresh = 0;
    w.hwnd = NULL;
    if (w.auto_free) {
        SetWindowLongPtrA(wnd, kSlotObject, 0);
        delete &w;
    }
    return 0;
}
