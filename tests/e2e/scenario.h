// One layer for the user interface tests: steps that read as sentences (a command or keys, the
// answers to the dialogs they open, the state they leave), played in the test process (tests/app)
// and against the real program (e2e):
//   Command(IDM_ADD).Answer("Přidat...", {{IDC_VB, "1,5"}, {IDC_E, "-120"}}).Rows(3).Selected(0)
//   Press(VK_ESCAPE).Answer(No("Potvrďte").Says("...")).ExpectEnds()
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>
#include "tests/e2e/driver.h"
namespace scenario {
// Keys: a virtual key, a typed character, or a key with Alt or Ctrl (in the test process only).
constexpr UINT CH(char c) { return 0x10000u | static_cast<unsigned char>(c); }
constexpr UINT ALT(UINT vk) { return 0x40000u | vk; }
constexpr UINT CTRL(UINT vk) { return 0x80000u | vk; }
// Control id and text; a check box "0"/"1", a combo box the item's index.
using Fields = std::vector<std::pair<int, std::string>>;
// The answer to one dialog: checked, filled, then a button pressed.
struct Reply {
    std::string caption;  // the dialog's caption starts so
    int button = IDOK;
    Fields typed = {};                     // typed first (driver::FILE_NAME_FIELD: the picker's name)
    std::optional<std::string> text = {};  // its static texts (a message)
    Fields shown = {};                     // what its controls show before
    int focus = 0;                         // the control that has the focus
    Reply Type(Fields f) const { return Set(&Reply::typed, std::move(f)); }
    Reply Says(std::string t) const { return Set(&Reply::text, std::optional(std::move(t))); }
    Reply Shows(Fields f) const { return Set(&Reply::shown, std::move(f)); }
    Reply Focused(int id) const { return Set(&Reply::focus, id); }
    template <class T>
    Reply Set(T Reply::*field, T value) const {
        Reply r = *this;
        r.*field = std::move(value);
        return r;
    }
};
inline Reply Button(std::string caption, int id) { return {std::move(caption), id}; }
inline Reply Ok(std::string caption, Fields typed = {}) {
    return Button(std::move(caption), IDOK).Type(std::move(typed));
}
inline Reply Cancel(std::string caption) { return Button(std::move(caption), IDCANCEL); }
inline Reply Yes(std::string caption) { return Button(std::move(caption), IDYES); }
inline Reply No(std::string caption) { return Button(std::move(caption), IDNO); }
inline Reply Message(std::string text) { return Ok("").Says(std::move(text)); }  // a message box, closed with OK
inline Reply File(std::string picker, const std::string& path) {
    return Ok(std::move(picker), {{driver::FILE_NAME_FIELD, path}});
}
// The commands whose enabling a step can check, named for the failure messages.
const std::pair<UINT, const char*> kCommandNames[] = {{IDM_EDIT, "Upravit"},
                                                      {IDM_DELETE, "Odstranit"},
                                                      {IDM_COPY, "Kopírovat"},
                                                      {IDM_CUT, "Vyjmout"},
                                                      {IDM_GRAPH, "Graf"},
                                                      {IDM_SAVE, "Uložit"},
                                                      {IDM_EXPORTHTML, "Export do HTML"},
                                                      {IDM_DELETEALL, "Odstranit vše"},
                                                      {IDM_DETAILS, "Detaily"}};
inline std::string CommandName(UINT id) {
    for (auto [known, name] : kCommandNames)
        if (known == id) return name;
    return "command " + std::to_string(id);
}
// One action and the state it leaves; what a step does not name is not checked.
struct Step {
    UINT command = 0;             // sent to the main window first
    std::vector<UINT> keys = {};  // then these, to the measurement list
    std::vector<Reply> answers = {};
    std::optional<std::string> paste = {};                      // put on the clipboard before the action
    bool ends = false;                                          // the program ends
    std::optional<int> rows = {}, selected = {}, results = {};  // rows and selected row (-1: none) of the lists
    std::optional<std::string> clipboard = {}, title = {};      // the title after "Titrion - "
    std::vector<std::pair<UINT, bool>> commands = {};           // enabled or not
    Step Answer(std::string caption, Fields typed) const { return Answer(Ok(std::move(caption), std::move(typed))); }
    template <class... R, class = std::enable_if_t<(std::is_same_v<R, Reply> && ...)>>
    Step Answer(R... replies) const {
        Step s = *this;
        (s.answers.push_back(replies), ...);
        return s;
    }
    Step PutOnClipboard(std::string text) const { return Set(&Step::paste, std::optional(std::move(text))); }
    Step ExpectEnds() const { return Set(&Step::ends, true); }
    Step Rows(int n) const { return Set(&Step::rows, std::optional(n)); }
    Step Selected(int row) const { return Set(&Step::selected, std::optional(row)); }
    Step NoSelection() const { return Selected(-1); }
    Step Results(int n) const { return Set(&Step::results, std::optional(n)); }
    Step Clipboard(std::string text) const { return Set(&Step::clipboard, std::optional(std::move(text))); }
    Step Title(const std::string& text) const { return Set(&Step::title, std::optional("Titrion - " + text)); }
    Step Enabled(const std::vector<UINT>& ids) const { return Check(ids, true); }
    Step Disabled(const std::vector<UINT>& ids) const { return Check(ids, false); }
    Step Check(const std::vector<UINT>& ids, bool enabled) const {
        Step s = *this;
        for (UINT id : ids) s.commands.emplace_back(id, enabled);
        return s;
    }
    template <class T>
    Step Set(T Step::*field, T value) const {
        Step s = *this;
        s.*field = std::move(value);
        return s;
    }
};
inline Step Command(UINT id) { return Step{id}; }
template <class... K>
Step Press(K... keys) {
    return Step{0, {UINT(keys)...}};
}
inline Step Paste(std::string text) { return Command(IDM_PASTE).PutOnClipboard(std::move(text)); }
inline Step Look() { return Step{}; }  // no action: only the checks
inline std::string Shown(HWND c) {
    return driver::ClassOf(c) == "Button" ? std::to_string(SendMessageA(c, BM_GETCHECK, 0, 0)) : driver::Text(c);
}
// Answers one dialog: checks it, fills its fields, presses the button.
inline void Respond(HWND dlg, const Reply& a) {
    EXPECT_EQ(driver::Text(dlg).rfind(a.caption, 0), 0u) << driver::Text(dlg) << " for " << a.caption;
    if (a.text) {
        EXPECT_EQ(driver::DialogText(dlg), *a.text);
    }
    for (const auto& [id, text] : a.shown) {
        EXPECT_EQ(Shown(GetDlgItem(dlg, id)), text) << a.caption << ", control " << id;
    }
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    if (a.focus && GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gui)) {
        EXPECT_EQ(GetDlgCtrlID(gui.hwndFocus), a.focus) << a.caption;
    }
    for (const auto& [id, text] : a.typed) {
        HWND c = id == driver::FILE_NAME_FIELD ? driver::NameField(dlg) : GetDlgItem(dlg, id);
        if (driver::ClassOf(c) == "Button") {
            SendMessageA(c, BM_SETCHECK, text == "1" ? BST_CHECKED : BST_UNCHECKED, 0);
        } else if (driver::ClassOf(c) == "ComboBox") {
            SendMessageA(c, CB_SETCURSEL, std::stoi(text), 0);
            SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(c));
        } else {
            SendMessageA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
    driver::Program::Press(dlg, a.button);
}
// Where the steps play: runs a step's action and answers, and tells whether a command is
// enabled, or nothing where that player cannot see it.
struct Ui {
    virtual HWND main() const = 0;
    virtual void Act(const Step& step) = 0;
    virtual std::optional<bool> Enabled(UINT id) const = 0;
};
// What `actual` gives, checked when a value is expected.
template <class T, class F>
void ExpectIf(const char* what, const std::optional<T>& expected, F actual) {
    if (expected) {
        EXPECT_EQ(actual(), *expected) << what;
    }
}
inline void Play(Ui& ui, const std::vector<Step>& steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i + 1));
        const Step& s = steps[i];
        if (s.paste) {
            ASSERT_TRUE(driver::PutClipboardText(*s.paste));
        }
        ui.Act(s);
        if (s.ends) continue;
        auto ask = [&](int id, UINT msg, WPARAM w, LPARAM l) {
            return int(SendDlgItemMessageA(ui.main(), id, msg, w, l));
        };
        ExpectIf("rows", s.rows, [&] { return ask(IDC_LIST, LVM_GETITEMCOUNT, 0, 0); });
        ExpectIf("results", s.results, [&] { return ask(IDC_RESULTS, LVM_GETITEMCOUNT, 0, 0); });
        ExpectIf("selected row", s.selected, [&] { return ask(IDC_LIST, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED); });
        ExpectIf("clipboard", s.clipboard, [] { return driver::ClipboardText(); });
        ExpectIf("title", s.title, [&] { return driver::Text(ui.main()); });
        for (auto [id, enabled] : s.commands) {
            if (const std::optional<bool> state = ui.Enabled(id)) {
                EXPECT_EQ(*state, enabled) << CommandName(id);
            }
        }
    }
}
// Add, edit, copy, paste, delete, save and close, starting from a new empty document.
inline std::vector<Step> Editing(const std::string& file) {
    auto point = [](const char* vb, const char* e) { return Fields{{IDC_VB, vb}, {IDC_E, e}}; };
    return {Press(CH('p'))
                .Answer("Přidat...", point("2", "-20"))
                .Rows(1)
                .Selected(0)
                .Results(0)
                .Enabled({IDM_EDIT, IDM_DELETE, IDM_COPY, IDM_CUT, IDM_SAVE, IDM_EXPORTHTML, IDM_DELETEALL})
                .Disabled({IDM_GRAPH, IDM_DETAILS}),
            Command(IDM_ADD).Answer("Přidat...", point("1,5", "-120")).Rows(3).Selected(0),
            Command(IDM_ADD)
                .Answer("Přidat...", point("3.25", "80"))
                .Rows(5)
                .Selected(4)
                .Results(0)
                .Enabled({IDM_EDIT, IDM_DELETE, IDM_COPY, IDM_CUT, IDM_GRAPH, IDM_SAVE, IDM_EXPORTHTML, IDM_DELETEALL})
                .Disabled({IDM_DETAILS}),
            Press(VK_HOME, VK_DOWN, VK_RETURN).Answer("Upravit...", point("2", "-25,5")).Rows(5).Selected(2),
            Command(IDM_COPY).Selected(2).Clipboard("2.000000\t-25.500000"),
            // Vb 2 again: No keeps the dialog, Storno keeps the point.
            Command(IDM_ADD)
                .Answer(Ok("Přidat...", point("2,000", "7")),
                        No("Dotaz").Says("Tato hodnota Vb už je zadána. Přepsat ji?"), Cancel("Přidat..."))
                .Rows(5)
                .Selected(2),
            Paste("4\t150\r\n").Rows(7).Selected(6),
            Paste("2 -30").Answer(Yes("Dotaz")).Rows(7).Selected(2),  // replaces Vb 2, after the question
            Press(VK_DOWN, VK_DELETE)                                 // the point that followed is selected
                .Rows(5)
                .Selected(4)
                .Results(0)
                .Enabled({IDM_EDIT, IDM_DELETE, IDM_COPY, IDM_CUT, IDM_GRAPH, IDM_SAVE, IDM_EXPORTHTML, IDM_DELETEALL})
                .Disabled({IDM_DETAILS}),
            Command(IDM_SAVE).Answer(File("Uložit soubor", file)).Rows(5).Selected(4).Title("titrace.tid"),
            Command(IDM_ADD).Answer("Přidat...", point("5", "160")).Rows(7).Selected(6),
            Command(IDM_EXIT)
                .Answer(No("Potvrďte").Says("Mají se změny provedené v dokumentu titrace.tid uložit?"))
                .ExpectEnds()};
}
constexpr char kEdited[] = "# Titrionika 2.0\r\n\r\n1.5\t-120\r\n2\t-30\r\n4\t150\r\n";  // what Editing saves
}  // namespace scenario
