// A main window of the application inside the test process, with helpers that read the two
// lists, the menu and the toolbar the way a user sees them.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/Titrionika.h"
#include "tests/e2e/driver.h"

namespace apptest {

using Points = std::vector<std::pair<double, double>>;

// Keyboard input as the message loop fetches it, with the modifier keys held meanwhile.
struct Key {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    std::vector<UINT> held;
};

// Every test starts with a fresh main window holding an untitled, clean, empty document
// with the built-in display settings (decimal comma, Vb 3 and E 4 decimals).
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the document by these points (clean), as an open file would.
    void Load(const Points& points);
    // Posts keyboard input to `target` and runs it through the program's own message loop
    // step (accelerators, dialog keys, dispatch) until nothing is left or the quit message
    // comes; true when the quit message came.
    bool Keys(HWND target, const std::vector<Key>& keys);
    bool RunQueue();

    HACCEL accel_ = nullptr;
};

Key KeyDown(UINT vk, std::vector<UINT> held = {});  // WM_SYSKEYDOWN while Alt is held
Key Char(char ch);

// A mouse button pressed at `at` (client coordinates) and released: the button is held in the
// key state meanwhile, as real input has it, and its release waits in the queue, where the
// list's drag detection finds it. `down` is WM_LBUTTONDOWN, WM_LBUTTONDBLCLK or WM_RBUTTONDOWN.
void Click(HWND wnd, UINT down, POINT at);

int Rows(HWND list);
std::string Cell(HWND list, int row, int column);
int SelectedRow(HWND list);  // -1 for none
int FocusedRow(HWND list);
std::vector<std::string> Column(HWND list, int column);

bool MenuEnabled(HMENU menu, UINT id);    // in a pop-up or the menu bar, by command
bool MenuHas(HMENU menu, UINT id);
bool ButtonEnabled(UINT id);
Points Document();                        // arr_vb as (vb, e)
std::string Title();

using ScratchDir = driver::ScratchFolder;
using driver::ReadFile;

}  // namespace apptest
