// The import: a text export of an instrument or a spreadsheet, from a file or the clipboard,
// shown in the import dialog and taken into a new untitled document.
#include "app/Titrionika_dialogs.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/Titrionika.h"
#include "app/lists.h"
#include "controls/cmndlgex.h"
#include "core/import.h"
#include "resources/resource.h"
#include "settings/syncdlg.h"

namespace {

const char import_filter[] =
    "Textové soubory a CSV (*.csv;*.txt)\0*.csv;*.txt\0"
    "Všechny soubory (*.*)\0*.*\0";
const char caption_import_file[] = "Importovat soubor";
const char caption_import[] = "Import bodů";
// In the order of their names in the string table.
const char import_separators[] = "\t;, ";
const char import_decimals[] = ".,";

template <typename... Args>
std::string FormatString(UINT id, Args... args) {
    const std::string format = ResourceString(id);
    const int length = std::snprintf(nullptr, 0, format.c_str(), args...);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length), '\0');
    std::snprintf(&text[0], text.size() + 1, format.c_str(), args...);
    return text;
}

UINT NameIndex(const char* names, char c) {
    const char* at = std::strchr(names, c);
    return at ? static_cast<UINT>(at - names) : 0;
}

// The dialog's state: the scanned table, extracted again whenever another column is chosen,
// and the binding of the two choices to the caller's variables.
struct ImportDialog {
    ImportTable table;
    tag_CTL_SYNC* sync;
};

ImportDialog* State(HWND dialog) {
    return reinterpret_cast<ImportDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

int ColumnCount(const ImportTable& table) {
    size_t columns = static_cast<size_t>(std::max(table.volume_column, table.potential_column) + 1);
    for (const auto& row : table.preview) columns = std::max(columns, row.size());
    return static_cast<int>(columns);
}

// Room around a cell's text, and the widest a column starts.
constexpr int PREVIEW_CELL_MARGIN = 16;
constexpr int PREVIEW_COLUMN_MAX = 240;

// The first lines from the header on, numbered as in the file, each cell as it was read; each
// column as wide as its widest text, up to a limit.
void FillPreview(HWND list, const ImportTable& table, int columns) {
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    std::vector<std::string> titles = {ResourceString(IDS_IMPORT_LINE)};
    for (int c = 1; c <= columns; ++c) titles.push_back(FormatString(IDS_IMPORT_COLUMN, c));
    std::vector<int> widths(titles.size(), 0);
    auto fit = [&](size_t c, const std::string& text) {
        const int width = static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str())));
        widths[c] = std::min(std::max(widths[c], width + PREVIEW_CELL_MARGIN), PREVIEW_COLUMN_MAX);
    };
    auto line_number = [&](size_t r) { return std::to_string(table.preview_line + static_cast<int>(r)); };
    for (size_t c = 0; c < titles.size(); ++c) fit(c, titles[c]);
    for (size_t r = 0; r < table.preview.size(); ++r) {
        fit(0, line_number(r));
        for (size_t c = 0; c < table.preview[r].size(); ++c) fit(c + 1, table.preview[r][c]);
    }
    for (size_t c = 0; c < titles.size(); ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = widths[c];
        column.pszText = &titles[c][0];
        SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
    for (size_t r = 0; r < table.preview.size(); ++r) {
        std::string line = line_number(r);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        item.pszText = &line[0];
        const WPARAM row = static_cast<WPARAM>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        const auto& cells = table.preview[r];
        for (size_t c = 0; c < cells.size(); ++c) {
            item.iSubItem = static_cast<int>(c + 1);
            item.pszText = const_cast<char*>(cells[c].c_str());
            SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        }
    }
}

// Each column by its number, and by its header's name when there is one.
void FillColumnChoices(HWND dialog, const ImportTable& table, int columns) {
    for (int id : {IDC_IMPORT_VOLUME, IDC_IMPORT_POTENTIAL}) {
        for (int c = 0; c < columns; ++c) {
            const size_t k = static_cast<size_t>(c);
            const std::string name = k < table.header.size() && !table.header[k].empty()
                                         ? FormatString(IDS_IMPORT_NAMED_COLUMN, c + 1, table.header[k].c_str())
                                         : FormatString(IDS_IMPORT_COLUMN, c + 1);
            SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
    }
}

void ShowFormat(HWND dialog, const ImportTable& table) {
    const std::string encoding = ResourceString(IDS_IMPORT_ENCODING + static_cast<UINT>(table.encoding));
    const std::string separator = ResourceString(IDS_IMPORT_SEPARATOR + NameIndex(import_separators, table.separator));
    const std::string decimal = ResourceString(IDS_IMPORT_DECIMAL + NameIndex(import_decimals, table.decimal));
    SetDlgItemTextA(dialog, IDC_IMPORT_FORMAT,
                    FormatString(IDS_IMPORT_FORMAT, encoding.c_str(), separator.c_str(), decimal.c_str()).c_str());
}

// How many points the chosen columns give, and the lines that give none.
void ShowCount(HWND dialog, const ImportTable& table) {
    SetDlgItemTextA(dialog, IDC_IMPORT_COUNT,
                    FormatString(IDS_IMPORT_COUNT, static_cast<int>(table.points.size())).c_str());
    std::string bad;
    for (int line : table.bad_lines) bad += (bad.empty() ? "" : ", ") + std::to_string(line);
    SetDlgItemTextA(dialog, IDC_IMPORT_BAD, bad.empty() ? ResourceString(IDS_IMPORT_NO_BAD).c_str() : bad.c_str());
}

BOOL OnInitDialog(HWND dialog, ImportDialog* state) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    const int columns = ColumnCount(state->table);
    ShowFormat(dialog, state->table);
    FillPreview(GetDlgItem(dialog, IDC_IMPORT_PREVIEW), state->table, columns);
    FillColumnChoices(dialog, state->table, columns);
    SyncOut(dialog, state->sync, true);
    ShowCount(dialog, state->table);
    return TRUE;
}

