#include "tests/support/testui.h"

#include <commctrl.h>

#include <cstring>
#include <deque>
#include <set>

namespace testui {

struct ModalScript::Impl {
    std::string window_class;
    HHOOK hook = nullptr;
    Impl* outer = nullptr;
    std::deque<Action> answers;
    std::deque<Action> menu_answers;
    std::deque<HWND> menus_waiting;
    int menus = 0;
    std::deque<HWND> waiting;   // activated, answer not yet run
    std::set<HWND> handled;     // answered or ignored, until destroyed
    std::vector<Seen> seen;
    int unexpected = 0;
    UINT_PTR timer = 0;
};

namespace {

thread_local ModalScript::Impl* current = nullptr;

std::string ClassOf(HWND wnd) {
    char name[256] = "";
    GetClassNameA(wnd, name, sizeof name);
    return name;
}

// A dialog whose owner is disabled, or one with no owner, is taken as modal UI; a
// modeless window activated later is left alone.
bool LooksModal(HWND wnd) {
    HWND owner = GetWindow(wnd, GW_OWNER);
    return !owner || !IsWindowEnabled(owner);
}

struct Search {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND child, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    if (GetDlgCtrlID(child) != s->id) return TRUE;
    s->found = child;
    return FALSE;
}

// A control of the dialog, also one nested deeper (the name field of the file dialogs).
HWND Item(HWND dlg, int id) {
    Search search{id, GetDlgItem(dlg, id)};
    if (!search.found) EnumChildWindows(dlg, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK RememberWindow(HWND wnd, LPARAM param) {
    reinterpret_cast<ModalScript::Impl*>(param)->handled.insert(wnd);
    return TRUE;
}

UINT IconKind(HICON icon) {
    if (!icon) return 0;
    struct {
        LPCSTR id;
        UINT kind;
    } const known[] = {{IDI_HAND, MB_ICONERROR},
                       {IDI_QUESTION, MB_ICONQUESTION},
                       {IDI_EXCLAMATION, MB_ICONWARNING},
                       {IDI_ASTERISK, MB_ICONINFORMATION}};
    for (const auto& k : known)
        if (LoadIconA(nullptr, k.id) == icon) return k.kind;
    return 0;
}

void CALLBACK RunAnswers(HWND, UINT, UINT_PTR, DWORD);

void Schedule(ModalScript::Impl* impl) {
    if (!impl->timer) impl->timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, RunAnswers);
}

// Runs inside whichever message loop is current, normally the dialog's own. Menus first;
// an action may open nested UI, which is queued and answered by a new timer.
void CALLBACK RunAnswers(HWND, UINT, UINT_PTR, DWORD) {
    if (current && current->timer) {
        KillTimer(nullptr, current->timer);
        current->timer = 0;
    }
    for (bool menu : {true, false}) {
        while (ModalScript::Impl* impl = current) {
            std::deque<HWND>& waiting = menu ? impl->menus_waiting : impl->waiting;
            std::deque<Action>& answers = menu ? impl->menu_answers : impl->answers;
            if (waiting.empty()) break;
            HWND wnd = waiting.front();
            waiting.pop_front();
            if (!IsWindow(wnd)) continue;
            if (!answers.empty()) {
                Action action = std::move(answers.front());
                answers.pop_front();
                action(wnd);
            } else if (menu) {
                CloseMenu();
            } else {
                ++impl->unexpected;
                Press(wnd, IDCANCEL);
                if (IsWindow(wnd)) EndDialog(wnd, IDCANCEL);
            }
        }
    }
}

LRESULT CALLBACK CbtHook(int code, WPARAM wparam, LPARAM lparam) {
    ModalScript::Impl* impl = current;
    if (impl && code == HCBT_ACTIVATE) {
        HWND wnd = reinterpret_cast<HWND>(wparam);
        if (!impl->handled.count(wnd) && ClassOf(wnd) == impl->window_class && LooksModal(wnd)) {
            impl->handled.insert(wnd);
            impl->seen.push_back(Describe(wnd));
            impl->waiting.push_back(wnd);
            Schedule(impl);
        }
    } else if (impl && code == HCBT_CREATEWND) {
        HWND wnd = reinterpret_cast<HWND>(wparam);
        if (ClassOf(wnd) == "#32768") {
            ++impl->menus;
            impl->menus_waiting.push_back(wnd);
            Schedule(impl);
        }
    } else if (impl && code == HCBT_DESTROYWND) {
        HWND wnd = reinterpret_cast<HWND>(wparam);
        impl->handled.erase(wnd);
        for (auto* queue : {&impl->waiting, &impl->menus_waiting})
            for (auto it = queue->begin(); it != queue->end();)
                it = *it == wnd ? queue->erase(it) : it + 1;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

ModalScript::ModalScript(const char* window_class) : impl_(new Impl) {
    impl_->window_class = window_class;
    // Windows that already exist are not answered when they are activated again.
    EnumThreadWindows(GetCurrentThreadId(), RememberWindow, reinterpret_cast<LPARAM>(impl_));
    impl_->outer = current;
    current = impl_;
    impl_->hook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
}

ModalScript::~ModalScript() {
    if (impl_->hook) UnhookWindowsHookEx(impl_->hook);
    if (impl_->timer) KillTimer(nullptr, impl_->timer);
    current = impl_->outer;
    delete impl_;
}

ModalScript& ModalScript::press(int button_id) {
    impl_->answers.push_back([button_id](HWND dlg) { Press(dlg, button_id); });
    return *this;
}

ModalScript& ModalScript::type(int control_id, const std::string& text, int button_id) {
    impl_->answers.push_back([=](HWND dlg) {
        SetText(dlg, control_id, text);
        Press(dlg, button_id);
    });
    return *this;
}

ModalScript& ModalScript::call(Action action) {
    impl_->answers.push_back(std::move(action));
    return *this;
}

ModalScript& ModalScript::menu(Action action) {
    impl_->menu_answers.push_back(std::move(action));
    return *this;
}

const std::vector<Seen>& ModalScript::seen() const { return impl_->seen; }
size_t ModalScript::pending() const { return impl_->answers.size(); }
int ModalScript::unexpected() const { return impl_->unexpected; }
int ModalScript::menus() const { return impl_->menus; }

void Press(HWND dlg, int button_id) {
    HWND button = GetDlgItem(dlg, button_id);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void SetText(HWND dlg, int control_id, const std::string& text) {
    HWND ctl = Item(dlg, control_id);
    if (!ctl) return;
    std::string cls = ClassOf(ctl);
    HWND edit = nullptr;
    if (cls == WC_COMBOBOXEXA)
        edit = reinterpret_cast<HWND>(SendMessageA(ctl, CBEM_GETEDITCONTROL, 0, 0));
    else if (cls == WC_COMBOBOXA)
        edit = FindWindowExA(ctl, nullptr, WC_EDITA, nullptr);
    if (edit) SetWindowTextA(edit, text.c_str());
    SetWindowTextA(ctl, text.c_str());
}

void ChooseMenuItem(HWND menu, char mnemonic) {
    // The menu's own loop reads keyboard input from the thread's queue.
    PostMessageA(menu, WM_CHAR, static_cast<unsigned char>(mnemonic), 0);
}

void CloseMenu() { EndMenu(); }

std::string Text(HWND wnd) {
    int len = GetWindowTextLengthA(wnd);
    std::string s(static_cast<size_t>(len) + 1, '\0');
    len = GetWindowTextA(wnd, &s[0], len + 1);
    s.resize(static_cast<size_t>(len > 0 ? len : 0));
    return s;
}

std::string ItemText(HWND dlg, int control_id) {
    HWND ctl = Item(dlg, control_id);
    return ctl ? Text(ctl) : std::string();
}

Seen Describe(HWND dlg) {
    Seen s;
    s.hwnd = dlg;
    s.cls = ClassOf(dlg);
    s.caption = Text(dlg);
    for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != WC_STATICA) continue;
        if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            UINT kind = IconKind(reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)));
            if (kind) s.icon = kind;
            continue;
        }
        std::string t = Text(child);
        if (t.empty()) continue;
        if (!s.text.empty()) s.text += '\n';
        s.text += t;
    }
    return s;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// ---- import hooks ----

namespace {

// Calls `visit(slot, by_name)` for every import slot of `module` that comes from `dll`;
// `by_name` tells whether the slot imports `function` by that name.
template <typename Visit>
void ForEachImport(HMODULE module, const char* dll, const char* function, Visit visit) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        if (_stricmp(reinterpret_cast<char*>(base + d->Name), dll) != 0) continue;
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        auto* name = d->OriginalFirstThunk ? reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk)
                                           : nullptr;
        for (; slot->u1.Function; ++slot) {
            bool by_name = false;
            if (name) {
                if (!IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) {
                    auto* ibn = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
                    by_name = std::strcmp(reinterpret_cast<char*>(ibn->Name), function) == 0;
                }
                ++name;
            }
            visit(reinterpret_cast<void**>(&slot->u1.Function), by_name);
        }
    }
}

