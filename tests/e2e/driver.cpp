#include "tests/e2e/driver.h"
#include <shlobj.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
namespace driver {
namespace {
constexpr int MAX_ROUNDS = 20000;  // round trips to the program before a wait gives up
// A visible, enabled top window of this class and caption, or a child of this id or class.
struct Search {
    const std::string* caption;
    HWND skip;
    int id;
    const char* cls;
    HWND found;
};
BOOL CALLBACK Find(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    const bool hit = s->caption ? wnd != s->skip && IsWindowVisible(wnd) && IsWindowEnabled(wnd) &&
                                      ClassOf(wnd) == s->cls && Text(wnd).rfind(*s->caption, 0) == 0
                     : s->cls ? ClassOf(wnd) == s->cls
                              : GetDlgCtrlID(wnd) == s->id;
    return hit ? (s->found = wnd, FALSE) : TRUE;
}
}  // namespace
std::string ExeDir() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path).substr(0, std::strrchr(path, '\\') - path);
}
std::string ReadFile(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}
std::string Text(HWND wnd) {
    char text[512] = "";
    DWORD_PTR n = 0;
    SendMessageTimeoutA(wnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 30000, &n);
    return std::string(text, n < sizeof text ? n : 0);
}
std::string ClassOf(HWND wnd) {
    char cls[64] = "";
    return std::string(cls, GetClassNameA(wnd, cls, sizeof cls));
}
std::string DialogText(HWND dlg) {
    std::string text;
    for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == "Static" && !Text(child).empty()) text += (text.empty() ? "" : "\n") + Text(child);
    return text;
}
HWND Descendant(HWND parent, int id, const char* cls) {
    Search search = {nullptr, nullptr, id, cls, nullptr};
    EnumChildWindows(parent, Find, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
HWND NameField(HWND picker) {
    HWND field = Descendant(picker, FILE_NAME_FIELD);
    return field && ClassOf(field) != "Edit" ? Descendant(field, 0, "Edit") : field;
}
bool SaveWindowPicture(HWND wnd, const char* path) {
    RECT rc;
    GetWindowRect(wnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const DWORD row = (static_cast<DWORD>(w) * 3 + 3) & ~3u,
                offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const BITMAPFILEHEADER file = {0x4D42, offset + row * h, 0, 0, offset};
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HGDIOBJ old = SelectObject(memory, CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    FILE* f =
        BitBlt(memory, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY) && GdiFlush() ? std::fopen(path, "wb") : nullptr;
    bool written = f && std::fwrite(&file, sizeof file, 1, f) &&
                   std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f) &&
                   std::fwrite(bits, row, h, f) == static_cast<size_t>(h);
    written = f && std::fclose(f) == 0 && written;
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}
bool OpenClipboardSoon() {
    for (int attempt = 0; attempt < 1000000; ++attempt, SwitchToThread())
        if (OpenClipboard(nullptr)) return true;
    return false;
}
std::string ClipboardText() {
    if (!OpenClipboardSoon()) return "<locked>";
    HANDLE data = GetClipboardData(CF_TEXT);
    const std::string text = data ? static_cast<const char*>(GlobalLock(data)) : "<none>";
    if (data) GlobalUnlock(data);
    CloseClipboard();
    return text;
}
bool PutClipboardText(const std::string& text) {  // the bytes, and as Unicode text (from UTF-8) as spreadsheets put it
    if (!OpenClipboardSoon()) return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    HGLOBAL wide = GlobalAlloc(GMEM_MOVEABLE, n * sizeof(wchar_t));
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, static_cast<wchar_t*>(GlobalLock(wide)), n);
    GlobalUnlock(wide);
    SetClipboardData(CF_UNICODETEXT, wide);
    CloseClipboard();
    if (OpenClipboardSoon()) CloseClipboard();  // the program reads it next: let the bridge look first
    return true;
}
ScratchFolder::ScratchFolder() {
    char temp[MAX_PATH], name[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    GetTempFileNameA(temp, "tit", 0, name);  // a name nothing has, even after a run that was killed
    DeleteFileA(name);
    CreateDirectoryA((dir_ = name).c_str(), nullptr);
}
ScratchFolder::~ScratchFolder() {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(path("*").c_str(), &found);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found))
        DeleteFileA(path(found.cFileName).c_str());
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    RemoveDirectoryA(dir_.c_str());
}
ProgramCopy::ProgramCopy() {
    for (const char* file : {"titrion3.exe", "vexplot3.dll"})
        copied_ = CopyFileA((ExeDir() + "\\" + file).c_str(), path(file).c_str(), FALSE) && copied_;
}
Program::~Program() {
    if (pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 99);
    if (pi_.hProcess) CloseHandle(pi_.hProcess), CloseHandle(pi_.hThread);
}
bool Program::Start() {
    std::string command = "\"" + exe_ + "\"" + (arguments_.empty() ? "" : " " + arguments_);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    char cwd[MAX_PATH];
    GetTempPathA(sizeof cwd, cwd);
    if (!CreateProcessA(exe_.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, cwd, &si, &pi_)) return false;
    WaitForInputIdle(pi_.hProcess, 60000);
    return (main_ = WaitDialog("Titrion - ")) != nullptr;
}
void Program::Drop(const std::string& path) const {
    wchar_t name[MAX_PATH] = L"";
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, name, MAX_PATH);
    // The shell hands the program a block of its own memory: fixed global memory, whose handle
    // is its address.
    std::string block(sizeof(DROPFILES) + (length + 1) * sizeof(wchar_t), '\0');
    DROPFILES files = {};
    files.pFiles = sizeof(DROPFILES);
    files.fWide = TRUE;
    std::memcpy(&block[0], &files, sizeof files);
    std::memcpy(&block[sizeof files], name, length * sizeof(wchar_t));
    void* drop = VirtualAllocEx(pi_.hProcess, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (drop && WriteProcessMemory(pi_.hProcess, drop, block.data(), block.size(), nullptr))
        PostMessageA(main_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}
bool Program::Sync() const {
    DWORD_PTR result;
    return main_ && SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) != 0;
}
bool Program::Settle() const {
    PostMessageA(main_, WM_COMMAND, IDM_ABOUT, 0);  // handled after whatever was posted before
    HWND about = WaitDialog("O aplikaci");
    if (about) Press(about, IDOK);
    return about && WaitGone(about) && Sync();
}
HWND Program::Dialog(const std::string& caption) const {
    Search search = {&caption, main_, 0, "#32770", nullptr};
    EnumThreadWindows(pi_.dwThreadId, Find, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
HWND Program::WaitDialog(const std::string& caption) const {
    for (int round = 0; round < MAX_ROUNDS && WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0; ++round) {
        if (HWND dlg = Dialog(caption)) return dlg;
        // Before the main window exists there is nothing to send to: wait for input idle.
        if (main_ ? !Sync() : WaitForInputIdle(pi_.hProcess, 1000) == WAIT_FAILED) break;
    }
    return nullptr;
}
bool Program::WaitGone(HWND wnd) const {
    for (int round = 0; round < MAX_ROUNDS && IsWindow(wnd) && Sync(); ++round) {
    }
    return !IsWindow(wnd);
}
HWND Program::WaitGraph() const {
    const std::string any;
    Search search = {&any, nullptr, 0, "VexGraphV2WClass", nullptr};
    for (int round = 0; round < MAX_ROUNDS && !search.found && Sync(); ++round)
        EnumThreadWindows(pi_.dwThreadId, Find, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
void Program::Press(HWND dlg, int button) {
    SendNotifyMessageA(dlg, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), LPARAM(GetDlgItem(dlg, button)));
}
bool Program::ChooseFile(const char* caption, const std::string& path) const {
    HWND picker = WaitDialog(caption), edit = picker ? NameField(picker) : nullptr;
    if (edit) SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str())), Press(picker, IDOK);
    return edit && WaitGone(picker) && Sync();
}
DWORD Program::WaitExit() const {
    DWORD code = static_cast<DWORD>(-2);
    if (WaitForSingleObject(pi_.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}
}  // namespace driver
