#include "app/main_window.h"

#include <commdlg.h>

#include <cstdlib>

#include "resources/resource.h"

MainWindow main_window = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, document, {}, {}};

namespace {
constexpr int STRING_ROOM = 255;  // bytes per string in BuildStrList, NUL included
}  // namespace

std::string ResourceString(UINT id) {
    char text[512];
    const int length = LoadStringA(main_window.instance, id, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string FilterString(UINT id) {
    std::string filter = ResourceString(id);
    for (char& c : filter)
        if (c == '|') c = '\0';
    return filter + '\0';
}

char* BuildStrList(int first, int count) {
    if (count < 0) return nullptr;
    // One more byte than the strings can fill, for the closing NUL.
    char* block = static_cast<char*>(std::malloc(static_cast<size_t>(count) * STRING_ROOM + 1));
    if (!block) return nullptr;
    char* pos = block;
    for (int i = 0; i < count; ++i) {
        *pos = '\0';
        const int length = LoadStringA(main_window.instance, static_cast<UINT>(first + i), pos, STRING_ROOM);
        pos += (length > 0 ? length : 0) + 1;
    }
    *pos++ = '\0';
    char* shrunk = static_cast<char*>(std::realloc(block, static_cast<size_t>(pos - block)));
    return shrunk ? shrunk : block;
}

std::string DisplayName(const std::string& path) {
    char out[MAX_PATH];
    if (GetFileTitleA(path.c_str(), out, static_cast<WORD>(sizeof out)) == 0) return out;
    const char* name = path.c_str();
    for (const char* p = name; *p; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    }
    return name;
}

std::string ReadErrorText(const ReadError& error) {
    const std::string text = ResourceString(IDS_READ_ERROR);
    if (error.problem == ReadProblem::none) return text;
    return text + "\n" + FormatResource(IDS_READ_PROBLEM + static_cast<UINT>(error.problem) - 1, error.line);
}

void SetStatusText(const char* text) {
    SendMessageA(main_window.status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

INT_PTR CALLBACK DummyDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM /*lparam*/) {
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) EndDialog(dlg, LOWORD(wparam));
        return TRUE;
    }
    return FALSE;
}