void OnColumnChosen(HWND dialog) {
    ImportDialog* state = State(dialog);
    state->table.volume_column = static_cast<int>(SendDlgItemMessageA(dialog, IDC_IMPORT_VOLUME, CB_GETCURSEL, 0, 0));
    state->table.potential_column = static_cast<int>(SendDlgItemMessageA(dialog, IDC_IMPORT_POTENTIAL, CB_GETCURSEL, 0, 0));
    import_extract(state->table);
    ShowCount(dialog, state->table);
}

void OnOK(HWND dialog) {
    ImportDialog* state = State(dialog);
    if (state->table.points.empty()) {
        MessageBoxA(dialog, ResourceString(IDS_IMPORT_NO_PAIRS).c_str(), caption_import, MB_OK | MB_ICONWARNING);
        return;
    }
    if (SyncIn(dialog, state->sync, true)) EndDialog(dialog, IDOK);
}

BOOL OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDOK:
        OnOK(dialog);
        break;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        break;
    case IDC_IMPORT_VOLUME:
    case IDC_IMPORT_POTENTIAL:
        if (code == CBN_SELCHANGE) OnColumnChosen(dialog);
        break;
    }
    return TRUE;
}

INT_PTR CALLBACK ImportDlgProc(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<ImportDialog*>(lparam));
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wparam), HIWORD(wparam));
    }
    return FALSE;
}

// The import dialog: true when confirmed with columns that give points; then the table's
// columns are the chosen ones and its points are theirs.
bool ImportDialogBox(ImportTable& table) {
    int volume = table.volume_column;
    int potential = table.potential_column;
    tag_CTL_SYNC sync[] = {
        {SYNC_CUSTOM, ComboSyncProc, IDC_IMPORT_VOLUME, &volume, 0, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ComboSyncProc, IDC_IMPORT_POTENTIAL, &potential, 0, nullptr, nullptr, nullptr},
        {SYNC_END, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr},
    };
    ImportDialog state = {table, sync};
    if (DialogBoxParamA(main_window.instance, MAKEINTRESOURCEA(IDD_IMPORT), main_window.dialog, ImportDlgProc,
                        reinterpret_cast<LPARAM>(&state)) != IDOK)
        return false;
    table.volume_column = volume;
    table.potential_column = potential;
    return import_extract(table);
}

}  // namespace

bool ImportPoints(ImportTable& table, const std::string& source) {
    if (table.problem == ImportProblem::no_text || table.problem == ImportProblem::no_numbers) {
        const UINT message = table.problem == ImportProblem::no_text ? IDS_IMPORT_NO_TEXT : IDS_IMPORT_NO_NUMBERS;
        MessageBoxA(main_window.dialog, FormatString(message, source.c_str()).c_str(), caption_import, MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!ImportDialogBox(table)) return false;
    dyn_array_direct<ext_float_pair> points(10, 10, nullptr);
    if (!points.reserve(static_cast<int>(table.points.size()))) {
        MessageBeep(MB_ICONEXCLAMATION);
        return false;
    }
    for (const ext_float_pair& point : table.points) points.append(point);
    std::string no_description;
    ReplaceDocument(points, no_description, true);
    SetStatusText(FormatString(IDS_IMPORT_STATUS, static_cast<int>(table.points.size()),
                               static_cast<int>(table.bad_lines.size())).c_str());
    return true;
}

void ImportFile() {
    if (!AskSaveChanges()) return;
    char path[MAX_PATH] = "";
    if (!GetFileName(main_window.dialog, import_filter, caption_import_file, path, sizeof path, FALSE)) return;
    std::string bytes;
    if (!import_read_file(path, bytes)) {
        MessageBoxA(main_window.dialog, ResourceString(IDS_READ_ERROR).c_str(), ResourceString(IDS_CAPTION_ERROR).c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    ImportTable table = import_scan(bytes.data(), bytes.size());
    ImportPoints(table, FormatString(IDS_IMPORT_FROM_FILE, DisplayName(path).c_str()));
}
