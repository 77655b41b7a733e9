// The import: a text export of an instrument or a spreadsheet, from a file or the clipboard,
// read and shown in the import dialog; the main window takes it into a new untitled document.
#include "app/Titrionika_dialogs.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "controls/cmndlgex.h"
#include "core/import.h"
#include "resources/resource.h"
#include "settings/syncdlg.h"

namespace {

// In the order of their names in the string table.
const char import_separators[] = "\t;, ";
const char import_decimals[] = ".,";


UINT NameIndex(const char* names, char c) {
    const char* at = std::strchr(names, c);
    return at ? static_cast<UINT>(at - names) : 0;
}

// The dialog's state: the scanned table, extracted again whenever another column is chosen,
// and the binding of the two choices to the caller's variables.
struct ImportDialog {
    ImportTable& table;  // not a copy: it holds the whole text
    tag_CTL_SYNC* sync;
};

ImportDialog* State(HWND dialog) {
    return reinterpret_cast<ImportDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// The columns offered: the preview's, at most IMPORT_PREVIEW_COLUMNS (thousands would take the
// controls minutes to fill), and always the chosen ones.
int ColumnCount(const ImportTable& table) {
    const int shown = std::min(table.columns, static_cast<int>(IMPORT_PREVIEW_COLUMNS));
    return std::max(shown, std::max(table.volume_column, table.potential_column) + 1);
}

// Room around a cell's text, and the widest a column starts.
constexpr int PREVIEW_CELL_MARGIN = 16;
constexpr int PREVIEW_COLUMN_MAX = 240;

// The first lines from the header on, numbered as in the file, each cell as it was read; each
// column as wide as its widest text, up to a limit.
void FillPreview(HWND list, const ImportTable& table, int columns) {
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    std::vector<std::string> titles = {ResourceString(IDS_IMPORT_LINE)};
    for (int c = 1; c <= columns; ++c) titles.push_back(FormatResource(IDS_IMPORT_COLUMN, c));
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
                                         ? FormatResource(IDS_IMPORT_NAMED_COLUMN, c + 1, table.header[k].c_str())
                                         : FormatResource(IDS_IMPORT_COLUMN, c + 1);
            SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
    }
}

void ShowFormat(HWND dialog, const ImportTable& table) {
    const std::string encoding = ResourceString(IDS_IMPORT_ENCODING + static_cast<UINT>(table.encoding));
    const std::string separator = ResourceString(IDS_IMPORT_SEPARATOR + NameIndex(import_separators, table.separator));
    const std::string decimal = ResourceString(IDS_IMPORT_DECIMAL + NameIndex(import_decimals, table.decimal));
    const std::string doubtful = table.doubtful ? ResourceString(IDS_IMPORT_DOUBTFUL) : std::string();
    SetDlgItemTextA(dialog, IDC_IMPORT_FORMAT,
                    (FormatResource(IDS_IMPORT_FORMAT, encoding.c_str(), separator.c_str(), decimal.c_str()) + doubtful).c_str());
}

// How many points the chosen columns give, how many readings of a repeated volume gave way to
// a later one, the columns left out, and the lines that give no point.
void ShowCount(HWND dialog, const ImportTable& table) {
    ShowFormat(dialog, table);
    std::string count = FormatResource(IDS_IMPORT_COUNT, static_cast<int>(table.points.size()));
    std::string notes;
    if (table.replaced != 0) notes = FormatResource(IDS_IMPORT_REPLACED, static_cast<int>(table.replaced));
    if (table.columns > ColumnCount(table))
        notes += (notes.empty() ? "" : "; ") + FormatResource(IDS_IMPORT_MORE_COLUMNS, ColumnCount(table), table.columns);
    if (!notes.empty()) count += "\n" + notes;
    SetDlgItemTextA(dialog, IDC_IMPORT_COUNT, count.c_str());
    std::string bad;
    for (int line : table.bad_lines) bad += (bad.empty() ? "" : ", ") + std::to_string(line);
    if (table.bad_count > table.bad_lines.size()) bad += ", …";
    SetDlgItemTextA(dialog, IDC_IMPORT_BAD, bad.empty() ? ResourceString(IDS_IMPORT_NO_BAD).c_str() : bad.c_str());
}

BOOL OnInitDialog(HWND dialog, ImportDialog* state) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    const int columns = ColumnCount(state->table);
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
        MessageBoxA(dialog, ResourceString(IDS_IMPORT_NO_PAIRS).c_str(), ResourceString(IDS_CAPTION_IMPORT).c_str(),
                    MB_OK | MB_ICONWARNING);
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

bool ImportDialog(ImportTable& table, const std::string& source) {
    const std::string caption = ResourceString(IDS_CAPTION_IMPORT);
    if (table.problem == ImportProblem::no_memory) {
        ReadError error;
        error.problem = ReadProblem::no_memory;
        MessageBoxA(main_window.dialog, ReadErrorText(error).c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
        return false;
    }
    if (table.problem == ImportProblem::no_text || table.problem == ImportProblem::no_numbers) {
        const UINT message = table.problem == ImportProblem::no_text ? IDS_IMPORT_NO_TEXT : IDS_IMPORT_NO_NUMBERS;
        MessageBoxA(main_window.dialog, FormatResource(message, source.c_str()).c_str(), caption.c_str(),
                    MB_OK | MB_ICONWARNING);
        return false;
    }
    return ImportDialogBox(table);
}

bool ChooseImportFile(ImportTable& table, std::string& source) {
    char path[MAX_PATH] = "";
    if (!GetFileName(main_window.dialog, FilterString(IDS_IMPORT_FILTER).c_str(),
                     ResourceString(IDS_CAPTION_IMPORT_FILE).c_str(), path, sizeof path, FALSE))
        return false;
    return ReadImportFile(path, table, source);
}

bool ReadImportFile(const std::string& path, ImportTable& table, std::string& source) {
    std::string bytes;
    ReadError error;
    if (!import_read_file(path.c_str(), bytes, error)) {
        MessageBoxA(main_window.dialog, ReadErrorText(error).c_str(), ResourceString(IDS_CAPTION_ERROR).c_str(), MB_OK | MB_ICONWARNING);
        return false;
    }
    table = import_scan(bytes.data(), bytes.size());
    std::string().swap(bytes);  // the table holds the text
    source = FormatResource(IDS_IMPORT_FROM_FILE, DisplayName(path).c_str());
    return true;
}
