// Library-internal declarations of vexplot3.dll; nothing here is exported.
#pragma once

#include <windows.h>

// The library's own module, from which the About box is loaded.
extern HINSTANCE hInstDll;

INT_PTR CALLBACK AboutDlg(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam);

// A bitmap of w x h in the display's colour format; null when it cannot be made
// (including non-positive sizes, for which GDI would hand out a 1x1 monochrome one).
HBITMAP CreateDisplayBitmap(int w, int h);

// A memory DC with a new display bitmap of w x h selected; false (and nothing created)
// when either cannot be made.
bool CreatePicture(int w, int h, HDC* dc, HBITMAP* bitmap);

// A new display bitmap holding a copy of `bitmap`'s picture as seen through `source`.
HBITMAP DuplicateBitmap(HDC source, HBITMAP bitmap);

class VexGraphWindow;

// The internals of VexGraphWindow: its window procedure's handlers and helpers.
class VexGraphWindowImpl {
public:
    // The bitmap's DC, also while a metafile recording has taken over `dc`.
    static HDC MemoryDC(const VexGraphWindow& w);
    static void Init(VexGraphWindow& w, int auto_free);
    static void AddAboutItem(VexGraphWindow& w);
    static bool HasRedrawProc(const VexGraphWindow& w);
    static void CallRedrawProc(VexGraphWindow& w);

    static LRESULT OnCreate(HWND hwnd, const CREATESTRUCTA* create);
    static LRESULT OnSize(VexGraphWindow& w, WPARAM type, int cx, int cy);
    static LRESULT OnPaint(VexGraphWindow& w);
    static LRESULT OnTimer(VexGraphWindow& w, WPARAM id);
    static LRESULT OnSysKeyDown(VexGraphWindow& w);
    static LRESULT OnKeyDown(VexGraphWindow& w);
    static LRESULT OnSysCommand(VexGraphWindow& w);
    static LRESULT OnClose(VexGraphWindow& w);
    static LRESULT OnDestroy(VexGraphWindow& w, HWND hwnd);
};
