// The main module of titrion3.exe: start-up, the main window's procedure and the document,
// point and clipboard commands. The window's state is in app/main_window.h, its lists in
// app/lists.h, the enabling of its commands in app/commands.h.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "app/lists.h"
#include "app/main_window.h"
#include "core/dyn_array_direct.h"
#include "core/ext_float.h"
#include "core/import.h"

// Start-up: the checks, class registrations, settings, main dialog and message loop; returns
// the exit code. WinMain calls only this.
int TitrionMain(HINSTANCE instance);
// "titrion3.exe /register": associates .tid with the program for this user and says so;
// the exit code.
int RegisterProgram();
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

// Main window handlers.
void OnInitDialog();
void OnSize();
void OnClose();
void OnDestroy();
void OnCommand(int id, int code);
void InitToolbar();
void About();

// Document commands.
void GetNewFName();
void SetTitle();
bool AskSaveChanges();  // the unsaved-changes prompt; false: the command must stop
void NewFile();
bool OpenFile();
// Reads the .tid at `path` as the document, without asking; false with a message when it
// cannot be read.
bool OpenDocument(const std::string& path);
// After the unsaved-changes question: a .tid opens as the document, any other file goes
// through the import dialog. False when nothing was opened.
bool OpenFromOutside(const std::string& path);
// WM_DROPFILES: the first file dropped opens as OpenFromOutside opens it.
void OnDropFiles(HDROP drop);
// Command IDM_RECENT_FIRST + k; a file no longer there leaves the list with a message.
void OpenRecent(int k);
bool SaveFile();
bool SaveFileAs();
// Import command: asks about unsaved changes, then for a file, and imports it.
void ImportFile();
// Shows the table in the import dialog and, on OK, makes its points a new untitled, changed
// document. True when the document was replaced.
bool ImportAsDocument(ImportTable& table, const std::string& source);
// The points of a read or imported document replace the current ones, which leave with
// `points`; so does the description. `changed`: an import, which becomes a new untitled,
// unsaved document and can be undone; otherwise the document is the file named by file_name.
void ReplaceDocument(dyn_array_direct<ext_float_pair>& points, std::string& description, bool changed);

// "Převést na pH": the document's points read through the stored calibration become a new
// untitled pH document, after the question about unsaved changes; the file stays as it was.
void ConvertToPh();
// Undo and redo of the changes of the points.
void UndoChange();
void RedoChange();

// Point commands.
void AddItem();
void EditItem();
void DeleteItem(bool ask = true);  // all selected points; asks first when there are several
void DeleteAll();

// Clipboard commands.
int Copy();
void Cut();
void Paste();
