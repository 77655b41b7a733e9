// Test helpers for answering modal UI on the test's own thread and for counting beeps.
//
//   testui::ModalScript ui;                 // hooks this thread until destroyed
//   ui.press(IDYES);                        // answer for the 1st dialog that opens
//   ui.type(1148, "C:\\x\\a.tid", IDOK);    // answer for the 2nd
//   ui.call([](HWND dlg) { ... });          // arbitrary answer for the 3rd
//   CodeUnderTest();                        // opens them; returns when they are closed
//   EXPECT_EQ(ui.seen()[0].caption, "Dotaz");
//
// Popup menus are answered the same way with menu().
// Answers run from a thread timer inside the dialog's own modal loop, so the dialog is
// fully initialised when its answer runs. A dialog that opens with no answer left is
// cancelled (IDCANCEL, then EndDialog) and counted by unexpected(), so a test never hangs.
// Windows that exist when the script is made are never answered; a dialog opened later is
// taken as modal UI when its owner is disabled or it has no owner, so make the script after
// creating a modeless main window.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace testui {

// What was seen of one dialog or message box when it was first activated.
struct Seen {
    HWND hwnd = nullptr;
    std::string cls;      // window class, "#32770" for dialogs and message boxes
    std::string caption;  // window text
    std::string text;     // texts of its static controls, joined by '\n'
    UINT icon = 0;        // MB_ICONERROR, MB_ICONQUESTION, MB_ICONWARNING, MB_ICONINFORMATION, 0 = none
};

using Action = std::function<void(HWND dlg)>;

class ModalScript {
public:
    // Only dialog-class windows ("#32770") are answered unless a class name is given.
    explicit ModalScript(const char* window_class = "#32770");
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Queue the answer for the next dialog that opens, in order of opening.
    ModalScript& press(int button_id);
    ModalScript& type(int control_id, const std::string& text, int button_id);
    ModalScript& call(Action action);
    // Queue the answer for the next popup menu shown (TrackPopupMenu) on this thread; a
    // popup menu shown with no answer left is closed and still counted by menus().
    ModalScript& menu(Action action);

    const std::vector<Seen>& seen() const;
    size_t pending() const;     // answers not yet used
    int unexpected() const;     // dialogs that opened with no answer left
    int menus() const;          // popup menus shown

    struct Impl;

private:
    Impl* impl_;
};

// Helpers usable inside call() actions.
void Press(HWND dlg, int button_id);                     // as a click on the button
void SetText(HWND dlg, int control_id, const std::string& text);  // also into a combo's edit
std::string Text(HWND wnd);                              // window text (UTF-8 under the manifest)
std::string ItemText(HWND dlg, int control_id);
void ChooseMenuItem(HWND menu, char mnemonic);            // inside menu() actions
void CloseMenu();
Seen Describe(HWND dlg);

// Redirects the import of `function` from `dll` in the test executable and the named
// modules (for example "vexplot3.dll") to `replacement` until destroyed. The program's
// code is unchanged; only the slot its calls go through is. original() is the real function.
class ImportHook {
public:
    ImportHook(const char* dll, const char* function, void* replacement,
               std::initializer_list<const char*> modules = {});
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    void* original() const { return original_; }
    int patched() const { return static_cast<int>(slots_.size()); }  // 0: nothing redirected

private:
    struct Slot {
        void** address;
        void* original;
    };
    void* original_ = nullptr;
    std::vector<Slot> slots_;
};

// Counts MessageBeep calls made from the test executable and the named modules through an
// ImportHook whose wrapper counts and calls through. One counter at a time.
class BeepCounter {
public:
    explicit BeepCounter(std::initializer_list<const char*> modules = {});
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;

    int exclamations() const;  // MessageBeep(MB_ICONEXCLAMATION)
    int total() const;         // any MessageBeep
    void reset();
    int patched() const { return hook_.patched(); }

private:
    ImportHook hook_;
};

// Delivers posted and sent messages waiting for this thread, without waiting for new ones.
void Pump();

}  // namespace testui
