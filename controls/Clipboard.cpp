#include "controls/Clipboard.h"

#include <cstring>

int CopyStringToClipboard(HWND owner, const char* text) {
    if (!OpenClipboard(owner)) return 0;
    const size_t len = std::strlen(text);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, len + 1);
    if (!block) {
        CloseClipboard();
        return 0;
    }
    EmptyClipboard();
    int placed = 0;
    if (void* p = GlobalLock(block)) {
        std::memcpy(p, text, len + 1);
        GlobalUnlock(block);
        placed = SetClipboardData(CF_TEXT, block) != nullptr;
    }
    // The clipboard owns the block only once it has accepted it.
    if (!placed) GlobalFree(block);
    CloseClipboard();
    return placed;
}

int GetStringFromClipboard(char* dst, int size) {
    if (size < 1) return 0;
    if (!OpenClipboard(GetActiveWindow())) return 0;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) {
        MessageBeep(MB_ICONEXCLAMATION);
        CloseClipboard();
        return 0;
    }
    const char* text = static_cast<const char*>(GlobalLock(data));
    if (!text) {
        CloseClipboard();
        return 0;
    }
    // The block may end without a NUL; never read past it.
    const size_t avail = GlobalSize(data);
    size_t n = 0;
    while (n + 1 < static_cast<size_t>(size) && n < avail && text[n]) ++n;
    std::memcpy(dst, text, n);
    dst[n] = '\0';
    GlobalUnlock(data);
    CloseClipboard();
    return 1;
}

bool GetClipboardUnicodeBytes(std::string& bytes) {
    bytes.assign("\xFF\xFE");
    if (!OpenClipboard(GetActiveWindow())) return false;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (text) {
        // The block may end without a NUL; never read past it.
        const size_t avail = GlobalSize(data) / sizeof(wchar_t);
        size_t n = 0;
        while (n < avail && text[n]) ++n;
        bytes.append(reinterpret_cast<const char*>(text), n * sizeof(wchar_t));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text != nullptr;
}
