// The main module of titrion3.exe: start-up, the main window, the document commands, point
// entry and deletion, and the clipboard commands. The two lists are in app/lists.h.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/lists.h"
#include "core/dyn_array_direct.h"
#include "core/ext_float.h"

// Window handles, valid from the main dialog's initialisation until it is destroyed.
extern HINSTANCE hInst;
extern HWND hwndMain;     // the main dialog; owner of the shell's dialogs and message boxes
extern HWND hwndList;     // measurement list, control 1004
extern HWND hwndResults;  // result list, control 1006
extern HWND hwndStatus;   // status bar, control 1002
extern HWND hwndTool;     // toolbar, control 1000
extern HWND hwndHdr;      // header of the measurement list

// comctl32's ImageList_Duplicate, looked up at start: its presence proves a recent enough
// library, and the result list's header gets its own copy of the header pictures with it.
using ImageListDuplicateProc = HIMAGELIST(WINAPI*)(HIMAGELIST);
extern ImageListDuplicateProc pImageList_Duplicate;

// The document: its file path (or an automatic name while it has none), whether that name
// is automatic, whether it has unsaved changes, and the main window's title.
constexpr int FNAME_SIZE = MAX_PATH;
constexpr int TITLE_SIZE = 280;
extern char fname[FNAME_SIZE];
extern std::string file_description;  // the comment lines that describe the curve in its file
extern bool fname_auto;
extern bool dirty;
extern char title[TITLE_SIZE];

extern const char app_title[];       // "Titrion"
extern const char msg_read_error[];  // a file that cannot be opened or read
extern const char fname_template[];  // "Bez jména %u.tid"
extern const char file_io_mask[];    // the filter list of the open and save pickers

// Start-up: the checks, class registrations, settings, main dialog and message loop; returns
// the exit code. WinMain calls only this.
int TitrionMain(HINSTANCE instance);
// Start-up steps 2 to 4: comctl32 check, common controls, window classes. False ends the
// program with exit code -1.
bool InitApplication(HINSTANCE instance);
// Called by TitrionMain after InitApplication: where the system kept its own code page
// instead of UTF-8 (before Windows 10 version 1903), one warning in plain ASCII that the
// Czech texts cannot be shown right; the program goes on either way.
void CheckCodePage();

// One message of the main loop: the accelerators first, then the main dialog's keyboard
// handling, then translation and dispatch.
void ProcessMessage(HACCEL accel, MSG* msg);

INT_PTR CALLBACK MainDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam);
// About box and help error box: OK and Esc end it.
INT_PTR CALLBACK DummyDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam);

// Main window handlers.
void OnInitDialog();
void OnSize();
void OnClose();
void OnDestroy();
void OnCommand(int id, int code);
void InitToolbar();
char* BuildStrList(int first, int count);  // NUL-separated, double-NUL-ended; free() it
std::string ResourceString(UINT id);        // one string of the string table
struct ReadError;
std::string ReadErrorText(const ReadError& error);  // msg_read_error and the reader's reason
void About();

// Document commands.
void GetNewFName();
void SetTitle();
bool AskSaveChanges();  // the unsaved-changes prompt; false: the command must stop
void NewFile();
bool OpenFile();
bool SaveFile();
bool SaveFileAs();
// The points of a read or imported document replace the current ones, which leave with
// `points`; so does the description. `changed`: the new document is not yet saved.
void ReplaceDocument(dyn_array_direct<ext_float_pair>& points, std::string& description, bool changed);
// The name without its folder, as the title and the prompts show it.
void DisplayName(const char* path, char* out, int size);
// The text of the status bar's first part.
void SetStatusText(const char* text);

// Point commands.
void AddItem();
void EditItem();
void DeleteItem();
void DeleteAll();

// Clipboard commands.
int Copy();
void Cut();
void Paste();
// The first two blank-separated tokens of `text` as a point; false unless both are numbers.
bool ParsePointText(const char* text, ext_float_pair& pair);
