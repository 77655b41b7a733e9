// The series window: a resizable dialog with the table of replicates and their statistics.
#include "app/series.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "app/determination.h"
#include "app/main_window.h"
#include "controls/cmndlgex.h"
#include "core/calc.h"
#include "core/determination_text.h"
#include "export/series_export.h"
#include "resources/resource.h"
#include "settings/config.h"

std::vector<SeriesEntry> series_entries;

namespace {

constexpr int COLUMNS = 5;
constexpr int COLUMN_WIDTHS[COLUMNS] = {150, 70, 70, 100, 260};
constexpr int MIN_WIDTH = 520, MIN_HEIGHT = 300;
constexpr int MARGIN = 6, BUTTON_HEIGHT = 23, STATS_HEIGHT = 54;
constexpr int PICK_BUFFER = 1 << 15;

HWND series_dialog = nullptr;
bool filling = false;  // the table is being refilled: its check boxes are not the user's

HWND List() { return GetDlgItem(series_dialog, IDC_SERIES_LIST); }


// The texts of a row as the table shows them.
std::vector<std::string> RowTexts(const SeriesEntry& e, EntryState state, const char* outlier_test) {
    std::string volume, result, note = EntryNote(e, state);
    if (e.determination && e.result.ok()) {
        char text[EXT_FLOAT_TEXT];
        ext_float(e.result.volume).format(text, 0, res_precis, use_comma);
        volume = text;
        result = ResultValueText(*e.determination, e.result, use_comma);
    }
    if (state == EntryState::unreadable) note = ResourceString(IDS_SERIES_UNREADABLE);
    if (state == EntryState::no_determination) note = ResourceString(IDS_SERIES_NO_DETERMINATION);
    if (state == EntryState::mixed) note = ResourceString(IDS_SERIES_MIXED);
    if (outlier_test) note = FormatResource(IDS_SERIES_OUTLIER, outlier_test);
    return {e.name, SampleText(e, use_comma), volume, result, note};
}

void ShowStatistics(const SeriesSummary& summary) {
    const StatisticsTexts t = FormatStatistics(summary, use_comma);
    std::string text;
    if (summary.statistics.n == 0) {
        text = ResourceString(IDS_SERIES_EMPTY);
    } else {
        const std::string unit = t.unit.empty() ? "" : " " + t.unit;
        text = FormatResource(IDS_SERIES_STATS, static_cast<int>(summary.statistics.n), (t.mean + unit).c_str(),
                              (t.s + unit).c_str(), t.rsd.c_str(), t.mean.c_str(), (t.ci95 + unit).c_str());
    }
    SetDlgItemTextA(series_dialog, IDC_SERIES_STATS, text.c_str());
    const bool titer = summary.reference && summary.reference->kind == DeterminationKind::titer && summary.statistics.n > 0;
    EnableWindow(GetDlgItem(series_dialog, IDC_SERIES_USE_TITER), titer);
}

// The notes and the statistics after a change; the rows stay as they are.
void Refresh() {
    const SeriesSummary summary = SummarizeSeries(series_entries);
    const HWND list = List();
    const char* test = summary.statistics.n > 10 ? "Grubbs, 95 %" : "Dixon, 95 %";
    for (size_t i = 0; i < series_entries.size(); ++i) {
        const std::vector<std::string> texts =
            RowTexts(series_entries[i], summary.states[i], i == summary.outlier_row ? test : nullptr);
        for (int column = 0; column < COLUMNS; ++column)
            ListView_SetItemText(list, static_cast<int>(i), column, const_cast<char*>(texts[column].c_str()));
    }
    ShowStatistics(summary);
}

void Fill() {
    filling = true;
    const HWND list = List();
    ListView_DeleteAllItems(list);
    for (size_t i = 0; i < series_entries.size(); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>("");
        ListView_InsertItem(list, &item);
        ListView_SetCheckState(list, static_cast<int>(i), series_entries[i].included);
    }
    filling = false;
    Refresh();
}

void AddOpenDocument() {
    const Document& doc = main_window.document;
    SeriesEntry entry;
    entry.name = doc.name_automatic ? ResourceString(IDS_SERIES_OPEN_DOCUMENT) : DisplayName(doc.file_name);
    entry.path = doc.name_automatic ? "" : doc.file_name;
    entry.readable = true;
    entry.determination = doc.determination;
    entry.quantity = doc.quantity;
    if (doc.determination) entry.result = doc.Result();
    series_entries.push_back(entry);
    Fill();
}

void PickFiles() {
    std::vector<char> names(PICK_BUFFER, '\0');
    const std::string filter = FilterString(IDS_FILE_FILTER);
    const std::string caption = ResourceString(IDS_CAPTION_OPEN);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = series_dialog;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = names.data();
    ofn.nMaxFile = PICK_BUFFER;
    ofn.lpstrTitle = caption.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    if (!GetOpenFileNameA(&ofn)) return;
    // One file: its path. Several: the folder, then the names, each ended by a NUL.
    std::vector<std::string> paths;
    const std::string first = names.data();
    for (const char* name = names.data() + first.size() + 1; *name; name += std::strlen(name) + 1)
        paths.push_back(first + "\\" + name);
    if (paths.empty()) paths.push_back(first);
    AddSeriesFiles(paths);
}

void OnDropFiles(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH];
        if (DragQueryFileA(drop, i, path, sizeof path)) paths.push_back(path);
    }
    DragFinish(drop);
    AddSeriesFiles(paths);
}

