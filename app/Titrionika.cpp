// The main module: start-up, the main window, the two lists and the document, point and
// clipboard commands.
#include "app/Titrionika.h"

#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "app/Titrionika_dialogs.h"
#include "app/addedit.h"
#include "app/graph_window.h"
#include "controls/Clipboard.h"
#include "controls/ClrSel.h"
#include "controls/ClrText.h"
#include "controls/HyperLink.h"
#include "controls/cmndlgex.h"
#include "core/calc.h"
#include "core/file_io.h"
#include "core/import.h"
#include "resources/resource.h"
#include "settings/config.h"
#include "vexplot/VexGraphWindow.h"

HINSTANCE hInst;
HWND hwndMain;
HWND hwndList;
HWND hwndResults;
HWND hwndStatus;
HWND hwndTool;
HWND hwndHdr;
ImageListDuplicateProc pImageList_Duplicate;

char fname[FNAME_SIZE];
std::string file_description;
bool fname_auto = true;
bool dirty = false;
char title[TITLE_SIZE];

const char app_title[] = "Titrion";
const char msg_read_error[] = "Chyba při načítání souboru.";
const char fname_template[] = "Bez jména %u.tid";
// The literal's own NUL ends the list.
const char file_io_mask[] =
    "Titrionická data (*.tid)\0*.tid\0"
    "Textové soubory (*.txt)\0*.txt\0"
    "Všechny soubory (*.*)\0*.*\0";

namespace {

const char msg_old_comctl[] = "Titrion vyžaduje novější verzi knihovny comctl32.dll (Common controls).";
// Plain ASCII, so that it reads right in whatever code page the system has.
const char msg_old_windows[] =
    "Ceske texty programu Titrion vyzaduji Windows 10 verze 1903 nebo novejsi. "
    "Na tomto systemu se zobrazi chybne; jinak program pracuje dal.";
const char msg_save_changes[] = "Mají se změny provedené v dokumentu %s uložit?";
const char msg_write_error[] = "Chyba při ukládaní souboru.";
const char msg_delete_all[] = "Všechny položky budou vymazány.";
const char caption_error[] = "Chyba";
const char caption_confirm[] = "Potvrďte";
const char caption_open[] = "Otevřít soubor";
const char caption_save[] = "Uložit soubor";

// Layout of the main window, in pixels.
constexpr int RESULTS_WIDTH = 97;
constexpr int LISTS_GAP = 3;
constexpr int MIN_TRACK_WIDTH = 480;
constexpr int MIN_TRACK_HEIGHT = 300;

constexpr int TOOLBAR_PICTURES = 4;
constexpr int TOOLBAR_LABELS = 7;
constexpr int STRING_ROOM = 255;  // bytes per string in BuildStrList, NUL included

// "%f" of the largest double takes 317 characters; two of them, a TAB and the NUL.
constexpr int CLIPBOARD_TEXT = 2 * 320;
constexpr int PASTE_BUFFER = 256;

void Beep() {
    MessageBeep(MB_ICONEXCLAMATION);
}

void StoreHandles(HWND dlg) {
    hwndMain = dlg;
    hwndList = GetDlgItem(dlg, IDC_LIST);
    hwndResults = GetDlgItem(dlg, IDC_RESULTS);
    hwndStatus = GetDlgItem(dlg, IDC_STATUS);
    hwndTool = GetDlgItem(dlg, IDC_TOOLBAR);
    hwndHdr = ListView_GetHeader(hwndList);
}

void OnGetMinMaxInfo(HWND dlg, WPARAM wparam, LPARAM lparam) {
    DefWindowProcA(dlg, WM_GETMINMAXINFO, wparam, lparam);
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lparam);
    info->ptMinTrackSize.x = MIN_TRACK_WIDTH;
    info->ptMinTrackSize.y = MIN_TRACK_HEIGHT;
}

LRESULT OnNotify(NMHDR* hdr) {
    if (hdr->hwndFrom == hwndList || hdr->hwndFrom == hwndResults) return OnListNotify(hdr);
    return FALSE;
}

