// The system's file and folder dialogs, and paths beside the program.
#pragma once
#include <windows.h>

// Runs the open (save = 0) or save dialog. `filter`: pairs of NUL-terminated description and
// "*.ext" pattern, closed by an extra NUL. `name`: in, the proposed name (may be empty); out,
// on success, the full path chosen; `size` is its capacity. The filter matching the proposed
// name's extension is preselected. The dialog starts in the proposed name's folder, else in
// the folder of the last file chosen, else in the program's folder. Non-zero when a file was
// chosen; 0 on cancel or failure, with `name` unchanged.
int GetFileName(HWND owner, const char* filter, const char* caption, char* name, int size, int save);

// Fills `path` (room for 260 characters plus `file`) with the program's folder, its closing
// backslash and `file`; returns `path`.
char* GetLocalFileName(char* path, const char* file);

// Runs the folder browser with `path` (260 characters) preselected when not empty; on success
// `path` receives the chosen folder and the result is 1, otherwise 0 and `path` is unchanged.
int BrowseForFolder(HWND owner, const char* caption, char* path);
int CALLBACK BrowseCallbackProc(HWND wnd, UINT msg, LPARAM lparam, LPARAM data);
