// The main window inside the test process, playing the tables of tests/e2e/scenario.h.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>
#include "app/Titrionika.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenario.h"
namespace apptest {
using Points = std::vector<std::pair<double, double>>;
using ScratchDir = driver::ScratchFolder;
using driver::ReadFile;
struct Key {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    std::vector<UINT> held;
};                                                  // with these keys held
Key KeyDown(UINT vk, std::vector<UINT> held = {});  // WM_SYSKEYDOWN while Alt is held
// Every test starts with a fresh main window holding an untitled, clean, empty document
// with the built-in display settings (decimal comma, Vb 3 and E 4 decimals).
class AppTest : public ::testing::Test, public scenario::Ui {
protected:
    void SetUp() override;
    void TearDown() override;
    void Load(const Points& points);  // the document, clean, as an open file would leave it
    // Through the program's own message loop step; true when the quit message came.
    bool Keys(HWND target, const std::vector<Key>& keys);
    bool RunQueue();
    HWND main() const override { return main_window.dialog; }
    void Act(const scenario::Step& step) override;
    std::optional<bool> Enabled(UINT id) const override;
    HACCEL accel_ = nullptr;
};
void Click(HWND list, UINT down, int row);  // pressed and released as real input, in the row
int Rows(HWND list);
std::string Cell(HWND list, int row, int column);  // row -1: the column's title
std::string Line(HWND list, int row);              // the cells of a row joined by '|'
int SelectedRow(HWND list);                        // -1 for none
bool MenuHas(HMENU menu, UINT id);                 // in a pop-up or the menu bar, by command
Points Document();                                 // arr_vb as (vb, e)
}  // namespace apptest
