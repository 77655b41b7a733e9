// Drives a running titrion3.exe from another process the way a user does: commands and keys
// posted to its windows, texts typed into its dialogs, buttons pressed. Every wait is on the
// program's own thread: a message sent to its main window returns only once that thread has
// taken up a message loop again, so nothing here sleeps.
#pragma once
#include <windows.h>

#include <string>

#include "resources/resource.h"

namespace driver {

constexpr int FILE_NAME_FIELD = 1148;  // the name field of the open and save pickers

std::string ExeDir();  // folder of the running executable
std::string ReadFile(const std::string& path);
std::string Text(HWND wnd);
std::string ClassOf(HWND wnd);
// Texts of the static controls of a dialog or message box, joined by '\n'.
std::string DialogText(HWND dlg);
// The descendant of `parent` with this control id, or (with `cls`) of this window class.
HWND Descendant(HWND parent, int id, const char* cls = nullptr);
// A picture of the window as it is on the screen, written as a 24-bit BMP file.
bool SaveWindowPicture(HWND wnd, const char* path);

// Another process (Wine's clipboard bridge to X11) may hold the clipboard open for a moment
// after a change: these try again, yielding rather than sleeping, until it lets go.
bool OpenClipboardSoon();
std::string ClipboardText();  // "<none>" without text, "<locked>" when it never opens
bool PutClipboardText(const std::string& text);  // false when it never opens

// A folder of its own in the temporary folder, removed with the files in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string path(const std::string& name) const { return dir_ + "\\" + name; }
    const std::string& dir() const { return dir_; }

private:
    std::string dir_;
};

// A scratch folder holding a copy of the program and its library.
class ProgramCopy : public ScratchFolder {
public:
    ProgramCopy();
    std::string exe() const { return path("titrion3.exe"); }
    bool copied() const { return copied_; }

private:
    bool copied_ = true;
};

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
    DWORD process_id() const { return pi_.dwProcessId; }
    HWND list() const { return GetDlgItem(main_, IDC_LIST); }

    // Sent messages overtake posted ones: Sync covers commands, Settle also covers keys.
    bool Sync() const;                                   // false when the program stopped answering
    bool Settle() const;  // every posted message handled: opens and closes the about box
    HWND Dialog(const std::string& caption) const;       // visible dialog whose caption starts so
    HWND WaitDialog(const std::string& caption) const;   // null when it does not appear
    bool WaitGone(HWND dlg) const;  // also for any other window of the program
    HWND WaitGraph() const;          // the visible graph window, once it is there

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
