// Answers modal UI on the test's own thread (ModalScript) from a timer inside the dialog's own modal loop; a
// dialog with no answer left is cancelled and counted by unexpected(), a popup menu with none is closed. Windows
// that exist when the script is made are never answered; a later one is modal when its owner is disabled or none.
#pragma once
#include <windows.h>
#include <deque>
#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>
namespace testui {
void Press(HWND dlg, int button_id);                              // as a click on the button
void SetText(HWND dlg, int control_id, const std::string& text);  // also into a combo's edit
std::string Text(HWND wnd);
std::string ItemText(HWND dlg, int control_id);  // also of a control nested deeper
void ChooseMenuItem(HWND menu, char mnemonic);
void Pump();  // delivers the messages waiting for this thread
// A dialog as first activated: its static texts joined by '\n', its MB_ICON... or 0.
struct Seen {
    HWND hwnd = nullptr;
    std::string caption, text;
    UINT icon = 0;
};
using Action = std::function<void(HWND dlg)>;
class ModalScript {
public:
    explicit ModalScript(const char* window_class = "#32770");
    ~ModalScript(), ModalScript(const ModalScript&) = delete;
    ModalScript& call(Action a) { return answers_[0].push_back(std::move(a)), *this; }  // for the next dialog
    ModalScript& menu(Action a) { return answers_[1].push_back(std::move(a)), *this; }  // for the next popup menu
    ModalScript& press(int id) {
        return call([=](HWND dlg) { Press(dlg, id); });
    }
    ModalScript& type(int control, const std::string& text, int id) {
        return call([=](HWND dlg) { SetText(dlg, control, text), Press(dlg, id); });
    }
    const std::vector<Seen>& seen() const { return seen_; }
    int unexpected() const { return unexpected_; }  // dialogs cancelled for want of an answer
    int menus() const { return menus_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam);
    static void CALLBACK Answer(HWND, UINT, UINT_PTR, DWORD);
    std::string class_;
    ModalScript* outer_;  // the script this one hides until it ends
    HHOOK hook_ = nullptr;
    UINT_PTR timer_ = 0;
    std::deque<Action> answers_[2];  // [0] dialogs, [1] popup menus
    std::deque<HWND> waiting_[2];    // shown, not yet answered
    std::set<HWND> handled_;         // answered or left alone
    std::vector<Seen> seen_;
    int unexpected_ = 0, menus_ = 0;
};
// Redirects the import of `function` from `dll` in the test executable and the named modules until destroyed.
class ImportHook {
public:
    ImportHook(const char* dll, const char* function, void* replacement,
               std::initializer_list<const char*> modules = {});
    ~ImportHook(), ImportHook(const ImportHook&) = delete;
    void* original() const { return original_; }

private:
    void* original_ = nullptr;
    std::vector<std::pair<void**, void*>> slots_;
};
// Counts the MessageBeep calls of the test executable and the named modules; one at a time.
struct BeepCounter : ImportHook {
    explicit BeepCounter(std::initializer_list<const char*> modules = {});
    int exclamations() const, total() const;  // MB_ICONEXCLAMATION, any
};
}  // namespace testui
