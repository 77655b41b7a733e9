// Drives a running titrion3.exe from another process the way a user does: commands and keys
// posted to its windows, texts typed into its dialogs, buttons pressed. Every wait is on the
// program's own thread: a message sent to its main window returns only once that thread has
// taken up a message loop again, so nothing here sleeps.
#pragma once
#include <windows.h>

#include <string>

namespace driver {

constexpr int IDC_LIST = 1004;
constexpr int IDC_VB = 1005;
constexpr int IDC_E = 1006;
constexpr int FILE_NAME_FIELD = 1148;  // the name field of the open and save pickers
constexpr UINT IDM_OPEN = 40003;
constexpr UINT IDM_SAVE = 40004;
constexpr UINT IDM_ADD = 40009;
constexpr UINT IDM_ABOUT = 40018;
constexpr UINT IDM_COPY = 40022;
constexpr UINT IDM_PASTE = 40023;

std::string ExeDir();  // folder of the running executable
std::string ReadFile(const std::string& path);
std::string Text(HWND wnd);
std::string ClassOf(HWND wnd);
// Texts of the static controls of a dialog or message box, joined by '\n'.
std::string DialogText(HWND dlg);
// The descendant of `parent` with this control id, or (with `cls`) of this window class.
HWND Descendant(HWND parent, int id, const char* cls = nullptr);

class Program {
public:
    explicit Program(const std::string& exe) : exe_(exe) {}
    ~Program();  // a program still running is terminated
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the program (with a file name on its command line, which it ignores) in the
    // temporary folder and finds its main window; false when it does not come up.
    bool Start();

    HWND main() const { return main_; }
    HWND list() const { return GetDlgItem(main_, IDC_LIST); }

    // Sent messages overtake posted ones: Sync covers commands, Settle also covers keys.
    bool Sync() const;                                   // false when the program stopped answering
    bool Settle() const;  // every posted message handled: opens and closes the about box
    HWND Dialog(const std::string& caption) const;       // visible dialog whose caption starts so
    HWND WaitDialog(const std::string& caption) const;   // null when it does not appear
    bool WaitGone(HWND dlg) const;

    void Command(UINT id) const;
    void Key(HWND to, UINT message, WPARAM key) const;
    static void Press(HWND dlg, int button);

    // Fills the point dialog of this caption once it is open, and confirms it.
    bool EnterPoint(const char* caption, const char* vb, const char* e) const;
    // Types `path` into the open or save picker of this caption and confirms it.
    bool ChooseFile(const char* caption, const std::string& path) const;

    // The exit code once the program has ended by itself; -2 when it does not end.
    DWORD WaitExit() const;

private:
    std::string exe_;
    PROCESS_INFORMATION pi_ = {};
    HWND main_ = nullptr;
};

}  // namespace driver
