// The main module: start-up, the main window's procedure, and the document, point and
// clipboard commands on the window's document.
#include "app/Titrionika.h"

#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/Titrionika_dialogs.h"
#include "app/addedit.h"
#include "app/calibration.h"
#include "app/commands.h"
#include "app/determination.h"
#include "app/series.h"
#include "app/graph_window.h"
#include "app/outside.h"
#include "controls/Clipboard.h"
#include "controls/ClrSel.h"
#include "controls/ClrText.h"
#include "controls/HyperLink.h"
#include "controls/cmndlgex.h"
#include "core/calc.h"
#include "core/document.h"
#include "core/file_io.h"
#include "core/import.h"
#include "core/ph_calibration.h"
#include "resources/resource.h"
#include "settings/config.h"
#include "vexplot/VexGraphWindow.h"

namespace {

// Layout of the main window, in pixels.
constexpr int RESULTS_WIDTH = 97;
constexpr int LISTS_GAP = 3;
constexpr int MIN_TRACK_WIDTH = 480;
constexpr int MIN_TRACK_HEIGHT = 300;

constexpr int TOOLBAR_PICTURES = 4;
constexpr int TOOLBAR_LABELS = 7;

constexpr int PASTE_BUFFER = 256;

MainWindow& window = main_window;
Document& doc = main_window.document;

void Beep() {
    MessageBeep(MB_ICONEXCLAMATION);
}

void StoreHandles(HWND dlg) {
    window.dialog = dlg;
    window.list = GetDlgItem(dlg, IDC_LIST);
    window.results = GetDlgItem(dlg, IDC_RESULTS);
    window.status = GetDlgItem(dlg, IDC_STATUS);
    window.toolbar = GetDlgItem(dlg, IDC_TOOLBAR);
    window.header = ListView_GetHeader(window.list);
    window.selection = ListSelection();
}

void OnGetMinMaxInfo(HWND dlg, WPARAM wparam, LPARAM lparam) {
    DefWindowProcA(dlg, WM_GETMINMAXINFO, wparam, lparam);
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lparam);
    info->ptMinTrackSize.x = MIN_TRACK_WIDTH;
    info->ptMinTrackSize.y = MIN_TRACK_HEIGHT;
}

LRESULT OnNotify(NMHDR* hdr) {
    if (hdr->hwndFrom == window.list || hdr->hwndFrom == window.results) return OnListNotify(window, hdr);
    return FALSE;
}

