// The real titrion3.exe, started from a scratch folder with its vexplot3.dll and driven from
// this process the way a user drives it: keys and commands posted to its windows, texts typed
// into its dialogs, buttons pressed. The saved document and the settings file are checked
// afterwards. Each wait is on the program's own thread: a message sent to its main window
// returns only once that thread has taken up its message loop again.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int IDC_LIST = 1004;
constexpr int IDC_VB = 1005;
constexpr int IDC_E = 1006;
constexpr int FILE_NAME_FIELD = 1148;
constexpr UINT IDM_SAVE = 40004;
constexpr UINT IDM_ADD = 40009;
constexpr UINT IDM_COPY = 40022;
constexpr UINT IDM_PASTE = 40023;

std::string ExeDir() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\'));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Text(HWND wnd) {
    char text[512] = "";
    GetWindowTextA(wnd, text, sizeof text);
    return text;
}

std::string ClassOf(HWND wnd) {
    char cls[64] = "";
    GetClassNameA(wnd, cls, sizeof cls);
    return cls;
}

// The descendant of `parent` with this control id, or of this class under it.
HWND Descendant(HWND parent, int id, const char* cls = nullptr) {
    struct Search {
        int id;
        const char* cls;
        HWND found;
    } search = {id, cls, nullptr};
    EnumChildWindows(
        parent,
        [](HWND wnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (s->cls ? ClassOf(wnd) == s->cls : GetDlgCtrlID(wnd) == s->id) {
                s->found = wnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class Program {
public:
    explicit Program(const std::string& dir) : dir_(dir) {}
    ~Program() {
        if (pi_.hProcess) {
            if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 99);
            CloseHandle(pi_.hProcess);
            CloseHandle(pi_.hThread);
        }
    }

    // Starts the program with a file name on its command line, which it ignores, and finds
    // its main window.
    bool Start() {
        const std::string exe = dir_ + "\\titrion3.exe";
        std::string command = "\"" + exe + "\" ignored.tid";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        char cwd[MAX_PATH];
        GetTempPathA(sizeof cwd, cwd);
        if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, cwd, &si, &pi_)) {
            return false;
        }
        WaitForInputIdle(pi_.hProcess, 60000);
        main_ = Dialog("Titrion - ");
        return main_ != nullptr;
    }

    HWND main() const { return main_; }
    HWND list() const { return GetDlgItem(main_, IDC_LIST); }

    // Returns once the program's thread is back in a message loop.
    bool Sync() const {
        DWORD_PTR result;
        return SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) != 0;
    }

    // A visible dialog of the program whose caption starts with `caption`.
    HWND Dialog(const std::string& caption) const {
        struct Search {
            const std::string* caption;
            HWND skip;
            HWND found;
        } search = {&caption, main_, nullptr};
        EnumThreadWindows(
            pi_.dwThreadId,
            [](HWND wnd, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                if (wnd != s->skip && IsWindowVisible(wnd) && ClassOf(wnd) == "#32770" &&
                    Text(wnd).compare(0, s->caption->size(), *s->caption) == 0) {
                    s->found = wnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    HWND WaitDialog(const std::string& caption) const {
        for (int round = 0; round < 1000; ++round) {
            if (HWND dlg = Dialog(caption)) return dlg;
            if (main_ && !Sync()) break;
            if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0) break;
        }
        return nullptr;
    }

    bool WaitGone(HWND dlg) const {
        for (int round = 0; round < 1000 && IsWindow(dlg); ++round) {
            if (!Sync()) break;
        }
        return !IsWindow(dlg);
    }

    void Command(UINT id) const { SendNotifyMessageA(main_, WM_COMMAND, id, 0); }
    void Key(HWND to, UINT message, WPARAM key) const { PostMessageA(to, message, key, 1); }

    static void Press(HWND dlg, int button) {
        SendNotifyMessageA(dlg, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                           reinterpret_cast<LPARAM>(GetDlgItem(dlg, button)));
    }

    // Fills the point dialog of this caption once it is open, and confirms it.
    bool EnterPoint(const char* caption, const char* vb, const char* e) const {
        HWND dlg = WaitDialog(caption);
        if (!dlg) return false;
        SendMessageA(GetDlgItem(dlg, IDC_VB), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(vb));
        SendMessageA(GetDlgItem(dlg, IDC_E), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(e));
        Press(dlg, IDOK);
        return WaitGone(dlg);
    }

    // Ends only through the program's own exit: its exit code, or -2 when it did not end.
    DWORD WaitExit() const {
        if (WaitForSingleObject(pi_.hProcess, 60000) != WAIT_OBJECT_0) return static_cast<DWORD>(-2);
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return code;
    }

private:
    std::string dir_;
    PROCESS_INFORMATION pi_ = {};
    HWND main_ = nullptr;
};

class ScratchFolder {
public:
    ScratchFolder() {
        static int counter = 0;
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%stitrion-e2e-%lu-%d", temp, GetCurrentProcessId(), ++counter);
        dir_ = name;
        CreateDirectoryA(dir_.c_str(), nullptr);
        for (const char* file : {"titrion3.exe", "vexplot3.dll"}) {
            copied_ = CopyFileA((ExeDir() + "\\" + file).c_str(), path(file).c_str(), FALSE) && copied_;
        }
    }
    ~ScratchFolder() {
        for (const char* file : {"titrion3.exe", "vexplot3.dll", "titrion2.ini", "titrace.tid"}) {
            DeleteFileA(path(file).c_str());
        }
        RemoveDirectoryA(dir_.c_str());
    }
    std::string path(const std::string& name) const { return dir_ + "\\" + name; }
    const std::string& dir() const { return dir_; }
    bool copied() const { return copied_; }

private:
    std::string dir_;
    bool copied_ = true;
};

std::string Clipboard() {
    std::string text = "<none>";
    if (!OpenClipboard(nullptr)) return "<locked>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void PutClipboard(const char* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const size_t size = std::strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), text, size);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

void ExpectDefaultSettings(const std::string& ini) {
    const char* lines[] = {"[Main]",          "use_comma=1",      "vb_precis=3",        "e_precis=4",
                           "de_precis=4",     "d2e_precis=4",     "res_precis=4",       "[Graph]",
                           "graph_precis=4",  "graph_bkg=0",      "graph_line=16711680", "graph_axes=255",
                           "graph_labels=65280", "graph_show_labels=1", "graph_show_axes=1"};
    size_t at = 0;
    for (const char* line : lines) {
        const size_t found = ini.find(line, at);
        EXPECT_NE(found, std::string::npos) << line << " in\n" << ini;
        if (found != std::string::npos) at = found;
    }
}

TEST(EndToEnd, EnterEditCopyPasteSaveAndClose) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.copied());
    Program titrion(folder.dir());
    ASSERT_TRUE(titrion.Start()) << "titrion3.exe did not start";
    EXPECT_EQ(Text(titrion.main()), "Titrion - Bez jména 1.tid");
    HWND list = titrion.list();

    // Points typed in: "p" on the list, then the menu command.
    titrion.Key(list, WM_CHAR, 'p');
    ASSERT_TRUE(titrion.EnterPoint("Přidat...", "2", "-20"));
    titrion.Command(IDM_ADD);
    ASSERT_TRUE(titrion.EnterPoint("Přidat...", "1,5", "-120"));
    titrion.Command(IDM_ADD);
    ASSERT_TRUE(titrion.EnterPoint("Přidat...", "3.25", "80"));

    // Home, Down, Enter: the second point (Vb 2) in the edit dialog.
    titrion.Key(list, WM_KEYDOWN, VK_HOME);
    titrion.Key(list, WM_KEYDOWN, VK_DOWN);
    titrion.Key(list, WM_KEYDOWN, VK_RETURN);
    HWND edit = titrion.WaitDialog("Upravit...");
    ASSERT_TRUE(edit);
    EXPECT_EQ(Text(GetDlgItem(edit, IDC_VB)), "2,000");
    EXPECT_EQ(Text(GetDlgItem(edit, IDC_E)), "-20,0000");
    ASSERT_TRUE(titrion.EnterPoint("Upravit...", "2", "-25,5"));

    // The edited point stays selected: copy it, and paste a point from here.
    titrion.Command(IDM_COPY);
    ASSERT_TRUE(titrion.Sync());
    EXPECT_EQ(Clipboard(), "2.000000\t-25.500000");
    PutClipboard("4\t150\r\n");
    titrion.Command(IDM_PASTE);
    ASSERT_TRUE(titrion.Sync());

    // Save: the untitled document asks for a name.
    titrion.Command(IDM_SAVE);
    HWND picker = titrion.WaitDialog("Uložit soubor");
    ASSERT_TRUE(picker);
    HWND name_field = Descendant(picker, FILE_NAME_FIELD);
    ASSERT_TRUE(name_field);
    HWND name_edit = ClassOf(name_field) == "Edit" ? name_field : Descendant(name_field, 0, "Edit");
    ASSERT_TRUE(name_edit);
    EXPECT_EQ(Text(name_edit), "Bez jména 1.tid");
    const std::string saved = folder.path("titrace.tid");
    SendMessageA(name_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(saved.c_str()));
    Program::Press(picker, IDOK);
    ASSERT_TRUE(titrion.WaitGone(picker));
    ASSERT_TRUE(titrion.Sync());
    EXPECT_EQ(Text(titrion.main()), "Titrion - titrace.tid");

    // One more point, then the close box: the prompt names the file; No discards the point.
    titrion.Key(list, WM_CHAR, 'P');
    ASSERT_TRUE(titrion.EnterPoint("Přidat...", "5", "160"));
    PostMessageA(titrion.main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND prompt = titrion.WaitDialog("Potvrďte");
    ASSERT_TRUE(prompt);
    Program::Press(prompt, IDNO);
    EXPECT_EQ(titrion.WaitExit(), 0u);

    EXPECT_EQ(ReadFile(saved), "# Titrionika 2.0\r\n\r\n1.5\t-120\r\n2\t-25.5\r\n3.25\t80\r\n4\t150\r\n");
    ExpectDefaultSettings(ReadFile(folder.path("titrion2.ini")));
}

TEST(EndToEnd, EscEndsAtOnceAndStillWritesTheSettings) {
    ScratchFolder folder;
    ASSERT_TRUE(folder.copied());
    Program titrion(folder.dir());
    ASSERT_TRUE(titrion.Start()) << "titrion3.exe did not start";
    titrion.Command(IDM_ADD);
    ASSERT_TRUE(titrion.EnterPoint("Přidat...", "1", "10"));
    titrion.Key(titrion.list(), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(titrion.WaitExit(), 0u);
    ExpectDefaultSettings(ReadFile(folder.path("titrion2.ini")));
}

}  // namespace