void WriteSlot(void** address, void* value) {
    DWORD old = 0;
    VirtualProtect(address, sizeof(void*), PAGE_READWRITE, &old);
    *address = value;
    VirtualProtect(address, sizeof(void*), old, &old);
}

}  // namespace

ImportHook::ImportHook(const char* dll, const char* function, void* replacement,
                       std::initializer_list<const char*> modules) {
    HMODULE lib = GetModuleHandleA(dll);
    if (!lib) lib = LoadLibraryA(dll);
    original_ = lib ? reinterpret_cast<void*>(GetProcAddress(lib, function)) : nullptr;
    std::vector<HMODULE> targets{GetModuleHandleA(nullptr)};
    for (const char* m : modules)
        if (HMODULE h = GetModuleHandleA(m)) targets.push_back(h);
    for (HMODULE module : targets) {
        ForEachImport(module, dll, function, [&](void** address, bool by_name) {
            if (by_name || (original_ && *address == original_)) {
                slots_.push_back({address, *address});
                WriteSlot(address, replacement);
            }
        });
    }
}

ImportHook::~ImportHook() {
    for (const Slot& s : slots_) WriteSlot(s.address, s.original);
}

// ---- beep counter ----

namespace {

using MessageBeepFn = BOOL(WINAPI*)(UINT);
MessageBeepFn real_beep = nullptr;
int beeps_total = 0;
int beeps_exclamation = 0;

BOOL WINAPI CountingMessageBeep(UINT type) {
    ++beeps_total;
    if (type == MB_ICONEXCLAMATION) ++beeps_exclamation;
    return real_beep ? real_beep(type) : TRUE;
}

}  // namespace

BeepCounter::BeepCounter(std::initializer_list<const char*> modules)
    : hook_("user32.dll", "MessageBeep", reinterpret_cast<void*>(&CountingMessageBeep), modules) {
    real_beep = reinterpret_cast<MessageBeepFn>(hook_.original());
    reset();
}

int BeepCounter::exclamations() const { return beeps_exclamation; }
int BeepCounter::total() const { return beeps_total; }

void BeepCounter::reset() {
    beeps_total = 0;
    beeps_exclamation = 0;
}

}  // namespace testui
