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
// Whether a file is a document (.tid) rather than something for the import.
bool IsDocumentFile(const std::string& path);
// The first file of a drop, in UTF-8 ("" for none); the drop is finished.
std::string DroppedFile(HDROP drop);

// The file menu lists recent_files above "Konec" as "&1 name".
void UpdateRecentMenu();

// Writes the association of .tid with this program under HKCU\Software\Classes, which needs
// no administrator rights; `exe` is the program's full path. True when every key was written.
bool RegisterFileType(const std::wstring& exe);
