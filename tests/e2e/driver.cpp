#include "tests/e2e/driver.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace driver {

namespace {

// Round trips to the program before a wait gives up; each needs the program to answer.
constexpr int MAX_ROUNDS = 20000;

struct DialogSearch {
    const std::string* caption;
    HWND skip;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<DialogSearch*>(param);
    if (wnd != s->skip && IsWindowVisible(wnd) && ClassOf(wnd) == "#32770" &&
        Text(wnd).compare(0, s->caption->size(), *s->caption) == 0) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

struct ChildSearch {
    int id;
    const char* cls;
    HWND found;
};

BOOL CALLBACK FindChild(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<ChildSearch*>(param);
    if (s->cls ? ClassOf(wnd) == s->cls : GetDlgCtrlID(wnd) == s->id) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindGraph(HWND wnd, LPARAM out) {
    if (ClassOf(wnd) != "VexGraphV2WClass" || !IsWindowVisible(wnd)) return TRUE;
    *reinterpret_cast<HWND*>(out) = wnd;
    return FALSE;
}

}  // namespace

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
    // Asked of the window itself: GetWindowText does not ask windows of another process.
    char text[512] = "";
    DWORD_PTR length = 0;
    SendMessageTimeoutA(wnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 30000, &length);
    return std::string(text, length < sizeof text ? length : 0);
}

std::string ClassOf(HWND wnd) {
    char cls[64] = "";
    GetClassNameA(wnd, cls, sizeof cls);
    return cls;
}

std::string DialogText(HWND dlg) {
    std::string text;
    for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != "Static" || Text(child).empty()) continue;
        if (!text.empty()) text += '\n';
        text += Text(child);
    }
    return text;
}

HWND Descendant(HWND parent, int id, const char* cls) {
    ChildSearch search = {id, cls, nullptr};
    EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool SaveWindowPicture(HWND wnd, const char* path) {
    RECT rc;
    GetWindowRect(wnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    const bool copied = BitBlt(memory, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY) != 0;
    GdiFlush();
    const DWORD row = ((static_cast<DWORD>(w) * 3 + 3) & ~3u);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + row * static_cast<DWORD>(h);
    bool written = false;
    if (copied) {
        if (FILE* f = std::fopen(path, "wb")) {
            written = std::fwrite(&file, sizeof file, 1, f) == 1 &&
                      std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f) == 1 &&
                      std::fwrite(bits, row, static_cast<size_t>(h), f) == static_cast<size_t>(h);
            written = std::fclose(f) == 0 && written;
        }
    }
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

bool OpenClipboardSoon() {
    for (int attempt = 0; attempt < 1000000; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        SwitchToThread();
    }
    return false;
}

std::string ClipboardText() {
    std::string text = "<none>";
    if (!OpenClipboardSoon()) return "<locked>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

bool PutClipboardText(const std::string& text) {
    if (!OpenClipboardSoon()) return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    // The program reads it next: let the bridge have its look first.
    if (OpenClipboardSoon()) CloseClipboard();
    return true;
}

ScratchFolder::ScratchFolder() {
    static int counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%stitrion-test-%lu-%d", temp, GetCurrentProcessId(), ++counter);
    dir_ = name;
    CreateDirectoryA(dir_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir_ + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do DeleteFileA(path(found.cFileName).c_str());
        while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(dir_.c_str());
}

ProgramCopy::ProgramCopy() {
    for (const char* file : {"titrion3.exe", "vexplot3.dll"})
        copied_ = CopyFileA((ExeDir() + "\\" + file).c_str(), path(file).c_str(), FALSE) && copied_;
}

Program::~Program() {
    if (!pi_.hProcess) return;
    if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 99);
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
}

bool Program::Start() {
    std::string command = "\"" + exe_ + "\" ignored.tid";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    char cwd[MAX_PATH];
    GetTempPathA(sizeof cwd, cwd);
    if (!CreateProcessA(exe_.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, cwd, &si, &pi_)) {
        return false;
    }
    WaitForInputIdle(pi_.hProcess, 60000);
    main_ = WaitDialog("Titrion - ");
    return main_ != nullptr;
}

bool Program::Sync() const {
    DWORD_PTR result;
    return main_ && SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) != 0;
}

bool Program::Settle() const {
    // Posted behind whatever was posted before, so it is handled after it.
    PostMessageA(main_, WM_COMMAND, IDM_ABOUT, 0);
    HWND about = WaitDialog("O aplikaci");
    if (!about) return false;
    Press(about, IDOK);
    return WaitGone(about) && Sync();
}

HWND Program::Dialog(const std::string& caption) const {
    DialogSearch search = {&caption, main_, nullptr};
    EnumThreadWindows(pi_.dwThreadId, FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Program::WaitDialog(const std::string& caption) const {
    for (int round = 0; round < MAX_ROUNDS; ++round) {
        if (HWND dlg = Dialog(caption)) return dlg;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0) break;
        // Before the main window exists there is nothing to send to: wait for input idle.
        if (main_ ? !Sync() : WaitForInputIdle(pi_.hProcess, 1000) == WAIT_FAILED) break;
    }
    return nullptr;
}

bool Program::WaitGone(HWND dlg) const {
    for (int round = 0; round < MAX_ROUNDS && IsWindow(dlg); ++round) {
        if (!Sync()) break;
    }
    return !IsWindow(dlg);
}

HWND Program::WaitGraph() const {
    for (int round = 0; round < MAX_ROUNDS; ++round) {
        HWND found = nullptr;
        EnumThreadWindows(pi_.dwThreadId, FindGraph, reinterpret_cast<LPARAM>(&found));
        if (found) return found;
        if (!Sync()) break;
    }
    return nullptr;
}

void Program::Command(UINT id) const {
    SendNotifyMessageA(main_, WM_COMMAND, id, 0);
}

void Program::Key(HWND to, UINT message, WPARAM key) const {
    PostMessageA(to, message, key, 1);
}

void Program::Press(HWND dlg, int button) {
    SendNotifyMessageA(dlg, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(dlg, button)));
}

bool Program::EnterPoint(const char* caption, const char* vb, const char* e) const {
    HWND dlg = WaitDialog(caption);
    if (!dlg) return false;
    SendMessageA(GetDlgItem(dlg, IDC_VB), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(vb));
    SendMessageA(GetDlgItem(dlg, IDC_E), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(e));
    Press(dlg, IDOK);
    return WaitGone(dlg);
}

bool Program::ChooseFile(const char* caption, const std::string& path) const {
    HWND picker = WaitDialog(caption);
    if (!picker) return false;
    HWND field = Descendant(picker, FILE_NAME_FIELD);
    if (!field) return false;
    HWND edit = ClassOf(field) == "Edit" ? field : Descendant(field, 0, "Edit");
    if (!edit) return false;
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    Press(picker, IDOK);
    return WaitGone(picker) && Sync();
}

DWORD Program::WaitExit() const {
    if (WaitForSingleObject(pi_.hProcess, 60000) != WAIT_OBJECT_0) return static_cast<DWORD>(-2);
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

}  // namespace driver
