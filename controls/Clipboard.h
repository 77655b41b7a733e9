// Text to and from the clipboard: 8-bit text (CF_TEXT) for one point, Unicode text
// (CF_UNICODETEXT) for the tables that spreadsheets copy.
#pragma once
#include <windows.h>

#include <string>

// 1 when `text` was handed to the clipboard with `owner` as its owner; 0 when the clipboard
// could not be opened or the text could not be placed on it.
int CopyStringToClipboard(HWND owner, const char* text);

// 1 when the clipboard's text was copied into `dst` (`size` bytes including the NUL; a
// longer text is cut and still terminated). 0 when the clipboard cannot be opened, holds
// no text (then with the exclamation beep) or `size` leaves no room for the NUL.
int GetStringFromClipboard(char* dst, int size);

// True when the clipboard holds Unicode text: then `bytes` is that text up to its NUL as
// UTF-16 LE behind the byte order mark FF FE, as a spreadsheet saves a UTF-16 file.
bool GetClipboardUnicodeBytes(std::string& bytes);
