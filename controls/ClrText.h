// "VexClrText": a static text whose font follows the control's height, with settable colours.
#pragma once
#include <windows.h>

extern const char szCT[];  // "VexClrText"

// WPARAM non-zero: follow the system text colour; 0: use the colour in LPARAM.
// Returns the previous text colour.
const UINT CLRTEXT_SETCOLOR = WM_USER + 0;
// WPARAM non-zero: follow the system button-face colour; 0: use the colour in LPARAM.
// Returns the previous background colour.
const UINT CLRTEXT_SETBKCOLOR = WM_USER + 1;

// Registers the class for the module this code is built into (the program, or a library
// with its own copy); the class atom, 0 on failure (also
// when the class is already registered).
ATOM RegisterClrTextCtl();
LRESULT CALLBACK ClrTextWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
