// The main window's state, bound in one place: its handles, the document it shows and the
// state of its lists' selection; and the small services every command of the window uses.
// Titrionika.cpp owns the window; the dialogs and the lists reach it only through here.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "core/document.h"
#include "core/file_io.h"
#include "core/safe_write.h"

// comctl32's ImageList_Duplicate, looked up at start: its presence proves a recent enough
// library, and the result list's header gets its own copy of the header pictures with it.
using ImageListDuplicateProc = HIMAGELIST(WINAPI*)(HIMAGELIST);

// What the measurement list's selection guard remembers (app/lists.cpp).
struct ListSelection {
    int last_valid_sel = -1;  // rows of the last point row that became selected and focused
    int last_valid_foc = -1;
    // The rows the lists last reported selected: a virtual list answers "which row is
    // selected" by asking every row in turn.
    int point_row = -1;
    int result_row = -1;
    int range_from = -1;  // a range selected at once, until OnRangeSelected has seen it
    int range_to = -1;
};

constexpr int POINT_COLUMNS = 5;

struct MainWindow {
    HINSTANCE instance = nullptr;
    ImageListDuplicateProc duplicate_image_list = nullptr;
    // Valid from the main dialog's initialisation until it is destroyed.
    HWND dialog = nullptr;   // the main dialog; owner of the shell's dialogs and message boxes
    HWND list = nullptr;     // measurement list, control 1004
    HWND results = nullptr;  // result list, control 1006
    HWND status = nullptr;   // status bar, control 1002
    HWND toolbar = nullptr;  // toolbar, control 1000
    HWND header = nullptr;   // header of the measurement list
    Document& document;
    ListSelection selection;
    // The measurement list's column widths as the program last set them; a column whose width
    // differs was sized by the user.
    int column_widths[POINT_COLUMNS] = {};
};

// The program's one main window, showing the program's document.
extern MainWindow main_window;

// One string of the string table; the same with printf arguments put in.
std::string ResourceString(UINT id);
template <typename... Args>
std::string FormatResource(UINT id, Args... args) {
    const std::string format = ResourceString(id);
    const int length = std::snprintf(nullptr, 0, format.c_str(), args...);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length), '\0');
    std::snprintf(&text[0], text.size() + 1, format.c_str(), args...);
    return text;
}
// A file picker's filter list from the string table, where "|" separates its parts: the
// parts NUL-separated, the list ended by two NULs.
std::string FilterString(UINT id);
// NUL-separated, double-NUL-ended strings `first` .. `first + count - 1`; free() it.
char* BuildStrList(int first, int count);
// The name without its folder, as the title and the prompts show it.
std::string DisplayName(const std::string& path);
// The text of the status bar's first part.
void SetStatusText(const char* text);
// "Chyba při načítání souboru." and, when the reader gave one, its reason with the line.
std::string ReadErrorText(const ReadError& error);
// The message of a failed save or export: `lead_in`, then the file and the system's reason
// (`lead_in` alone when no file was named).
std::string WriteErrorText(const char* lead_in, const char* path, const WriteFailure& failure);
// About box and help error box: OK and Esc end it.
INT_PTR CALLBACK DummyDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam);
