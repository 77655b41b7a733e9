#include "tests/support/testui.h"
#include <commctrl.h>
#include <algorithm>
#include <cstring>
namespace testui {
namespace {
thread_local ModalScript* current = nullptr;
std::string ClassOf(HWND wnd) {
    char name[256] = "";
    return GetClassNameA(wnd, name, sizeof name), name;
}
// Depth first, as EnumChildWindows, but a direct child wins.
HWND Item(HWND parent, int id) {
    HWND found = GetDlgItem(parent, id);
    for (HWND child = GetWindow(parent, GW_CHILD); child && !found; child = GetWindow(child, GW_HWNDNEXT))
        found = Item(child, id);
    return found;
}
Seen Describe(HWND dlg) {
    Seen s{dlg, Text(dlg), {}, 0};
    // clang-format off
    const std::pair<LPCSTR, UINT> icons[] = {
        {IDI_HAND, MB_ICONERROR}, {IDI_QUESTION, MB_ICONQUESTION}, {IDI_EXCLAMATION, MB_ICONWARNING}, {IDI_ASTERISK, MB_ICONINFORMATION}};
    // clang-format on
    for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != WC_STATICA) continue;
        if (!Text(child).empty()) s.text += (s.text.empty() ? "" : "\n") + Text(child);
        auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        for (const auto& known : icons)
            s.icon = icon && icon == LoadIconA(nullptr, known.first) ? known.second : s.icon;
    }
    return s;
}
BOOL CALLBACK Remember(HWND wnd, LPARAM set) { return reinterpret_cast<std::set<HWND>*>(set)->insert(wnd), TRUE; }
void WriteSlot(void** slot, void* value) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof slot, old, &old);
}
BOOL(WINAPI* real_beep)(UINT) = nullptr;
int beeps = 0, exclamation_beeps = 0;
BOOL WINAPI CountingMessageBeep(UINT type) {
    return ++beeps, exclamation_beeps += type == MB_ICONEXCLAMATION, real_beep ? real_beep(type) : TRUE;
}
}  // namespace
LRESULT CALLBACK ModalScript::Hook(int code, WPARAM wparam, LPARAM lparam) {
    ModalScript* s = current;
    HWND wnd = reinterpret_cast<HWND>(wparam), owner = nullptr;
    int queue = -1;
    if (s && code == HCBT_ACTIVATE && !s->handled_.count(wnd) && ClassOf(wnd) == s->class_ &&
        (!(owner = GetWindow(wnd, GW_OWNER)) || !IsWindowEnabled(owner)))
        s->handled_.insert(wnd), s->seen_.push_back(Describe(wnd)), queue = 0;
    else if (s && code == HCBT_CREATEWND && ClassOf(wnd) == "#32768")
        ++s->menus_, queue = 1;
    else if (s && code == HCBT_DESTROYWND)
        for (auto& q : s->waiting_) s->handled_.erase(wnd), q.erase(std::remove(q.begin(), q.end(), wnd), q.end());
    if (queue >= 0) s->waiting_[queue].push_back(wnd);
    if (queue >= 0 && !s->timer_) s->timer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Answer);
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
// Menus first; an answer may open nested UI, which a new timer answers.
void CALLBACK ModalScript::Answer(HWND, UINT, UINT_PTR, DWORD) {
    if (current && current->timer_) KillTimer(nullptr, current->timer_), current->timer_ = 0;
    for (int menu : {1, 0}) {
        for (ModalScript* s; (s = current) && !s->waiting_[menu].empty();) {
            HWND wnd = s->waiting_[menu].front();
            s->waiting_[menu].pop_front();
            Action action =
                IsWindow(wnd) && !s->answers_[menu].empty() ? std::move(s->answers_[menu].front()) : nullptr;
            if (action)
                s->answers_[menu].pop_front(), action(wnd);
            else if (IsWindow(wnd) && menu)
                EndMenu();
            else if (IsWindow(wnd) && (++s->unexpected_, Press(wnd, IDCANCEL), IsWindow(wnd)))
                EndDialog(wnd, IDCANCEL);
        }
    }
}
ModalScript::ModalScript(const char* window_class) : class_(window_class), outer_(current) {
    EnumThreadWindows(GetCurrentThreadId(), Remember, reinterpret_cast<LPARAM>(&handled_));
    current = this, hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}
