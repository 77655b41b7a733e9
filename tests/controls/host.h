// A visible top-level window that hosts the controls under test and records what they post
// to their parent.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct Host {
    struct Command {
        WORD id;
        WORD code;
        HWND from;
    };
    HWND hwnd = nullptr;
    std::vector<Command> commands;

    Host();
    ~Host();
    HWND Child(const char* cls, const char* text, DWORD style, int id, int w, int h);
};

// Mouse and keyboard messages as the control receives them (client coordinates).
void LButtonDown(HWND wnd, int x, int y);
void MouseMove(HWND wnd, int x, int y);
void LButtonUp(HWND wnd, int x, int y);
void KeyDown(HWND wnd, UINT vk);
void KeyUp(HWND wnd, UINT vk);
void Click(HWND wnd, int x, int y);
// Moves the pointer to a client point of `wnd` and retrieves a message there, so that
// GetMessagePos gives that point to the next handler.
void PointerAt(HWND wnd, int x, int y);

// Text now on the clipboard as CF_TEXT, or "<none>".
std::string ClipboardText();
// Puts text (or only a bitmap when text is null) on the clipboard.
void SetClipboard(const char* text);