// A child's rectangle in the main window's client coordinates.
RECT ChildRect(HWND child) {
    RECT rc = {0, 0, 0, 0};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, window.dialog, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// Ends an edit of the document, which evaluated itself: refill, select the point concerned,
// mark the change.
void DocumentChanged(int select) {
    StuffListView(window);
    if (select >= 0) SelectListItem(window, select);
    SetTitle();
}

std::string ErrorCaption() { return ResourceString(IDS_CAPTION_ERROR); }

// The point's numbers with every digit, as one line of the clipboard carries them; with the
// decimal comma of the settings when `comma`.
std::string ClipboardPointText(const ext_float_pair& point, bool comma) {
    std::string text = point_text(point);
    if (comma)
        for (char& c : text)
            if (c == '.') c = ',';
    return text;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Start-up

bool InitApplication(HINSTANCE instance) {
    window.instance = instance;
    HMODULE comctl = GetModuleHandleA("comctl32");
    window.duplicate_image_list = comctl ? reinterpret_cast<ImageListDuplicateProc>(reinterpret_cast<void*>(
                                               GetProcAddress(comctl, "ImageList_Duplicate")))
                                         : nullptr;
    if (!window.duplicate_image_list) {
        MessageBoxA(nullptr, ResourceString(IDS_OLD_COMCTL).c_str(), ResourceString(IDS_CAPTION_ERROR).c_str(),
                    MB_OK | MB_ICONERROR);
        return false;
    }
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    if (!InitCommonControlsEx(&icc)) return false;
    return RegisterClrTextCtl() && RegisterHyperLinkCtl() && RegisterClrSelCtl() &&
           VexGraphWindow::Register(window.instance);
}

void CheckCodePage() {
    // The manifest asks for UTF-8; Windows before 10 version 1903 ignores the request.
    if (GetACP() != CP_UTF8)
        MessageBoxA(nullptr, ResourceString(IDS_OLD_WINDOWS).c_str(), ResourceString(IDS_APP_TITLE).c_str(),
                    MB_OK | MB_ICONWARNING);
}

int RegisterProgram() {
    wchar_t exe[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const bool registered = length > 0 && length < MAX_PATH && RegisterFileType(exe);
    MessageBoxA(nullptr, ResourceString(registered ? IDS_REGISTERED : IDS_REGISTER_FAILED).c_str(),
                ResourceString(IDS_APP_TITLE).c_str(), MB_OK | (registered ? MB_ICONINFORMATION : MB_ICONWARNING));
    return registered ? 0 : 1;
}

int TitrionMain(HINSTANCE instance) {
    if (!InitApplication(instance)) return -1;
    CheckCodePage();
    const std::vector<std::string> args = CommandLineArguments();
    if (!args.empty() && lstrcmpiA(args[0].c_str(), "/register") == 0) return RegisterProgram();
    HACCEL accel = LoadAcceleratorsA(window.instance, MAKEINTRESOURCEA(IDR_ACCEL));
    const std::string settings = SettingsPath();
    LoadConfig(settings.c_str(), config);
    LoadRecentFiles(settings.c_str());
    // Without its window the program could never be ended: leave before the loop.
    if (!CreateDialogParamA(window.instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDlgProc, 0)) return -1;
    if (!args.empty()) OpenFromOutside(args[0]);
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) ProcessMessage(accel, &msg);
    const bool saved = SaveConfig(settings.c_str(), config);
    if (!SaveRecentFiles(settings.c_str()) || !saved)
        MessageBoxA(nullptr, FormatResource(IDS_SETTINGS_NOT_WRITTEN, settings.c_str()).c_str(), ErrorCaption().c_str(),
                    MB_OK | MB_ICONWARNING);
    return static_cast<int>(msg.wParam);
}

void ProcessMessage(HACCEL accel, MSG* msg) {
    if (TranslateAcceleratorA(window.dialog, accel, msg)) return;
    if (IsDialogMessageA(window.dialog, msg)) return;
    TranslateMessage(msg);
    DispatchMessageA(msg);
}

// ---------------------------------------------------------------------------------------------
// Main window

INT_PTR CALLBACK MainDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        StoreHandles(dlg);
        OnInitDialog();
        return TRUE;
    case WM_SIZE:
        // The first size message comes before the controls exist.
        if (dlg == window.dialog) OnSize();
        return TRUE;
    case WM_CLOSE:
        OnClose();
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(dlg, wparam, lparam);
        return TRUE;
    case WM_NOTIFY:
        if (dlg != window.dialog) return FALSE;
        SetWindowLongPtrA(dlg, DWLP_MSGRESULT, OnNotify(reinterpret_cast<NMHDR*>(lparam)));
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    case WM_INITMENUPOPUP:
        EnableCommands(window, reinterpret_cast<HMENU>(wparam));
        return TRUE;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wparam));
        return TRUE;
    case WM_RANGE_SELECTED:
        OnRangeSelected(window);
        return TRUE;
    }
    return FALSE;
}

