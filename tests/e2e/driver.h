// Drives a running titrion3.exe from another process as a user does. Every wait is on the
// program's thread: a message sent to its main window returns once it is in a message loop.
#pragma once
#include <windows.h>
#include <string>
#include "resources/resource.h"
namespace driver {
constexpr int FILE_NAME_FIELD = 1148;  // the name field of the open and save pickers
std::string ExeDir();                  // folder of the running executable
std::string ReadFile(const std::string& path);
std::string Text(HWND wnd);  // asked of the window, so also of another process's
std::string ClassOf(HWND wnd);
std::string DialogText(HWND dlg);                                 // texts of its static controls, joined by '\n'
HWND Descendant(HWND parent, int id, const char* cls = nullptr);  // by control id, or by class
HWND NameField(HWND picker);                                      // the edit control of a picker's name field
bool SaveWindowPicture(HWND wnd, const char* path);               // as on the screen, a 24-bit BMP file
// Wine's clipboard bridge may hold the clipboard for a moment: these try again, yielding.
std::string ClipboardText();                     // "<none>" without text, "<locked>" when it never opens
bool PutClipboardText(const std::string& text);  // false when it never opens
struct ScratchFolder {                           // a folder of its own in the temporary folder, removed with its files
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    std::string path(const std::string& name) const { return dir_ + "\\" + name; }
    const std::string& dir() const { return dir_; }
    std::string dir_;
};
struct ProgramCopy : ScratchFolder {  // holding a copy of the program and its library
    ProgramCopy();
    std::string exe() const { return path("titrion3.exe"); }
    bool copied() const { return copied_; }
    bool copied_ = true;
};
class Program {
public:
    explicit Program(const std::string& exe, const std::string& arguments = "") : exe_(exe), arguments_(arguments) {}
    ~Program();  // a program still running is terminated
    Program(const Program&) = delete;
    bool Start();  // in the temporary folder; false when its main window does not come
    HWND main() const { return main_; }
    DWORD process_id() const { return pi_.dwProcessId; }
    HWND list() const { return GetDlgItem(main_, IDC_LIST); }
    // Sent messages overtake posted ones: Sync covers commands, Settle also covers keys.
    bool Sync() const;                                  // false when the program stopped answering
    bool Settle() const;                                // every posted message handled: opens and closes the about box
    HWND Dialog(const std::string& caption) const;      // visible, enabled (so topmost modal), caption starts so
    HWND WaitDialog(const std::string& caption) const;  // null when it does not appear
    bool WaitGone(HWND wnd) const;
    HWND WaitGraph() const;  // the visible graph window, once it is there
    void Command(UINT id) const { SendNotifyMessageA(main_, WM_COMMAND, id, 0); }
    void Key(HWND to, UINT message, WPARAM key) const { PostMessageA(to, message, key, 1); }
    static void Press(HWND dlg, int button);
    void Drop(const std::string& path) const;  // as the shell drops a file on the main window
    bool ChooseFile(const char* caption, const std::string& path) const;  // in the picker
    DWORD WaitExit() const;  // the exit code once it ended by itself; -2 when it does not end
private:
    std::string exe_, arguments_;
    PROCESS_INFORMATION pi_ = {};
    HWND main_ = nullptr;
};
}  // namespace driver
