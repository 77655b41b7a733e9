// The two lists of the main window: their set-up, their texts, the selection guard and the
// context menus.
#include "app/lists.h"

#include <algorithm>
#include "app/determination.h"

#include <cstdio>
#include <cstring>

#include "app/commands.h"
#include "resources/resource.h"

namespace {

constexpr int HEADER_FONT_HEIGHT = 31;
constexpr int HEADER_PICTURE_WIDTH = 70;
constexpr int HEADER_PICTURE_HEIGHT = 32;
constexpr int HEADER_PICTURES = 5;
// The pictures of E, E' and E'' in pH follow the five; the columns of E to E'' are 2 to 4.
constexpr int FIRST_VALUE_COLUMN = 2;
constexpr int PH_PICTURES = 3;
// The columns' widths at start, and the room a cell leaves around its text.
constexpr int N_COLUMN_WIDTH = 40;
constexpr int NUMBER_COLUMN_WIDTH = 80;
constexpr int CELL_MARGIN = 14;
constexpr int RESULT_COLUMN_WIDTH = 80;

bool IsPointRow(int row) { return row % 2 == 0; }

int PointRows(const Document& document) {
    const int n = document.points.size();
    return n > 0 ? 2 * n - 1 : 0;
}

void FormatNumber(const ext_float* value, int precision, char* text, size_t size) {
    if (value) value->format(text, size, 0, precision, use_comma);
}

// The text of one cell of the measurement list; empty where the row shows nothing.
void PointCellText(const Document& document, int row, int column, char* text, size_t size) {
    text[0] = '\0';
    const int n = document.points.size();
    const int i = row / 2;
    if (row < 0 || i >= n) return;
    if (!IsPointRow(row)) {
        if (column == 3) FormatNumber(document.derived.de[i], de_precis, text, size);
        return;
    }
    const ext_float_pair* p = document.points[i];
    switch (column) {
    case 0:
        std::snprintf(text, size, "%u", static_cast<unsigned>(i + 1));
        break;
    case 1:
        FormatNumber(&p->vb, vb_precis, text, size);
        break;
    case 2:
        FormatNumber(&p->e, e_precis, text, size);
        break;
    case 4:
        if (i > 0 && i < n - 1) FormatNumber(document.derived.d2e[i - 1], d2e_precis, text, size);
        break;
    }
}

// After the inflections, a row for each set value of the determination: "pH 8,3: 12,35", or
// "pH 8,3: nedosaženo" where the curve never reaches it.
void SetValueCellText(const Document& document, int k, char* text, size_t size) {
    const std::vector<CurveReading> readings = document.SetValueEndPoints();
    if (k < 0 || k >= static_cast<int>(readings.size())) return;
    const std::string label = QuantityValueText(document.quantity, document.determination->set_values[k]);
    std::string row = FormatResource(IDS_SET_VALUE_NOT_REACHED, label.c_str());
    if (readings[k].found) {
        char volume[EXT_FLOAT_TEXT] = "";
        const ext_float value(readings[k].value);
        FormatNumber(&value, res_precis, volume, sizeof volume);
        row = FormatResource(IDS_SET_VALUE_ROW, label.c_str(), volume);
    }
    std::snprintf(text, size, "%s", row.c_str());
}

void ResultCellText(const Document& document, int row, char* text, size_t size) {
    text[0] = '\0';
    const int inflections = document.derived.results.size();
    if (row >= inflections) return SetValueCellText(document, row - inflections, text, size);
    if (const sorted_struct* result = document.derived.results[row]) FormatNumber(&result->key, res_precis, text, size);
}

void CellText(const MainWindow& window, HWND list, int row, int column, char* text, size_t size) {
    if (list == window.list)
        PointCellText(window.document, row, column, text, size);
    else
        ResultCellText(window.document, row, text, size);
}

// The cells' texts are UTF-8 (the program's code page); the wide form of a list's request
// gets them converted.
void CopyText(const char* from, char* to, int size) { std::snprintf(to, static_cast<size_t>(size), "%s", from); }

void CopyText(const char* from, wchar_t* to, int size) {
    if (MultiByteToWideChar(CP_UTF8, 0, from, -1, to, size) == 0) to[0] = 0;
}

// The list asks for the text of a cell it draws.
template <class DispInfo>
void OnGetDispInfo(const MainWindow& window, NMHDR* hdr) {
    auto& item = reinterpret_cast<DispInfo*>(hdr)->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    char text[EXT_FLOAT_TEXT];
    CellText(window, hdr->hwndFrom, item.iItem, item.iSubItem, text, sizeof text);
    CopyText(text, item.pszText, item.cchTextMax);
}

// Typing in a list looks for the row whose first column starts with the typed text: the
// point with that number, or the result with that volume. The row, or -1.
template <class FindItem>
LRESULT OnFindItem(const MainWindow& window, NMHDR* hdr) {
    const auto* find = reinterpret_cast<FindItem*>(hdr);
    if (!(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->lvfi.psz) return -1;
    char typed[64];
    int length = 0;
    for (; find->lvfi.psz[length] && length + 1 < static_cast<int>(sizeof typed); ++length) {
        const auto c = find->lvfi.psz[length];
        typed[length] = c > 0 && c < 128 ? static_cast<char>(c) : '?';
    }
    typed[length] = '\0';
    const int rows = ListView_GetItemCount(hdr->hwndFrom);
    if (length == 0 || rows == 0) return -1;
    const int start = find->iStart >= 0 && find->iStart < rows ? find->iStart : 0;
    const int last = find->lvfi.flags & LVFI_WRAP ? start + rows : rows;
    char text[EXT_FLOAT_TEXT];
    for (int k = start; k < last; ++k) {
        CellText(window, hdr->hwndFrom, k % rows, 0, text, sizeof text);
        if (_strnicmp(text, typed, static_cast<size_t>(length)) == 0) return k % rows;
    }
    return -1;
}

// The requests of a virtual list for its texts; true when `hdr` is one, with its answer.
bool OnListRequest(const MainWindow& window, NMHDR* hdr, LRESULT& answer) {
    switch (hdr->code) {
    case LVN_GETDISPINFOA:
        OnGetDispInfo<NMLVDISPINFOA>(window, hdr);
        return true;
    case LVN_GETDISPINFOW:
        OnGetDispInfo<NMLVDISPINFOW>(window, hdr);
        return true;
    case LVN_ODFINDITEMA:
        answer = OnFindItem<NMLVFINDITEMA>(window, hdr);
        return true;
    case LVN_ODFINDITEMW:
        answer = OnFindItem<NMLVFINDITEMW>(window, hdr);
        return true;
    }
    return false;
}

// Keeps the selection and the focus off the in-between rows. A virtual list reports a change
// only once it is made, so a change that lands on an in-between row is undone here: from the
// keyboard the selection travels on past that row, a click on it leaves the previous point
// selected, and the focus alone goes back to the point that had it.
void KeepOffInBetweenRows(MainWindow& window, const NMLISTVIEW* nm) {
    const HWND list = window.list;
    int& last_valid_sel = window.selection.last_valid_sel;
    int& last_valid_foc = window.selection.last_valid_foc;
    const int row = nm->iItem;
    if (row < 0) return;
    const UINT state = nm->uNewState;
    if (IsPointRow(row)) {
        if ((state & LVIS_FOCUSED) && (state & LVIS_SELECTED)) last_valid_sel = row;
        if (state & LVIS_FOCUSED) last_valid_foc = row;
        return;
    }
    const int rows = ListView_GetItemCount(list);
    auto valid = [rows](int target) { return target >= 0 && target < rows && IsPointRow(target); };
    // Some list implementations report no position for a click, so a held mouse button marks
    // one as well.
    const bool mouse = nm->ptAction.x != 0 || nm->ptAction.y != 0 || GetKeyState(VK_LBUTTON) < 0 ||
                       GetKeyState(VK_RBUTTON) < 0;
    if (state & LVIS_SELECTED) {
        // Several rows may be selected: this one leaves the selection by itself.
        ListView_SetItemState(list, row, 0, LVIS_SELECTED);
        if (!mouse) last_valid_sel = row > last_valid_sel ? row + 1 : row - 1;
        if (valid(last_valid_sel)) {
            ListView_SetItemState(list, last_valid_sel, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        } else {
            ListView_SetItemState(list, row, 0, LVIS_FOCUSED | LVIS_SELECTED);
        }
    } else if (state & LVIS_FOCUSED) {
        // Ctrl or Shift with an arrow moves the focus alone: on past the row, as the selection
        // goes (OnRangeSelected selects the point it reaches with Shift).
        if (!mouse) last_valid_foc = row > last_valid_foc ? row + 1 : row - 1;
        if (valid(last_valid_foc)) {
            ListView_SetItemState(list, last_valid_foc, LVIS_FOCUSED, LVIS_FOCUSED);
        } else {
            ListView_SetItemState(list, row, 0, LVIS_FOCUSED);
        }
    }
}

// A range selected at once (Shift with an arrow or a click) loses its in-between rows.
void DeselectInBetweenRows(HWND list, int from, int to) {
    for (int row = ListView_GetNextItem(list, from - 1, LVNI_SELECTED); row >= 0 && row <= to;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED))
        if (!IsPointRow(row)) ListView_SetItemState(list, row, 0, LVIS_SELECTED);
}

// The row a list last reported selected. A virtual list answers "which row is selected" by
// asking every row in turn, so the answer is remembered from its notifications and checked.
int& RememberedRow(MainWindow& window, HWND list) {
    return list == window.list ? window.selection.point_row : window.selection.result_row;
}

void RememberSelection(MainWindow& window, HWND list, const NMLISTVIEW* nm) {
    if (nm->iItem >= 0 && (nm->uNewState & LVIS_SELECTED)) RememberedRow(window, list) = nm->iItem;
}

}  // namespace

int GetSelectedRow(MainWindow& window, HWND list) {
    const int row = RememberedRow(window, list);
    if (row >= 0 && row < ListView_GetItemCount(list) && ListView_GetItemState(list, row, LVIS_SELECTED)) return row;
    return ListView_GetNextItem(list, -1, LVNI_SELECTED);
}

namespace {

// Shows `rows` rows with nothing selected or focused. Only the rows that hold the selection
// and the focus are visited, and the list keeps its scroll position where it can.
void SetRows(MainWindow& window, HWND list, int rows) {
    const int selected = GetSelectedRow(window, list);
    if (selected >= 0) ListView_SetItemState(list, selected, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (ListView_GetSelectedCount(list) > 0) ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    const int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    if (focused >= 0) ListView_SetItemState(list, focused, 0, LVIS_FOCUSED);
    // Setting the count redraws the scroll bars, which is slow on some systems: only a new
    // count is set.
    if (ListView_GetItemCount(list) != rows) ListView_SetItemCountEx(list, rows, LVSICF_NOSCROLL);
    InvalidateRect(list, nullptr, TRUE);
}

// The main window enables the menu's commands when it is told the menu opens, as it is for
// its own menus; its commands come back to it.
void ShowContextMenu(const MainWindow& window, HWND list, int menu_id, UINT default_id, POINT at) {
    HMENU menu = LoadMenuA(window.instance, MAKEINTRESOURCEA(menu_id));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu, 0);
    SetMenuDefaultItem(popup, default_id, FALSE);
    SendMessageA(window.dialog, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    ClientToScreen(list, &at);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, window.dialog, nullptr);
    DestroyMenu(menu);
}

}  // namespace

HFONT CreateSizedFont(int height) {
    LOGFONTA font = {};
    GetObjectA(GetStockObject(ANSI_VAR_FONT), sizeof font, &font);
    font.lfHeight = -height;
    font.lfWidth = 0;
    return CreateFontIndirectA(&font);
}

void InitListView(MainWindow& window) {
    const HWND header = window.header, list = window.list, results = window.results;
    // Created once; they live as long as the program.
    HFONT font = CreateSizedFont(HEADER_FONT_HEIGHT);
    SendMessageA(header, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    HIMAGELIST pictures =
        ImageList_Create(HEADER_PICTURE_WIDTH, HEADER_PICTURE_HEIGHT, ILC_COLOR4 | ILC_MASK, HEADER_PICTURES - 1, 1);
    if (HBITMAP bitmap = LoadBitmapA(window.instance, MAKEINTRESOURCEA(IDB_HEADERS))) {
        ImageList_AddMasked(pictures, bitmap, RGB(255, 255, 255));
        DeleteObject(bitmap);
    }
    if (HBITMAP bitmap = LoadBitmapA(window.instance, MAKEINTRESOURCEA(IDB_HEADERS_PH))) {
        ImageList_AddMasked(pictures, bitmap, RGB(255, 255, 255));
        DeleteObject(bitmap);
    }
    SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pictures));

    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = window.column_widths[0] = N_COLUMN_WIDTH;
    column.pszText = const_cast<char*>("n");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 1; i < HEADER_PICTURES; ++i) {
        column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_IMAGE | LVCF_SUBITEM;
        column.fmt = LVCFMT_RIGHT | LVCFMT_IMAGE;
        column.cx = window.column_widths[i] = NUMBER_COLUMN_WIDTH;
        column.iImage = i;
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);

    HWND results_header = ListView_GetHeader(results);
    SendMessageA(results_header, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageA(results_header, HDM_SETIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(window.duplicate_image_list ? window.duplicate_image_list(pictures) : pictures));
    column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_IMAGE;
    column.fmt = LVCFMT_LEFT | LVCFMT_IMAGE;
    column.cx = RESULT_COLUMN_WIDTH;
    column.iImage = 1;
    SendMessageA(results, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
}

namespace {

int ColumnPicture(HWND list, int column) {
    LVCOLUMNA item = {};
    item.mask = LVCF_IMAGE;
    return ListView_GetColumn(list, column, &item) ? item.iImage : -1;
}

// The headers of E, E' and E'' in the document's quantity.
void ShowQuantity(MainWindow& window) {
    const bool ph = window.document.quantity == Quantity::ph;
    for (int k = 0; k < PH_PICTURES; ++k) {
        const int column = FIRST_VALUE_COLUMN + k;
        const int picture = ph ? HEADER_PICTURES + k : column;
        if (ColumnPicture(window.list, column) == picture) continue;
        LVCOLUMNA item = {};
        item.mask = LVCF_IMAGE;
        item.iImage = picture;
        ListView_SetColumn(window.list, column, &item);
    }
}

int ResultRows(const Document& document) {
    return document.derived.results.size() + static_cast<int>(document.SetValueEndPoints().size());
}

// The result list's column as wide as its widest set-value row, and at least as it always was.
int ResultColumnWidth(const MainWindow& window) {
    int widest = RESULT_COLUMN_WIDTH;
    char text[EXT_FLOAT_TEXT];
    for (int row = window.document.derived.results.size(); row < ResultRows(window.document); ++row) {
        ResultCellText(window.document, row, text, sizeof text);
        const int width = static_cast<int>(SendMessageA(window.results, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
        widest = std::max(widest, width + CELL_MARGIN);
    }
    return widest;
}

// A wider column widens the result list with it; the main window lays itself out again.
void FitResultColumn(MainWindow& window) {
    const int width = ResultColumnWidth(window);
    if (ListView_GetColumnWidth(window.results, 0) == width) return;
    ListView_SetColumnWidth(window.results, 0, width);
    SendMessageA(window.dialog, WM_SIZE, 0, 0);
}

}  // namespace

int ResultsPaneWidth(const MainWindow& window, int narrowest) {
    const int extra = ResultColumnWidth(window) - RESULT_COLUMN_WIDTH;
    return narrowest + extra;
}

void StuffListView(MainWindow& window) {
    ShowQuantity(window);
    SetRows(window, window.list, PointRows(window.document));
    SetRows(window, window.results, ResultRows(window.document));
    FitResultColumn(window);
    if (ResultRows(window.document) > 0) ListView_SetItemState(window.results, 0, LVIS_SELECTED, LVIS_SELECTED);
    EnableCommands(window);
    ShowResultStatus(window);
}

void SelectListItem(MainWindow& window, int index) {
    if (index < 0 || index >= window.document.points.size()) return;
    ListView_SetItemState(window.list, 2 * index, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

std::vector<int> GetSelectedPoints(MainWindow& window) {
    std::vector<int> indexes;
    for (int row = ListView_GetNextItem(window.list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(window.list, row, LVNI_SELECTED))
        if (IsPointRow(row) && row / 2 < window.document.points.size()) indexes.push_back(row / 2);
    return indexes;
}

void FitColumns(MainWindow& window) {
    const HWND list = window.list;
    const int rows = ListView_GetItemCount(list);
    const int top = ListView_GetTopIndex(list);
    const int last = std::min(rows, top + ListView_GetCountPerPage(list) + 1);
    char text[EXT_FLOAT_TEXT];
    for (int column = 0; column < POINT_COLUMNS; ++column) {
        if (ListView_GetColumnWidth(list, column) != window.column_widths[column]) continue;
        int widest = column == 0 ? N_COLUMN_WIDTH : NUMBER_COLUMN_WIDTH;
        auto fit = [&](const char* cell) {
            const int width = static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(cell)));
            widest = std::max(widest, width + CELL_MARGIN);
        };
        for (int row = top; row < last; ++row) {
            PointCellText(window.document, row, column, text, sizeof text);
            fit(text);
        }
        if (column == 0 && rows > 0) {  // the last number is the widest
            PointCellText(window.document, rows - 1, 0, text, sizeof text);
            fit(text);
        }
        ListView_SetColumnWidth(list, column, widest);
        window.column_widths[column] = ListView_GetColumnWidth(list, column);
    }
}

void OnRangeSelected(MainWindow& window) {
    const int from = window.selection.range_from, to = window.selection.range_to;
    if (from < 0) return;
    window.selection.range_from = window.selection.range_to = -1;
    DeselectInBetweenRows(window.list, from, to);
    // Shift with an arrow ends the range at the point the focus went on to.
    const int focus = ListView_GetNextItem(window.list, -1, LVNI_FOCUSED);
    if (focus >= from - 1 && focus <= to + 1 && IsPointRow(focus))
        ListView_SetItemState(window.list, focus, LVIS_SELECTED, LVIS_SELECTED);
}

int GetSelectedPoint(MainWindow& window) {
    const int row = GetSelectedRow(window, window.list);
    if (row < 0 || !IsPointRow(row)) return -1;
    return row / 2 < window.document.points.size() ? row / 2 : -1;
}

LRESULT OnListNotify(MainWindow& window, NMHDR* hdr) {
    LRESULT answer = FALSE;
    if (OnListRequest(window, hdr, answer)) return answer;
    HWND list = hdr->hwndFrom;
    const bool points = list == window.list;
    NMLISTVIEW* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
    switch (hdr->code) {
    case LVN_ITEMCHANGED:
        RememberSelection(window, list, nm);
        if (points && nm->iItem < 0 && (nm->uNewState & LVIS_SELECTED))
            DeselectInBetweenRows(list, 0, ListView_GetItemCount(list) - 1);
        if (points) KeepOffInBetweenRows(window, nm);
        EnableCommands(window);
        break;
    case LVN_ODSTATECHANGED:
        if (points) {
            const auto* range = reinterpret_cast<NMLVODSTATECHANGE*>(hdr);
            // The list sets the range's rows and its focus after telling: they are put right
            // once it is done.
            if (range->uNewState & LVIS_SELECTED) {
                window.selection.range_from = range->iFrom;
                window.selection.range_to = range->iTo;
                PostMessageA(window.dialog, WM_RANGE_SELECTED, 0, 0);
            }
        }
        EnableCommands(window);
        break;
    case NM_DBLCLK:
        if (ListView_GetSelectedCount(list) == 0) break;
        PostMessageA(window.dialog, WM_COMMAND, points ? IDM_EDIT : IDM_DETAILS, 0);
        break;
    case NM_RCLICK:
        if (points)
            ShowContextMenu(window, list, IDR_LISTMENU, IDM_EDIT, nm->ptAction);
        else
            ShowContextMenu(window, list, IDR_RESULTSMENU, IDM_DETAILS, nm->ptAction);
        break;
    }
    return FALSE;
}