ModalScript::~ModalScript() {
    hook_ &&UnhookWindowsHookEx(hook_), timer_ &&KillTimer(nullptr, timer_), current = outer_;
}
void Press(HWND dlg, int id) { SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dlg, id))); }
void SetText(HWND dlg, int control_id, const std::string& text) {
    HWND ctl = Item(dlg, control_id);
    const std::string cls = ctl ? ClassOf(ctl) : "";
    if (cls == WC_COMBOBOXEXA) SetWindowTextA(HWND(SendMessageA(ctl, CBEM_GETEDITCONTROL, 0, 0)), text.c_str());
    if (cls == WC_COMBOBOXA) SetWindowTextA(FindWindowExA(ctl, nullptr, WC_EDITA, nullptr), text.c_str());
    if (ctl) SetWindowTextA(ctl, text.c_str());
}
std::string Text(HWND wnd) {
    std::string s(GetWindowTextLengthA(wnd) + 1, '\0');
    return s.resize(std::max(0, GetWindowTextA(wnd, &s[0], static_cast<int>(s.size())))), s;
}
std::string ItemText(HWND dlg, int control_id) { return Item(dlg, control_id) ? Text(Item(dlg, control_id)) : ""; }
// The menu's own loop reads keyboard input from the thread's queue.
void ChooseMenuItem(HWND menu, char mnemonic) { PostMessageA(menu, WM_CHAR, static_cast<unsigned char>(mnemonic), 0); }
void Pump() {
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) TranslateMessage(&msg), DispatchMessageA(&msg);
}
ImportHook::ImportHook(const char* dll, const char* function, void* replacement,
                       std::initializer_list<const char*> modules) {
    HMODULE lib = GetModuleHandleA(dll) ? GetModuleHandleA(dll) : LoadLibraryA(dll);
    original_ = lib ? reinterpret_cast<void*>(GetProcAddress(lib, function)) : nullptr;
    std::vector<HMODULE> targets{GetModuleHandleA(nullptr)};
    for (const char* m : modules) targets.push_back(GetModuleHandleA(m));
    for (HMODULE module : targets) {
        auto* base = reinterpret_cast<BYTE*>(module);
        auto* nt = module
                       ? reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew)
                       : nullptr;
        const DWORD imports = nt ? nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress : 0;
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); imports && d->Name; ++d) {
            auto* name =
                d->OriginalFirstThunk ? reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk) : nullptr;
            for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); slot->u1.Function;
                 ++slot, name && ++name) {
                auto* address = reinterpret_cast<void**>(&slot->u1.Function);
                const bool by_name =
                    name && !IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) &&
                    !std::strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)->Name,
                                 function);
                if (!_stricmp(reinterpret_cast<char*>(base + d->Name), dll) &&
                    (by_name || (original_ && *address == original_)))
                    slots_.emplace_back(address, *address), WriteSlot(address, replacement);
            }
        }
    }
}
ImportHook::~ImportHook() {
    for (const auto& slot : slots_) WriteSlot(slot.first, slot.second);
}
BeepCounter::BeepCounter(std::initializer_list<const char*> modules)
    : ImportHook("user32.dll", "MessageBeep", reinterpret_cast<void*>(&CountingMessageBeep), modules) {
    real_beep = reinterpret_cast<BOOL(WINAPI*)(UINT)>(original()), beeps = exclamation_beeps = 0;
}
int BeepCounter::exclamations() const { return exclamation_beeps; }
int BeepCounter::total() const { return beeps; }
}  // namespace testui
