// Options, Details, HTML export and help commands of the main window.
#pragma once

#include <windows.h>

#include <string>

struct ImportTable;

// Options dialog (command 40013): the decimal comma and the precisions; refills the lists.
void ShowOptions();
// The message and the check of every precision field: a non-negative integer.
extern char int_error[];
bool validate(unsigned id, void* value);

// Details of the selected result (command 40014, double click on a result).
void ShowDetails();

// HTML report of the document (command 40021).
void ExportHTML();
// Asks for a file and writes the document there as CSV.
void ExportCSV();
INT_PTR CALLBACK ExportHTMLDlgProc(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam);

// Asks for a file to import and reads it into `table`; `source` names it for the messages.
// False when the user gave up or the file could not be read (after a message).
bool ChooseImportFile(ImportTable& table, std::string& source);
// The same for a file already named.
bool ReadImportFile(const std::string& path, ImportTable& table, std::string& source);
// Shows the table in the import dialog; true when confirmed with columns that give points (then
// the table's points are theirs). A table without numbers gets a message naming `source`.
bool ImportDialog(ImportTable& table, const std::string& source);

// Opens "titrion2.pdf" (kind 1) or "titrion2.rtf" (any other kind) beside the program and
// turns every failure of the shell into a message.
void ShowHelp(int kind);
// The shell call ShowHelp makes; tests put their own here to see the request and to give
// any result.
using HelpShellExecute = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
extern HelpShellExecute help_shell_execute;
