// The main module: start-up, the main window's procedure, and the document, point and
// clipboard commands on the window's document.
#include "app/Titrionika.h"

#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "app/Titrionika_dialogs.h"
#include "app/addedit.h"
#include "app/commands.h"
#include "app/determination.h"
#include "app/series.h"
#include "app/graph_window.h"
#include "controls/Clipboard.h"
#include "controls/ClrSel.h"
#include "controls/ClrText.h"
#include "controls/HyperLink.h"
#include "controls/cmndlgex.h"
#include "core/calc.h"
#include "core/document.h"
#include "core/file_io.h"
#include "core/import.h"
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
    doc.changed = true;
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

int TitrionMain(HINSTANCE instance) {
    if (!InitApplication(instance)) return -1;
    CheckCodePage();
    HACCEL accel = LoadAcceleratorsA(window.instance, MAKEINTRESOURCEA(IDR_ACCEL));
    LoadConfig(config_file, config);
    // Without its window the program could never be ended: leave before the loop.
    if (!CreateDialogParamA(window.instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDlgProc, 0)) return -1;
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) ProcessMessage(accel, &msg);
    SaveConfig(config_file, config);
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
    const int list_width = width > RESULTS_WIDTH + LISTS_GAP ? width - RESULTS_WIDTH - LISTS_GAP : 0;
    SetWindowPos(window.list, nullptr, 0, top, list_width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(window.results, nullptr, width - RESULTS_WIDTH, top, RESULTS_WIDTH, height,
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
    switch (id) {
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
        ShowDetermination();
        break;
    case IDM_SERIES:
        ShowSeries();
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
    // A file keeps its own determination or has none; a new or imported document starts with
    // the last one used.
    if (!doc.TakeDetermination()) doc.determination = doc.name_automatic ? DefaultDetermination() : std::nullopt;
    doc.changed = changed;
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
    SetWindowTextA(window.dialog, (ResourceString(IDS_APP_TITLE) + " - " + DisplayName(doc.file_name)).c_str());
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
    dyn_array_direct<ext_float_pair> scratch(10, 10, nullptr);
    if (!AskSaveChanges()) return false;
    char path[MAX_PATH] = "";
    if (!GetFileName(window.dialog, FilterString(IDS_FILE_FILTER).c_str(), ResourceString(IDS_CAPTION_OPEN).c_str(), path,
                     sizeof path, FALSE))
        return false;
    std::string read_description;
    const bool read = internal_read(path, scratch, &read_description);
    if (read) {
        doc.file_name = path;
        doc.name_automatic = false;
        ReplaceDocument(scratch, read_description, false);
    } else {
        MessageBoxA(window.dialog, ResourceString(IDS_READ_ERROR).c_str(), nullptr, MB_OK | MB_ICONWARNING);
    }
    return read;
}

bool SaveFile() {
    if (doc.name_automatic) return SaveFileAs();
    WriteFailure failure;
    const bool written = doc.Save(doc.file_name.c_str(), &failure);
    if (written) {
        doc.changed = false;
    } else {
        MessageBoxA(window.dialog, WriteErrorText(ResourceString(IDS_WRITE_ERROR).c_str(), doc.file_name.c_str(), failure).c_str(), nullptr,
                    MB_OK | MB_ICONWARNING);
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
        MessageBoxA(window.dialog, WriteErrorText(ResourceString(IDS_WRITE_ERROR).c_str(), path, failure).c_str(), nullptr, MB_OK | MB_ICONWARNING);
        return false;
    }
    doc.name_automatic = false;
    doc.changed = false;
    doc.file_name = path;
    SetTitle();
    return true;
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
    ext_float_pair pair = *doc.points[index];
    doc.points.remove(index);
    if (!Edit(pair)) {
        doc.points.insert(pair, index);
        return;
    }
    // Removing one point left room for one: this cannot fail.
    DocumentChanged(doc.Put(pair));
}

void DeleteItem() {
    const int index = GetSelectedPoint(window);
    if (index < 0) {
        Beep();
        return;
    }
    doc.Remove(index);
    DocumentChanged(-1);
}

void DeleteAll() {
    if (doc.points.is_empty()) return;
    if (MessageBoxA(window.dialog, ResourceString(IDS_DELETE_ALL).c_str(), ResourceString(IDS_CAPTION_CONFIRM).c_str(),
                    MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    dyn_array_direct<ext_float_pair> no_points(10, 10, nullptr);
    std::string description = doc.description;
    doc.Replace(no_points, description);
    DocumentChanged(-1);
}

// ---------------------------------------------------------------------------------------------
// Clipboard commands

int Copy() {
    const int index = GetSelectedPoint(window);
    if (index < 0) {
        Beep();
        return 0;
    }
    // Always a decimal point: the clipboard text is not a display form. Every digit travels,
    // so Cut and Paste give back the very same point.
    return CopyStringToClipboard(window.dialog, point_text(*doc.points[index]).c_str());
}

void Cut() {
    // The point leaves the list only once the clipboard holds it.
    if (GetSelectedPoint(window) < 0 || !Copy()) {
        Beep();
        return;
    }
    DeleteItem();
}

void Paste() {
    // A table of several points, as a spreadsheet copies it, goes through the import.
    std::string bytes;
    if (GetClipboardUnicodeBytes(bytes)) {
        ImportTable table = import_scan(bytes.data(), bytes.size());
        if (table.points.size() > 1) {
            if (AskSaveChanges()) ImportPoints(table, ResourceString(IDS_IMPORT_FROM_CLIPBOARD));
            return;
        }
    }
    ext_float_pair pair(ext_float(0.0), ext_float(0.0));
    char text[PASTE_BUFFER];
    if (!GetStringFromClipboard(text, sizeof text) || !parse_point_text(text, pair)) {
        Beep();
        return;
    }
    const int index = doc.Put(pair);
    if (index < 0) {
        Beep();
        return;
    }
    DocumentChanged(index);
}