void RemoveSelected() {
    const int row = ListView_GetNextItem(List(), -1, LVNI_SELECTED);
    if (row < 0 || row >= static_cast<int>(series_entries.size())) return;
    series_entries.erase(series_entries.begin() + row);
    Fill();
}

bool CopyUnicode(const std::string& utf8) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(length) * sizeof(wchar_t));
    if (!block) return false;
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, static_cast<wchar_t*>(GlobalLock(block)), length);
    GlobalUnlock(block);
    if (!OpenClipboard(series_dialog)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!placed) GlobalFree(block);
    CloseClipboard();
    return placed;
}

void Export(bool html) {
    char path[MAX_PATH] = "";
    if (!GetFileName(series_dialog, FilterString(html ? IDS_SERIES_HTML_FILTER : IDS_SERIES_CSV_FILTER).c_str(),
                     ResourceString(IDS_CAPTION_SAVE).c_str(), path, sizeof path, TRUE))
        return;
    const SeriesSummary summary = SummarizeSeries(series_entries);
    WriteFailure failure;
    const bool written = html ? ExportSeriesHtml(series_entries, summary, path, "Série stanovení", res_precis, &failure)
                              : ExportSeriesCsv(series_entries, summary, path, &failure);
    if (!written)
        MessageBoxA(series_dialog, WriteErrorText(ResourceString(IDS_WRITE_ERROR).c_str(), path, failure).c_str(), nullptr,
                    MB_OK | MB_ICONWARNING);
}

// The mean titer becomes the default determination's titer, dated; without a default the
// series' own determination, as a content determination with that titer, becomes it.
void UseAsTiter() {
    const SeriesSummary summary = SummarizeSeries(series_entries);
    if (!summary.reference || summary.reference->kind != DeterminationKind::titer || summary.statistics.n == 0) {
        MessageBoxA(series_dialog, ResourceString(IDS_SERIES_NOT_TITER).c_str(), nullptr, MB_OK | MB_ICONWARNING);
        return;
    }
    std::optional<Determination> base = DefaultDetermination();
    if (!base || base->kind == DeterminationKind::titer) {
        Determination d;
        d.titrant = summary.reference->titrant;
        d.concentration = summary.reference->concentration;
        if (base) d = *base, d.kind = DeterminationKind::content;
        base = d;
    }
    base->titer = summary.statistics.mean;
    RememberDetermination(*base);
    const std::time_t now = std::time(nullptr);
    std::strftime(default_titer_date, sizeof default_titer_date, "%Y-%m-%d", std::localtime(&now));
    const std::string titer = FixedText(summary.statistics.mean, 4, use_comma);
    MessageBoxA(series_dialog, FormatResource(IDS_SERIES_TITER_SET, titer.c_str()).c_str(),
                ResourceString(IDS_APP_TITLE).c_str(), MB_OK | MB_ICONINFORMATION);
}

