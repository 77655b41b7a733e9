// One layer for the user interface tests: a table of steps (a command, keys, the answers to its
// dialogs) and the state each leaves, played in the test process (tests/app) and against the
// real program (e2e).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "tests/e2e/driver.h"
namespace scenario {
// Keys: a virtual key, a typed character, or a key with Alt or Ctrl (in the test process only).
constexpr UINT CH(char c) { return 0x10000u | static_cast<unsigned char>(c); }
constexpr UINT ALT(UINT vk) { return 0x40000u | vk; }
constexpr UINT CTRL(UINT vk) { return 0x80000u | vk; }
using Fields = std::vector<std::pair<int, std::string>>;  // control id, text; a check box "0"/"1", a list the item's index
struct Answer {
    const char* caption;  // the dialog's caption starts so
    int button;           // pressed last
    Fields fields = {};   // typed first (FILE_NAME_FIELD: the picker's name)
    const char* text = nullptr;  // its static texts (a message), when checked
    Fields shows = {};    // what its controls show before
    int focus = 0;        // the control that has the focus, when checked
};
// -2, -1 and nullptr: not checked.
struct Step {
    UINT command;  // sent to the main window, or 0
    std::vector<UINT> keys = {};  // then these, to the measurement list
    std::vector<Answer> answers = {};
    int rows = -1, selected = -2, results = -1;  // rows and selected row of the lists
    // The enabled commands among kCommands, the clipboard, the title after "Titrion - ", and a
    // text put on the clipboard before the action; whether the program ends.
    const char *enabled = nullptr, *clipboard = nullptr, *title = nullptr, *paste = nullptr;
    bool ends = false;
};
const std::pair<char, UINT> kCommands[] = {{'E', IDM_EDIT}, {'D', IDM_DELETE}, {'C', IDM_COPY}, {'X', IDM_CUT}, {'G', IDM_GRAPH},
                                           {'S', IDM_SAVE}, {'H', IDM_EXPORTHTML}, {'A', IDM_DELETEALL}, {'T', IDM_DETAILS}};
inline std::string Shown(HWND c) { return driver::ClassOf(c) == "Button" ? std::to_string(SendMessageA(c, BM_GETCHECK, 0, 0)) : driver::Text(c); }
// Answers one dialog: checks it, fills its fields, presses the button.
inline void Reply(HWND dlg, const Answer& a) {
    EXPECT_EQ(driver::Text(dlg).rfind(a.caption, 0), 0u) << driver::Text(dlg) << " for " << a.caption;
    if (a.text) { EXPECT_EQ(driver::DialogText(dlg), a.text); }
    for (const auto& [id, text] : a.shows) { EXPECT_EQ(Shown(GetDlgItem(dlg, id)), text) << id; }
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    if (a.focus && GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gui)) { EXPECT_EQ(GetDlgCtrlID(gui.hwndFocus), a.focus); }
    for (const auto& [id, text] : a.fields) {
        HWND c = id == driver::FILE_NAME_FIELD ? driver::NameField(dlg) : GetDlgItem(dlg, id);
        if (driver::ClassOf(c) == "Button") SendMessageA(c, BM_SETCHECK, text == "1" ? BST_CHECKED : BST_UNCHECKED, 0);
        else if (driver::ClassOf(c) == "ComboBox") SendMessageA(c, CB_SETCURSEL, std::stoi(text), 0), SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(c));
        else SendMessageA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    driver::Program::Press(dlg, a.button);
}
// Where a table plays: runs a step's action and answers, and tells the state of a command
// (-1 where it cannot be seen).
struct Ui {
    virtual HWND main() const = 0;
    virtual void Act(const Step& step) = 0;
    virtual int Enabled(UINT id) const = 0;
};
inline void Play(Ui& ui, const std::vector<Step>& steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i + 1));
        const Step& s = steps[i];
        if (s.paste) { ASSERT_TRUE(driver::PutClipboardText(s.paste)); }
        ui.Act(s);
        auto ask = [&](int id, UINT msg, WPARAM w, LPARAM l) { return int(SendDlgItemMessageA(ui.main(), id, msg, w, l)); };
        if (s.ends) continue;
        if (s.rows >= 0) { EXPECT_EQ(ask(IDC_LIST, LVM_GETITEMCOUNT, 0, 0), s.rows); }
        if (s.results >= 0) { EXPECT_EQ(ask(IDC_RESULTS, LVM_GETITEMCOUNT, 0, 0), s.results); }
        if (s.selected >= -1) { EXPECT_EQ(ask(IDC_LIST, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED), s.selected); }
        if (s.clipboard) { EXPECT_EQ(driver::ClipboardText(), s.clipboard); }
        if (s.title) { EXPECT_EQ(driver::Text(ui.main()), std::string("Titrion - ") + s.title); }
        for (auto [letter, id] : kCommands) {
            const int state = s.enabled ? ui.Enabled(id) : -1;
            if (state >= 0) { EXPECT_EQ(state, std::strchr(s.enabled, letter) != nullptr) << letter; }
        }
    }
}
// Add, edit, copy, paste, delete, save and close, starting from a new empty document.
inline std::vector<Step> Editing(const std::string& file) {
    auto point = [](const char* caption, const char* vb, const char* e) { return Answer{caption, IDOK, {{IDC_VB, vb}, {IDC_E, e}}}; };
    const Answer ask = {"Potvrďte", IDNO, {}, "Mají se změny provedené v dokumentu titrace.tid uložit?"};
    return {{0, {CH('p')}, {point("Přidat...", "2", "-20")}, 1, 0, 0, "EDCXSHA"},
            {IDM_ADD, {}, {point("Přidat...", "1,5", "-120")}, 3, 0},
            {IDM_ADD, {}, {point("Přidat...", "3.25", "80")}, 5, 4, 0, "EDCXGSHA"},
            {0, {VK_HOME, VK_DOWN, VK_RETURN}, {point("Upravit...", "2", "-25,5")}, 5, 2},
            {IDM_COPY, {}, {}, -1, 2, -1, nullptr, "2.000000\t-25.500000"},
            // Vb 2 again: No keeps the dialog, Storno keeps the point.
            {IDM_ADD, {}, {point("Přidat...", "2,000", "7"), {"Dotaz", IDNO, {}, "Tato hodnota Vb už je zadána. Přepsat ji?"},
                           {"Přidat...", IDCANCEL}}, 5, 2},
            {IDM_PASTE, {}, {}, 7, 6, -1, nullptr, nullptr, nullptr, "4\t150\r\n"},
            {IDM_PASTE, {}, {{"Dotaz", IDYES}}, 7, 2, -1, nullptr, nullptr, nullptr, "2 -30"},  // replaces Vb 2
            {0, {VK_DOWN, VK_DELETE}, {}, 5, 4, 0, "EDCXGSHA"},  // the point that followed is selected
            {IDM_SAVE, {}, {{"Uložit soubor", IDOK, {{driver::FILE_NAME_FIELD, file}}}}, 5, 4, -1, nullptr, nullptr, "titrace.tid"},
            {IDM_ADD, {}, {point("Přidat...", "5", "160")}, 7, 6},
            {IDM_EXIT, {}, {ask}, -1, -2, -1, nullptr, nullptr, nullptr, nullptr, true}};
}
constexpr char kEdited[] = "# Titrionika 2.0\r\n\r\n1.5\t-120\r\n2\t-30\r\n4\t150\r\n";  // what Editing saves
}  // namespace scenario
