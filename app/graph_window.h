// The application's graph window: the curve E, its first difference E' or its second E''
// against the volume (keys 1, 2, 3), with its own menu and options dialog. The main window is
// disabled while it is open.
#pragma once

#include <windows.h>

#include "graph/ograph.h"

// The graph of the open graph window; null while none is open.
extern OrtogonalGraph* og;
// The library's window procedure under GraphWinProc.
extern WNDPROC OldProc;

// Opens the graph window (command 40015); with one already open, brings it to the front.
void ShowGraph();
// Called by the library after every size change it takes: refits and repaints.
void GraphRedrawProc(HDC dc, HWND hwnd);
LRESULT CALLBACK GraphWinProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
