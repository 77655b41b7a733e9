// 8-bit text (CF_TEXT) to and from the clipboard.
#pragma once
#include <windows.h>

// 1 when `text` was handed to the clipboard with `owner` as its owner; 0 when the clipboard
// could not be opened or the text could not be placed on it.
int CopyStringToClipboard(HWND owner, const char* text);

// 1 when the clipboard's text was copied into `dst` (`size` bytes including the NUL; a
// longer text is cut and still terminated). 0 when the clipboard cannot be opened, holds
// no text (then with the exclamation beep) or `size` leaves no room for the NUL.
int GetStringFromClipboard(char* dst, int size);
