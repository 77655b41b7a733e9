// Push-button behaviour shared by the colour selector and the hyperlink: a left press on the
// hot area captures the mouse and shows the pressed look while the pointer is over it; a
// release there activates. Space activates on its release; a click while Space is held, or on
// a disabled control, beeps.
#pragma once
#include <windows.h>

#include "controls/CtlStyles.h"

// Kept by every push control as the member `push` of its state.
struct PUSH_STATE {
    int tracking;   // left button pressed on the hot area is held, mouse captured
    int pressed;    // drawn pressed
    int disabled;
    int focused;
    int focusable;  // not CTLS_NOFOCUS
    int notify;     // CTLS_NOTIFY
    int key_down;   // between Space press and release
};

// Client coordinates of the current message's screen position.
inline POINT MessagePoint(HWND wnd) {
    const DWORD pos = GetMessagePos();
    POINT pt{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ScreenToClient(wnd, &pt);
    return pt;
}

// `Ops` gives: `static bool Hit(HWND, S*, int x, int y)` (the point is on the hot area),
// `static const RECT* Area(S*)` (what the pressed look repaints; null for all) and
// `static void Execute(HWND, S*)` (the control's own action).
template <class S, class Ops>
struct PushTracking {
    static void Init(HWND wnd, PUSH_STATE* st, DWORD style) {
        st->disabled = !IsWindowEnabled(wnd);
        st->focusable = !(style & CTLS_NOFOCUS);
        st->notify = (style & CTLS_NOTIFY) != 0;
    }

    // With CTLS_NOTIFY the parent gets WM_COMMAND (BN_CLICKED) instead of the action.
    static void Activate(HWND wnd, S* st) {
        if (st->push.notify)
            PostMessageA(GetParent(wnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), BN_CLICKED),
                         reinterpret_cast<LPARAM>(wnd));
        else
            Ops::Execute(wnd, st);
    }

    static void Check(HWND wnd, S* st, int x, int y, bool redraw) {
        const int inside = Ops::Hit(wnd, st, x, y) ? 1 : 0;
        if (inside == st->push.pressed) return;
        st->push.pressed = inside;
        if (redraw) InvalidateRect(wnd, Ops::Area(st), FALSE);
    }

    static LRESULT OnLButtonDown(HWND wnd, S* st, int x, int y) {
        if (st->push.disabled || st->push.key_down) {
            MessageBeep(MB_ICONEXCLAMATION);
            return 0;
        }
        if (st->push.focusable) SetFocus(wnd);
        Check(wnd, st, x, y, true);
        if (st->push.pressed) {
            st->push.tracking = 1;
            SetCapture(wnd);
        }
        return 0;
    }

    static LRESULT OnMouseMove(HWND wnd, S* st, int x, int y) {
        if (st->push.tracking) Check(wnd, st, x, y, true);
        return 0;
    }

    static LRESULT OnLButtonUp(HWND wnd, S* st, int x, int y) {
        if (!st->push.tracking) return 0;
        st->push.tracking = 0;
        ReleaseCapture();
        Check(wnd, st, x, y, false);
        const int was_pressed = st->push.pressed;
        st->push.pressed = 0;
        // Drawn released before the action (which may open a modal window).
        InvalidateRect(wnd, Ops::Area(st), FALSE);
        UpdateWindow(wnd);
        if (was_pressed) Activate(wnd, st);
        return 0;
    }

    // Another window took the mouse: the press ends where the pointer is.
    static LRESULT OnCaptureChanged(HWND wnd, S* st) {
        if (!st->push.tracking) return 0;
        const POINT pt = MessagePoint(wnd);
        return OnLButtonUp(wnd, st, pt.x, pt.y);
    }

    static LRESULT OnKeyDown(HWND wnd, S* st, WPARAM key) {
        if (key != VK_SPACE || st->push.key_down || !st->push.focusable) return 0;
        st->push.pressed = 1;
        st->push.key_down = 1;
        InvalidateRect(wnd, Ops::Area(st), FALSE);
        return 0;
    }

    static LRESULT OnKeyUp(HWND wnd, S* st, WPARAM key) {
        if (key != VK_SPACE || !st->push.key_down) return 0;
        // Stays drawn pressed while the action runs.
        Activate(wnd, st);
        st->push.pressed = 0;
        st->push.key_down = 0;
        InvalidateRect(wnd, Ops::Area(st), FALSE);
        return 0;
    }

    static LRESULT OnEnable(HWND wnd, S* st) {
        const int disabled = !IsWindowEnabled(wnd);
        if (disabled != st->push.disabled) {
            st->push.disabled = disabled;
            InvalidateRect(wnd, Ops::Area(st), FALSE);
        }
        return 0;
    }

    static LRESULT OnGetDlgCode(const S* st) {
        return st->push.focusable && !st->push.disabled ? DLGC_BUTTON : DLGC_STATIC;
    }
};