void OnSize() {
    RECT client;
    GetClientRect(series_dialog, &client);
    const int width = client.right - 2 * MARGIN;
    const int bottom_row = client.bottom - MARGIN - BUTTON_HEIGHT;
    const int stats_top = bottom_row - MARGIN - STATS_HEIGHT;
    RECT add;
    GetWindowRect(GetDlgItem(series_dialog, IDC_SERIES_ADD), &add);
    MapWindowPoints(nullptr, series_dialog, reinterpret_cast<POINT*>(&add), 2);
    const int list_top = add.bottom + MARGIN;
    SetWindowPos(List(), nullptr, MARGIN, list_top, width, stats_top - MARGIN - list_top, SWP_NOZORDER);
    SetWindowPos(GetDlgItem(series_dialog, IDC_SERIES_STATS), nullptr, MARGIN, stats_top, width, STATS_HEIGHT, SWP_NOZORDER);
    SetWindowPos(GetDlgItem(series_dialog, IDC_SERIES_USE_TITER), nullptr, MARGIN, bottom_row, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT close;
    GetWindowRect(GetDlgItem(series_dialog, IDCANCEL), &close);
    SetWindowPos(GetDlgItem(series_dialog, IDCANCEL), nullptr, client.right - MARGIN - (close.right - close.left), bottom_row,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    InvalidateRect(series_dialog, nullptr, TRUE);
}

BOOL OnInitDialog(HWND dialog) {
    series_dialog = dialog;
    const HWND list = List();
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const UINT headers[COLUMNS] = {IDS_SERIES_FILE, IDS_SERIES_SAMPLE, IDS_SERIES_VOLUME, IDS_SERIES_RESULT, IDS_SERIES_NOTE};
    for (int c = 0; c < COLUMNS; ++c) {
        const std::string header = ResourceString(headers[c]);
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = COLUMN_WIDTHS[c];
        column.pszText = const_cast<char*>(header.c_str());
        ListView_InsertColumn(list, c, &column);
    }
    DragAcceptFiles(dialog, TRUE);
    OnSize();
    Fill();
    return TRUE;
}

void OnCommand(int id) {
    switch (id) {
    case IDC_SERIES_ADD: PickFiles(); break;
    case IDC_SERIES_ADD_OPEN: AddOpenDocument(); break;
    case IDC_SERIES_REMOVE: RemoveSelected(); break;
    case IDC_SERIES_COPY:
        CopyUnicode(SeriesTabText(series_entries, SummarizeSeries(series_entries), use_comma, res_precis));
        break;
    case IDC_SERIES_CSV: Export(false); break;
    case IDC_SERIES_HTML: Export(true); break;
    case IDC_SERIES_USE_TITER: UseAsTiter(); break;
    case IDCANCEL: EndDialog(series_dialog, IDCANCEL); break;
    }
}

// A check box clicked: the row joins or leaves the statistics.
void OnNotify(NMHDR* hdr) {
    if (filling || hdr->idFrom != IDC_SERIES_LIST || hdr->code != LVN_ITEMCHANGED) return;
    const NMLISTVIEW* change = reinterpret_cast<NMLISTVIEW*>(hdr);
    if (!(change->uChanged & LVIF_STATE) || ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) == 0) return;
    if (change->iItem < 0 || change->iItem >= static_cast<int>(series_entries.size())) return;
    const bool checked = ListView_GetCheckState(List(), change->iItem) != 0;
    if (series_entries[change->iItem].included == checked) return;
    series_entries[change->iItem].included = checked;
    Refresh();
}

void OnGetMinMaxInfo(MINMAXINFO* info) {
    info->ptMinTrackSize.x = MIN_WIDTH;
    info->ptMinTrackSize.y = MIN_HEIGHT;
}

INT_PTR CALLBACK SeriesDlgProc(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_SIZE:
        if (series_dialog == dialog) OnSize();
        return TRUE;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lparam)); return TRUE;
    case WM_COMMAND: OnCommand(LOWORD(wparam)); return TRUE;
    case WM_NOTIFY: OnNotify(reinterpret_cast<NMHDR*>(lparam)); return TRUE;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wparam)); return TRUE;
    case WM_DESTROY: series_dialog = nullptr; return FALSE;
    }
    return FALSE;
}

}  // namespace

void AddSeriesFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        series_entries.push_back(EvaluateSeriesFile(path, DisplayName(path), recognition, min_steepness));
    if (series_dialog) Fill();
}

void ShowSeries() {
    DialogBoxParamA(main_window.instance, MAKEINTRESOURCEA(IDD_SERIES), main_window.dialog, SeriesDlgProc, 0);
}