// A child's rectangle in the main window's client coordinates.
RECT ChildRect(HWND child) {
    RECT rc = {0, 0, 0, 0};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, hwndMain, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

int FindPoint(const ext_float& vb) {
    for (int i = 0; i < arr_vb.size(); ++i) {
        if (arr_vb[i]->vb == vb) return i;
    }
    return -1;
}

// Replaces the point with the same Vb, or inserts it in order; its index, or -1 when the
// array could not grow (then nothing changed).
int PutPoint(const ext_float_pair& pair) {
    const int index = FindPoint(pair.vb);
    if (index >= 0) {
        *arr_vb[index] = pair;
        return index;
    }
    return arr_vb.insert_sorted(pair);
}

// Ends an edit of the document: refill, select the point concerned, mark the change.
void DocumentChanged(int select) {
    StuffListView();
    if (select >= 0) SelectListItem(select);
    dirty = true;
}

// Exchanges the contents of two point arrays; cannot fail.
void SwapPoints(dyn_array_direct<ext_float_pair>& a, dyn_array_direct<ext_float_pair>& b) {
    std::swap(a.items, b.items);
    std::swap(a.count, b.count);
    std::swap(a.capacity, b.capacity);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Start-up

bool InitApplication(HINSTANCE instance) {
    hInst = instance;
    HMODULE comctl = GetModuleHandleA("comctl32");
    pImageList_Duplicate = comctl ? reinterpret_cast<ImageListDuplicateProc>(
                                        reinterpret_cast<void*>(GetProcAddress(comctl, "ImageList_Duplicate")))
                                  : nullptr;
    if (!pImageList_Duplicate) {
        MessageBoxA(nullptr, msg_old_comctl, caption_error, MB_OK | MB_ICONERROR);
        return false;
    }
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    if (!InitCommonControlsEx(&icc)) return false;
    return RegisterClrTextCtl() && RegisterHyperLinkCtl() && RegisterClrSelCtl() &&
           VexGraphWindow::Register(hInst);
}

void CheckCodePage() {
    // The manifest asks for UTF-8; Windows before 10 version 1903 ignores the request.
    if (GetACP() != CP_UTF8) MessageBoxA(nullptr, msg_old_windows, app_title, MB_OK | MB_ICONWARNING);
}

int TitrionMain(HINSTANCE instance) {
    if (!InitApplication(instance)) return -1;
    CheckCodePage();
    HACCEL accel = LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(IDR_ACCEL));
    LoadConfig(config_file, config);
    // Without its window the program could never be ended: leave before the loop.
    if (!CreateDialogParamA(hInst, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDlgProc, 0)) return -1;
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) ProcessMessage(accel, &msg);
    SaveConfig(config_file, config);
    return static_cast<int>(msg.wParam);
}

void ProcessMessage(HACCEL accel, MSG* msg) {
    if (TranslateAcceleratorA(hwndMain, accel, msg)) return;
    if (IsDialogMessageA(hwndMain, msg)) return;
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
        if (dlg == hwndMain) OnSize();
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
        if (dlg != hwndMain) return FALSE;
        SetWindowLongPtrA(dlg, DWLP_MSGRESULT, OnNotify(reinterpret_cast<NMHDR*>(lparam)));
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    }
    return FALSE;
}

