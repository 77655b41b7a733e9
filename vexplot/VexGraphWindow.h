// VexGraphWindow: a top-level window whose picture lives in an off-screen bitmap.
//
// Every drawing member paints into a memory DC holding a display-compatible bitmap; the
// window only copies that bitmap to the screen on WM_PAINT. The client draws the whole
// picture, then calls Redraw (or a member that calls it) to have it shown.
//
// A bitmap that cannot be made (a huge size, say) never leaves the object drawing into
// nothing: Resize keeps the old picture and size, and a constructor leaves an object without
// a picture (GetBitmap null, GetMaxX -1) whose drawing calls do nothing until a Resize works.
//
// The class lives in vexplot3.dll. Code inside the library is compiled with VEXPLOT_BUILD,
// which exports the class; everyone else imports it.
#pragma once

#include <windows.h>

#ifdef VEXPLOT_BUILD
#define VEXPLOT_API __declspec(dllexport)
#else
#define VEXPLOT_API __declspec(dllimport)
#endif

// Asked to paint the complete picture into the DC.
typedef void (*VEX_REDRAW_PROC)(HDC dc, HWND hwnd);

// Resize flags: any of these bits discards the old picture.
#define VEX_RESIZE_DISCARD 0x0F
// Copies the old picture unscaled to the top-left corner (wins over stretching).
#define VEX_RESIZE_COPY 0x10
// Stretches the old picture onto the new size.
#define VEX_RESIZE_STRETCH 0x20

// Command identifier of the About item appended to the window's system menu.
#define VEX_IDM_ABOUT 100
// The refresh timer's identifier.
#define VEX_REFRESH_TIMER 1

class VEXPLOT_API VexGraphWindow {
public:
    // Set to 1 by every constructor; the first window-creating constructor registers the
    // window class while it is still 0.
    static int usage;

    // Creates the bitmap (width x height, filled black), the memory DC and the window, whose
    // client area is then sized to the bitmap. The window belongs to `instance`. With
    // auto_free the object deletes itself when its window is destroyed, so it must have been
    // made with new. A null redraw procedure means size changes stretch the old picture.
    VexGraphWindow(HINSTANCE instance, HWND parent, HMENU menu, unsigned long style,
                   unsigned long ex_style, const char* title, int x, int y, int width,
                   int height, int auto_free, VEX_REDRAW_PROC redraw);
    // Wraps an existing window of the class (used for windows created without an object);
    // always auto-freed.
    explicit VexGraphWindow(HWND hwnd);
    ~VexGraphWindow();

    VexGraphWindow(const VexGraphWindow&) = delete;
    VexGraphWindow& operator=(const VexGraphWindow&) = delete;

    // Registers "VexGraphV2WClass" for `instance` once per process; 1 when already done,
    // else the class atom (0 on failure).
    static int Register(HINSTANCE instance);
    static BOOL UnRegister(HINSTANCE instance);
    static VexGraphWindow* GetThis(HWND hwnd);
    static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    int AutoFree(int auto_free);

    HWND GetWindow();
    HDC GetDC();  // the drawing target: the metafile DC while recording
    HBITMAP GetBitmap();
    int GetMaxX();
    int GetMaxY();
    void GetRect(RECT* rect);
    int IsFullScreen();

    void Clear(COLORREF color);
    void Clear();
    void SetBkColor(COLORREF color);
    void SetPixel(unsigned x, unsigned y, COLORREF color);
    COLORREF GetPixel(unsigned x, unsigned y);  // of the bitmap, also while recording
    void MoveTo(unsigned x, unsigned y);
    void LineTo(unsigned x, unsigned y, COLORREF color);
    // Leaves the current position where it was; LineTo moves it.
    void Line(unsigned x1, unsigned y1, unsigned x2, unsigned y2, COLORREF color);
    void Polyline(const POINT* points, int count, COLORREF color);
    void SetLineStyle(int style, int width);
    // Text at (x, y) moved back inside the right and bottom edges; the text colour set by
    // SetTextColor is restored afterwards.
    void DrawLabel(int x, int y, HFONT font, const char* text, COLORREF color);
    void TextOutA(int x, int y, const char* text);
    void SetTextColor(COLORREF color);
    void SetTextAlign(unsigned align);
    void SetBkMode(int mode);
    void SetFont(HFONT font);

    void Redraw();
    void ForceRedraw();
    // Copies `rect` of the bitmap to the same place of `target`; without a rectangle the
    // whole bitmap goes to (2, 2).
    void Draw(HDC target, RECT* rect);
    void SetRedrawProc(VEX_REDRAW_PROC redraw);
    WNDPROC Subclass(WNDPROC proc);
    void AutoRefresh(long period);
    void SetRefresh(long period);
    void StopRefresh();
    void ShrinkWindow();
    // A new w x h bitmap of the background colour, taking over the old picture by `flags`
    // (VEX_RESIZE_*); with `shrink` the window's client area follows.
    void Resize(int w, int h, unsigned flags, int shrink);
    void FullScreen(int on, int keep_menu);
    void Zoom(unsigned x, unsigned y, int xnum, int xdenom, int ynum, int ydenom);
    void Scroll(unsigned x, unsigned y);
    void InitDC(HDC dc, int w, int h);

    // Picture export.
    // A copy of the bitmap on the clipboard as CF_BITMAP; 1 on success.
    int CopyAsBitmap();
    // These three are not supported by this version and always return 0.
    int CopyAsMetaFile();
    int SaveAsBitmap(const char* file);
    int SaveAsMetaFile(const char* file, const char* description);
    // Redirects all drawing into a new enhanced metafile (in memory for a null file name)
    // until EndRecordMetaFile; the bitmap stays as it is meanwhile. 1 if recording.
    int BeginRecordMetaFile(const char* file, const char* description);
    // The recorded metafile, owned by the caller; null without a recording. Fills
    // `picture` (if given) with MM_ANISOTROPIC and the extents in 0.01 mm.
    HENHMETAFILE EndRecordMetaFile(METAFILEPICT* picture);

private:
    // The window procedure's handlers and other internals; not part of the exported interface.
    friend class VexGraphWindowImpl;

    int width;
    int height;
    HWND hwnd;
    HBITMAP bitmap;
    HINSTANCE instance;
    HDC dc;
    HDC saved_dc;
    int refresh;
    int auto_free;
    int destroyed;
    int recording;
    int full_screen;
    COLORREF bk_color;
    COLORREF text_color;
    HFONT font;
    VEX_REDRAW_PROC redraw_proc;
    int pen_style;
    int pen_width;
    RECT saved_rect;
};
