// "VexClrSel": a push button showing a colour swatch. A click, or Space while it has the
// focus, opens the system colour chooser preset to the control's colour (or, with
// CTLS_NOTIFY, posts WM_COMMAND BN_CLICKED to the parent instead). The 16 custom colours
// of the chooser are shared by every colour selector of the process for the whole run.
#pragma once
#include <windows.h>

#include "controls/CtlStyles.h"

extern const char szCS[];  // "VexClrSel"

// WPARAM: the new colour. Returns the previous colour. The parent is not notified.
const UINT CLRSEL_SETCOLOR = WM_USER + 0;
// Returns the current colour (black after creation).
const UINT CLRSEL_GETCOLOR = WM_USER + 1;

// Registers the class for the module this code is built into; the class atom, 0 on
// failure (also when already registered).
ATOM RegisterClrSelCtl();
LRESULT CALLBACK ClrSelWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