void OnInitDialog() {
    HICON big = LoadIconA(hInst, MAKEINTRESOURCEA(IDI_TITRION));
    HICON small = static_cast<HICON>(LoadImageA(hInst, MAKEINTRESOURCEA(IDI_TITRION), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessageA(hwndMain, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(hwndMain, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small ? small : big));
    InitToolbar();
    InitListView();
    OnSize();
    HandleCommandsEnable();
    GetNewFName();
    SetTitle();
}

char* BuildStrList(int first, int count) {
    if (count < 0) return nullptr;
    // One more byte than the strings can fill, for the closing NUL.
    char* block = static_cast<char*>(std::malloc(static_cast<size_t>(count) * STRING_ROOM + 1));
    if (!block) return nullptr;
    char* pos = block;
    for (int i = 0; i < count; ++i) {
        *pos = '\0';
        const int length = LoadStringA(hInst, static_cast<UINT>(first + i), pos, STRING_ROOM);
        pos += (length > 0 ? length : 0) + 1;
    }
    *pos++ = '\0';
    char* shrunk = static_cast<char*>(std::realloc(block, static_cast<size_t>(pos - block)));
    return shrunk ? shrunk : block;
}

std::string ResourceString(UINT id) {
    char text[512];
    const int length = LoadStringA(hInst, id, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string ReadErrorText(const ReadError& error) {
    std::string text = msg_read_error;
    if (error.problem == ReadProblem::none) return text;
    const std::string reason = ResourceString(IDS_READ_PROBLEM + static_cast<UINT>(error.problem) - 1);
    char line[256];
    std::snprintf(line, sizeof line, reason.c_str(), error.line);
    return text + "\n" + line;
}

void InitToolbar() {
    SendMessageA(hwndTool, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBADDBITMAP standard = {HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
    SendMessageA(hwndTool, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&standard));
    TBADDBITMAP own = {hInst, IDB_TOOLBAR};
    const int first = static_cast<int>(
        SendMessageA(hwndTool, TB_ADDBITMAP, TOOLBAR_PICTURES, reinterpret_cast<LPARAM>(&own)));

    int label = -1;
    if (char* labels = BuildStrList(IDS_TB_NEW, TOOLBAR_LABELS)) {
        label = static_cast<int>(SendMessageA(hwndTool, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(labels)));
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
    SendMessageA(hwndTool, TB_ADDBUTTONSA, sizeof buttons / sizeof buttons[0],
                 reinterpret_cast<LPARAM>(buttons));
    SendMessageA(hwndTool, TB_AUTOSIZE, 0, 0);
    ShowWindow(hwndTool, SW_SHOW);
}

void OnSize() {
    SendMessageA(hwndTool, WM_SIZE, 0, 0);
    SendMessageA(hwndStatus, WM_SIZE, 0, 0);
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwndMain, &client);
    const int width = client.right - client.left;
    const int top = ChildRect(hwndTool).bottom - 2;
    const int bottom = ChildRect(hwndStatus).top + 1;
    const int height = bottom > top ? bottom - top : 0;
    const int list_width = width > RESULTS_WIDTH + LISTS_GAP ? width - RESULTS_WIDTH - LISTS_GAP : 0;
    SetWindowPos(hwndList, nullptr, 0, top, list_width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hwndResults, nullptr, width - RESULTS_WIDTH, top, RESULTS_WIDTH, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    int parts[2] = {list_width, -1};
    SendMessageA(hwndStatus, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void OnClose() {
    if (AskSaveChanges()) DestroyWindow(hwndMain);
}

void OnDestroy() {
    ShowWindow(hwndMain, SW_HIDE);
    PostQuitMessage(0);
}

void OnCommand(int id, int /*code*/) {
    switch (id) {
    case IDCANCEL:  // Esc: the same way out as "Konec", with its question about unsaved points
    case IDM_EXIT:
        PostMessageA(hwndMain, WM_CLOSE, 0, 0);
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
    DialogBoxParamA(hInst, MAKEINTRESOURCEA(IDD_ABOUT), hwndMain, DummyDlgProc, 0);
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

// ---------------------------------------------------------------------------------------------
// Document commands

void DisplayName(const char* path, char* out, int size) {
    if (GetFileTitleA(path, out, static_cast<WORD>(size)) == 0) return;
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    }
    std::snprintf(out, static_cast<size_t>(size), "%s", name);
}

void SetStatusText(const char* text) {
    SendMessageA(hwndStatus, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

void ReplaceDocument(dyn_array_direct<ext_float_pair>& points, std::string& description, bool changed) {
    SwapPoints(arr_vb, points);
    file_description.swap(description);
    dirty = changed;
    SetTitle();
    StuffListView();
    SelectListItem(0);
    HandleCommandsEnable();
    SetStatusText("");
}

void GetNewFName() {
    static unsigned new_counter = 1;
    std::snprintf(fname, sizeof fname, fname_template, new_counter++);
    fname_auto = true;
}

void SetTitle() {
    char name[MAX_PATH];
    DisplayName(fname, name, sizeof name);
    std::snprintf(title, sizeof title, "%s - %s", app_title, name);
    SetWindowTextA(hwndMain, title);
}

bool AskSaveChanges() {
    if (!dirty || arr_vb.is_empty()) return true;
    char name[MAX_PATH];
    DisplayName(fname, name, sizeof name);
    char text[sizeof msg_save_changes + MAX_PATH];
    std::snprintf(text, sizeof text, msg_save_changes, name);
    switch (MessageBoxA(hwndMain, text, caption_confirm, MB_YESNOCANCEL | MB_ICONQUESTION)) {
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
    if (!GetFileName(hwndMain, file_io_mask, caption_open, path, sizeof path, FALSE)) return false;
    std::string read_description;
    ReadError error;
    const bool read = internal_read(path, scratch, &read_description, &error);
    if (read) {
        std::snprintf(fname, sizeof fname, "%s", path);
        fname_auto = false;
        ReplaceDocument(scratch, read_description, false);
    } else {
        MessageBoxA(hwndMain, ReadErrorText(error).c_str(), nullptr, MB_OK | MB_ICONWARNING);
    }
    return read;
}

bool SaveFile() {
    if (fname_auto) return SaveFileAs();
    const bool written = internal_save(fname, arr_vb, file_description);
    if (written) {
        dirty = false;
    } else {
        MessageBoxA(hwndMain, msg_write_error, nullptr, MB_OK | MB_ICONWARNING);
    }
    return written;
}

bool SaveFileAs() {
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s", fname);
    if (!GetFileName(hwndMain, file_io_mask, caption_save, path, sizeof path, TRUE)) return false;
    if (!internal_save(path, arr_vb, file_description)) {
        MessageBoxA(hwndMain, msg_write_error, nullptr, MB_OK | MB_ICONWARNING);
        return false;
    }
    fname_auto = false;
    dirty = false;
    std::snprintf(fname, sizeof fname, "%s", path);
    SetTitle();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Point commands

void AddItem() {
    ext_float_pair pair(ext_float(0.0), ext_float(0.0));
    if (!Add(pair)) return;
    const int index = PutPoint(pair);
    if (index < 0) {
        Beep();
        return;
    }
    DocumentChanged(index);
}

void EditItem() {
    const int index = GetSelectedPoint();
    if (index < 0) {
        Beep();
        return;
    }
    // Out of the array while the dialog is open, so that it is no duplicate of itself.
    ext_float_pair pair = *arr_vb[index];
    arr_vb.remove(index);
    if (!Edit(pair)) {
        arr_vb.insert(pair, index);
        return;
    }
    // Removing one point left room for one: this cannot fail.
    DocumentChanged(PutPoint(pair));
}

void DeleteItem() {
    const int index = GetSelectedPoint();
    if (index < 0) {
        Beep();
        return;
    }
    arr_vb.remove(index);
    DocumentChanged(-1);
}

void DeleteAll() {
    if (arr_vb.is_empty()) return;
    if (MessageBoxA(hwndMain, msg_delete_all, caption_confirm, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    arr_vb.flush();
    DocumentChanged(-1);
}

// ---------------------------------------------------------------------------------------------
// Clipboard commands

int Copy() {
    const int index = GetSelectedPoint();
    if (index < 0) {
        Beep();
        return 0;
    }
    const ext_float_pair* p = arr_vb[index];
    // Always a decimal point: the clipboard text is not a display form.
    char text[CLIPBOARD_TEXT];
    std::snprintf(text, sizeof text, "%f\t%f", p->vb.value, p->e.value);
    return CopyStringToClipboard(hwndMain, text);
}

void Cut() {
    // The point leaves the list only once the clipboard holds it.
    if (GetSelectedPoint() < 0 || !Copy()) {
        Beep();
        return;
    }
    DeleteItem();
}

bool ParsePointText(const char* text, ext_float_pair& pair) {
    char buffer[PASTE_BUFFER];
    std::snprintf(buffer, sizeof buffer, "%s", text);
    char* vb_token = skip_ws(buffer);
    char* vb_end = seek(vb_token);
    char* e_token = vb_end;
    if (*vb_end) {
        e_token = skip_ws(vb_end + 1);
        *vb_end = '\0';
        *seek(e_token) = '\0';
    }
    ext_float vb, e;
    if (!vb.parse(vb_token) || !e.parse(e_token)) return false;
    pair = ext_float_pair(vb, e);
    return true;
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
    if (!GetStringFromClipboard(text, sizeof text) || !ParsePointText(text, pair)) {
        Beep();
        return;
    }
    const int index = PutPoint(pair);
    if (index < 0) {
        Beep();
        return;
    }
    DocumentChanged(index);
}