void OnInitDialog() {
    HICON big = LoadIconA(window.instance, MAKEINTRESOURCEA(IDI_TITRION));
    HICON small = static_cast<HICON>(LoadImageA(window.instance, MAKEINTRESOURCEA(IDI_TITRION), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessageA(window.dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(window.dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small ? small : big));
    InitToolbar();
    InitListView(window);
    OnSize();
    EnableCommands(window);
    GetNewFName();
    SetTitle();
    UpdateRecentMenu();
    DragAcceptFiles(window.dialog, TRUE);
}

void InitToolbar() {
    SendMessageA(window.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBADDBITMAP standard = {HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
    SendMessageA(window.toolbar, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&standard));
    TBADDBITMAP own = {window.instance, IDB_TOOLBAR};
    const int first = static_cast<int>(
        SendMessageA(window.toolbar, TB_ADDBITMAP, TOOLBAR_PICTURES, reinterpret_cast<LPARAM>(&own)));

    int label = -1;
    if (char* labels = BuildStrList(IDS_TB_NEW, TOOLBAR_LABELS)) {
        label = static_cast<int>(SendMessageA(window.toolbar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(labels)));
        std::free(labels);
    }
    auto text = [label](int k) -> INT_PTR { return label >= 0 ? label + k : -1; };

    TBBUTTON buttons[] = {
        {STD_FILENEW, IDM_NEW, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, text(0)},
        {0, 0, 0, BTNS_SEP, {0}, 0, -1},
        {STD_FILEOPEN, IDM_OPEN, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, text(1)},
        {STD_FILESAVE, IDM_SAVE, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, text(2)},
        {0, 0, 0, BTNS_SEP, {0}, 0, -1},
        {first + 0, IDM_ADD, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, text(3)},
        {first + 1, IDM_EDIT, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, text(4)},
        {first + 2, IDM_DELETE, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, text(5)},
        {0, 0, 0, BTNS_SEP, {0}, 0, -1},
        {first + 3, IDM_ABOUT, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, text(6)},
    };
    SendMessageA(window.toolbar, TB_ADDBUTTONSA, sizeof buttons / sizeof buttons[0],
                 reinterpret_cast<LPARAM>(buttons));
    SendMessageA(window.toolbar, TB_AUTOSIZE, 0, 0);
    ShowWindow(window.toolbar, SW_SHOW);
}

void OnSize() {
    SendMessageA(window.toolbar, WM_SIZE, 0, 0);
    SendMessageA(window.status, WM_SIZE, 0, 0);
    RECT client = {0, 0, 0, 0};
    GetClientRect(window.dialog, &client);
    const int width = client.right - client.left;
    const int top = ChildRect(window.toolbar).bottom - 2;
    const int bottom = ChildRect(window.status).top + 1;
    const int height = bottom > top ? bottom - top : 0;
    const int results_width = ResultsPaneWidth(window, RESULTS_WIDTH);
    const int list_width = width > results_width + LISTS_GAP ? width - results_width - LISTS_GAP : 0;
    SetWindowPos(window.list, nullptr, 0, top, list_width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(window.results, nullptr, width - results_width, top, results_width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    int parts[2] = {list_width, -1};
    SendMessageA(window.status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void OnClose() {
    if (AskSaveChanges()) DestroyWindow(window.dialog);
}

void OnDestroy() {
    ShowWindow(window.dialog, SW_HIDE);
    PostQuitMessage(0);
}

void OnCommand(int id, int /*code*/) {
    if (id >= IDM_RECENT_FIRST && id < IDM_RECENT_FIRST + RECENT_FILES) return OpenRecent(id - IDM_RECENT_FIRST);
    switch (id) {
    case IDM_UNDO:
        UndoChange();
        break;
    case IDM_REDO:
        RedoChange();
        break;
    case IDCANCEL:  // Esc: the same way out as "Konec", with its question about unsaved points
    case IDM_EXIT:
        PostMessageA(window.dialog, WM_CLOSE, 0, 0);
        break;
    case IDM_NEW:
        NewFile();
        break;
    case IDM_OPEN:
        OpenFile();
        break;
    case IDM_SAVE:
        SaveFile();
        break;
    case IDM_SAVEAS:
        SaveFileAs();
        break;
    case IDM_ADD:
        AddItem();
        break;
    case IDM_EDIT:
        EditItem();
        break;
    case IDM_DELETE:
        DeleteItem();
        break;
    case IDM_DELETEALL:
        DeleteAll();
        break;
    case IDM_ABOUT:
        About();
        break;
    case IDM_COPY:
        Copy();
        break;
    case IDM_PASTE:
        Paste();
        break;
    case IDM_CUT:
        Cut();
        break;
    case IDM_OPTIONS:
        ShowOptions();
        break;
    case IDM_DETAILS:
        ShowDetails();
        break;
    case IDM_GRAPH:
        ShowGraph();
        break;
    case IDM_DETERMINATION:
        if (ShowDetermination()) {
            StuffListView(window);
            SetTitle();
        }
        break;
    case IDM_SERIES:
        ShowSeries();
        break;
    case IDM_CALIBRATION:
        ShowCalibration();
        break;
    case IDM_CONVERT_PH:
        ConvertToPh();
        break;
    case IDM_EXPORTHTML:
        ExportHTML();
        break;
    case IDM_EXPORTCSV:
        ExportCSV();
        break;
    case IDM_IMPORT:
        ImportFile();
        break;
    case IDM_HELP_RTF:
        ShowHelp(2);
        break;
    case IDM_HELP_PDF:
        ShowHelp(1);
        break;
    }
}

void About() {
    DialogBoxParamA(window.instance, MAKEINTRESOURCEA(IDD_ABOUT), window.dialog, DummyDlgProc, 0);
}

// ---------------------------------------------------------------------------------------------
// Document commands

void ReplaceDocument(dyn_array_direct<ext_float_pair>& points, std::string& description, bool changed) {
    doc.Replace(points, description);
    if (changed)
        GetNewFName();
    else
        doc.MarkSaved(true);
    // A file keeps its own determination or has none; a new or imported document starts with
    // the last one used.
    if (!doc.TakeDetermination()) doc.determination = doc.name_automatic ? DefaultDetermination() : std::nullopt;
    SetTitle();
    SetStatusText("");
    StuffListView(window);
    SelectListItem(window, 0);
    EnableCommands(window);
}

void GetNewFName() {
    static unsigned new_counter = 1;
    doc.file_name = FormatResource(IDS_UNTITLED, new_counter++);
    doc.name_automatic = true;
}

void SetTitle() {
    SetWindowTextA(window.dialog,
                   (ResourceString(IDS_APP_TITLE) + " - " + DisplayName(doc.file_name) + (doc.changed ? " *" : "")).c_str());
}

bool AskSaveChanges() {
    if (!doc.changed || doc.points.is_empty()) return true;
    const std::string text = FormatResource(IDS_SAVE_CHANGES, DisplayName(doc.file_name).c_str());
    switch (MessageBoxA(window.dialog, text.c_str(), ResourceString(IDS_CAPTION_CONFIRM).c_str(),
                        MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return SaveFile();
    case IDNO:
        return true;
    default:
        return false;
    }
}

void NewFile() {
    if (!AskSaveChanges()) return;
    dyn_array_direct<ext_float_pair> no_points(10, 10, nullptr);
    std::string no_description;
    GetNewFName();
    ReplaceDocument(no_points, no_description, false);
}

bool OpenFile() {
    if (!AskSaveChanges()) return false;
    char path[MAX_PATH] = "";
    if (!GetFileName(window.dialog, FilterString(IDS_FILE_FILTER).c_str(), ResourceString(IDS_CAPTION_OPEN).c_str(), path,
                     sizeof path, FALSE))
        return false;
    return OpenDocument(path);
}

bool OpenDocument(const std::string& path) {
    dyn_array_direct<ext_float_pair> scratch(10, 10, nullptr);
    std::string read_description;
    ReadError error;
    if (!internal_read(path.c_str(), scratch, &read_description, &error)) {
        MessageBoxA(window.dialog, ReadErrorText(error).c_str(), ErrorCaption().c_str(), MB_OK | MB_ICONWARNING);
        return false;
    }
    doc.file_name = path;
    doc.name_automatic = false;
    ReplaceDocument(scratch, read_description, false);
    FitColumns(window);
    AddRecentFile(path);
    UpdateRecentMenu();
    return true;
}

bool SaveFile() {
    if (doc.name_automatic) return SaveFileAs();
    WriteFailure failure;
    const bool written = doc.Save(doc.file_name.c_str(), &failure);
    if (written) {
        doc.MarkSaved();
        SetTitle();
    } else {
        MessageBoxA(window.dialog, WriteErrorText(ResourceString(IDS_WRITE_ERROR).c_str(), doc.file_name.c_str(), failure).c_str(),
                    ErrorCaption().c_str(), MB_OK | MB_ICONWARNING);
    }
    return written;
}

bool SaveFileAs() {
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s", doc.file_name.c_str());
    if (!GetFileName(window.dialog, FilterString(IDS_FILE_FILTER).c_str(), ResourceString(IDS_CAPTION_SAVE).c_str(), path,
                     sizeof path, TRUE))
        return false;
    WriteFailure failure;
    if (!doc.Save(path, &failure)) {
        MessageBoxA(window.dialog, WriteErrorText(ResourceString(IDS_WRITE_ERROR).c_str(), path, failure).c_str(),
                    ErrorCaption().c_str(), MB_OK | MB_ICONWARNING);
        return false;
    }
    doc.name_automatic = false;
    doc.MarkSaved();
    doc.file_name = path;
    SetTitle();
    AddRecentFile(path);
    UpdateRecentMenu();
    return true;
}

bool OpenFromOutside(const std::string& path) {
    if (!AskSaveChanges()) return false;
    if (IsDocumentFile(path)) return OpenDocument(path);
    ImportTable table;
    std::string source;
    return ReadImportFile(path, table, source) && ImportAsDocument(table, source);
}

void OnDropFiles(HDROP drop) {
    const std::string path = DroppedFile(drop);
    if (path.empty()) return;
    SetForegroundWindow(window.dialog);
    OpenFromOutside(path);
}

void OpenRecent(int k) {
    if (k < 0 || k >= static_cast<int>(recent_files.size())) return;
    const std::string path = recent_files[static_cast<size_t>(k)];
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        RemoveRecentFile(path);
        UpdateRecentMenu();
        MessageBoxA(window.dialog, FormatResource(IDS_RECENT_MISSING, path.c_str()).c_str(),
                    ResourceString(IDS_CAPTION_ERROR).c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    OpenFromOutside(path);
}

void ImportFile() {
    if (!AskSaveChanges()) return;
    ImportTable table;
    std::string source;
    if (ChooseImportFile(table, source)) ImportAsDocument(table, source);
}

bool ImportAsDocument(ImportTable& table, const std::string& source) {
    if (!ImportDialog(table, source)) return false;
    dyn_array_direct<ext_float_pair> points(10, 10, nullptr);
    if (!points.reserve(static_cast<int>(table.points.size()))) {
        Beep();
        return false;
    }
    for (const ext_float_pair& point : table.points) points.append(point);
    std::string description = QuantityLine(import_quantity(table));
    ReplaceDocument(points, description, true);
    SetStatusText(FormatResource(IDS_IMPORT_STATUS, static_cast<int>(table.points.size()),
                                 static_cast<int>(table.bad_lines.size()))
                      .c_str());
    return true;
}

// Without a calibration, for a pH document or an empty one the command says why it does nothing.
void ConvertToPh() {
    const std::optional<Calibration> c = ReadCalibration(calibration_buffers);
    const UINT refusal = !c ? IDS_CONVERT_NO_CALIBRATION
                         : doc.quantity == Quantity::ph ? IDS_CONVERT_ALREADY_PH
                         : doc.points.is_empty() ? IDS_CONVERT_EMPTY : 0;
    if (refusal) {
        MessageBoxA(window.dialog, ResourceString(refusal).c_str(), ErrorCaption().c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    if (!AskSaveChanges()) return;
    dyn_array_direct<ext_float_pair> points(10, 10, nullptr);
    if (!ConvertPoints(*c, doc.points, points)) return Beep();
    std::string description = ConvertedDescription(doc.description, DisplayName(doc.file_name), *c, calibration_date) +
                              QuantityLine(Quantity::ph);
    // The same sample and titrant; set values in mV mean nothing in pH.
    std::optional<Determination> determination = doc.determination;
    if (determination) {
        determination->set_values.clear();
        if (determination->point.kind == EndPointKind::set_value) determination->point = EquivalencePointChoice();
    }
    ReplaceDocument(points, description, true);
    doc.history.Clear();  // a new document: nothing before it to take back
    doc.determination = determination;
    StuffListView(window);
    SetStatusText(FormatResource(IDS_CONVERT_DONE, calibration_date).c_str());
}

// ---------------------------------------------------------------------------------------------
// Undo and redo

void UndoChange() {
    const int first = doc.Undo();
    if (first < 0) return Beep();
    DocumentChanged(first);
}

void RedoChange() {
    const int first = doc.Redo();
    if (first < 0) return Beep();
    DocumentChanged(first);
}

// ---------------------------------------------------------------------------------------------
// Point commands

void AddItem() {
    ext_float_pair pair(ext_float(0.0), ext_float(0.0));
    if (!Add(pair)) return;
    const int index = doc.Put(pair);
    if (index < 0) {
        Beep();
        return;
    }
    DocumentChanged(index);
}

void EditItem() {
    const int index = GetSelectedPoint(window);
    if (index < 0) {
        Beep();
        return;
    }
    // Out of the array while the dialog is open, so that it is no duplicate of itself; the
    // document is not evaluated in between, since the lists show it unchanged.
    const ext_float_pair old = *doc.points[index];
    ext_float_pair pair = old;
    doc.points.remove(index);
    const bool edited = Edit(pair);
    // Back in its place either way (removing it left room), so that the edit is one step.
    doc.points.insert(old, index);
    if (edited) DocumentChanged(doc.Change(index, pair));
}

void DeleteItem(bool ask) {
    const std::vector<int> indexes = GetSelectedPoints(window);
    if (indexes.empty()) {
        Beep();
        return;
    }
    if (ask && indexes.size() > 1 &&
        MessageBoxA(window.dialog, FormatResource(IDS_DELETE_SELECTED, static_cast<int>(indexes.size())).c_str(),
                    ResourceString(IDS_CAPTION_CONFIRM).c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!doc.Remove(indexes)) return Beep();
    // The point that followed takes the focus, the last one when none followed; the list
    // stays where it was scrolled.
    DocumentChanged(indexes.front() < doc.points.size() ? indexes.front() : doc.points.size() - 1);
}

void DeleteAll() {
    if (doc.points.is_empty()) return;
    if (MessageBoxA(window.dialog, ResourceString(IDS_DELETE_ALL).c_str(), ResourceString(IDS_CAPTION_CONFIRM).c_str(),
                    MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    dyn_array_direct<ext_float_pair> no_points(10, 10, nullptr);
    std::string description = doc.description + QuantityLine(doc.quantity);
    doc.Replace(no_points, description);
    DocumentChanged(-1);
}

// ---------------------------------------------------------------------------------------------
// Clipboard commands

int Copy() {
    const std::vector<int> indexes = GetSelectedPoints(window);
    if (indexes.empty()) {
        Beep();
        return 0;
    }
    // One point is one line with a decimal point, as the program's own paste reads it. Several
    // are a table for a spreadsheet, with the decimal mark of the settings. Every digit
    // travels, so Cut and Paste give back the very same points.
    if (indexes.size() == 1) return CopyStringToClipboard(window.dialog, point_text(*doc.points[indexes[0]]).c_str());
    std::string table = ResourceString(doc.quantity == Quantity::ph ? IDS_COPY_HEADER_PH : IDS_COPY_HEADER) + "\r\n";
    for (int index : indexes) table += ClipboardPointText(*doc.points[index], use_comma) + "\r\n";
    return CopyStringToClipboard(window.dialog, table.c_str());
}

void Cut() {
    // The points leave the list only once the clipboard holds them; undo brings them back.
    if (GetSelectedPoint(window) < 0 || !Copy()) {
        Beep();
        return;
    }
    DeleteItem(false);
}

void Paste() {
    // A table of several points, as a spreadsheet copies it, goes through the import.
    std::string bytes;
    if (GetClipboardUnicodeBytes(bytes)) {
        ImportTable table = import_scan(bytes.data(), bytes.size());
        if (table.points.size() > 1) {
            if (AskSaveChanges()) ImportAsDocument(table, ResourceString(IDS_IMPORT_FROM_CLIPBOARD));
            return;
        }
    }
    ext_float_pair pair(ext_float(0.0), ext_float(0.0));
    char text[PASTE_BUFFER];
    if (!GetStringFromClipboard(text, sizeof text) || !parse_point_text(text, pair)) {
        Beep();
        return;
    }
    if (doc.Find(pair.vb) >= 0 &&
        MessageBoxA(window.dialog, ResourceString(IDS_DUPLICATE_VB).c_str(), ResourceString(IDS_CAPTION_QUESTION).c_str(),
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const int index = doc.Put(pair);
    if (index < 0) {
        Beep();
        return;
    }
    DocumentChanged(index);
}
