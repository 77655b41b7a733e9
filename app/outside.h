// Documents that come from outside the program: a file named on the command line or dropped
// on the main window, the recent-files list of the file menu, and the per-user association of
// .tid files with the program.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// The command line's arguments after the program's name, in UTF-8.
std::vector<std::string> CommandLineArguments();
// After the unsaved-changes question: a .tid opens as the document, any other file goes
// through the import dialog. False when nothing was opened.
bool OpenFromOutside(const std::string& path);
// WM_DROPFILES: the first file dropped opens as OpenFromOutside opens it.
void OnDropFiles(HDROP drop);

// The file menu lists recent_files above "Konec" as "&1 name".
void UpdateRecentMenu();
// Command IDM_RECENT_FIRST + k; a file no longer there leaves the list with a message.
void OpenRecent(int k);

// Writes the association of .tid with this program under HKCU\Software\Classes, which needs
// no administrator rights; `exe` is the program's full path. True when every key was written.
bool RegisterFileType(const std::wstring& exe);
