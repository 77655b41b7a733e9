// The measurement and result lists: rows, cells, the selection guard and command enabling.
#include <cmath>
#include <cstdio>
#include <string>

#include "core/calc.h"
#include "resources/resource.h"
#include "tests/app/app_test.h"
#include "tests/support/testui.h"

namespace apptest {
namespace {

using Lists = AppTest;

// The example curve of the evaluation: one result at 2.6875.
const Points curve = {{0, 200}, {1, 210}, {2, 230}, {2.5, 260}, {3, 300}, {4, 330}, {5, 340}};

TEST_F(Lists, DifferenceTableHasPointRowsWithInBetweenRows) {
    Load(curve);
    ASSERT_EQ(Rows(hwndList), 13);
    EXPECT_EQ(Column(hwndList, 0),
              (std::vector<std::string>{"1", "", "2", "", "3", "", "4", "", "5", "", "6", "", "7"}));
    EXPECT_EQ(Cell(hwndList, 6, 1), "2,500");
    EXPECT_EQ(Cell(hwndList, 6, 2), "260,0000");
    EXPECT_EQ(Column(hwndList, 3), (std::vector<std::string>{"", "10,0000", "", "20,0000", "", "60,0000", "",
                                                            "80,0000", "", "30,0000", "", "10,0000", ""}));
    EXPECT_EQ(Column(hwndList, 4), (std::vector<std::string>{"", "", "10,0000", "", "53,3333", "", "40,0000", "",
                                                            "-66,6667", "", "-20,0000", "", ""}));
    for (int column : {1, 2}) {
        EXPECT_EQ(Cell(hwndList, 1, column), "");
    }
    EXPECT_EQ(Column(hwndResults, 0), (std::vector<std::string>{"2,6875"}));
}

TEST_F(Lists, SmallDocumentsAndUndefinedValues) {
    Load({});
    EXPECT_EQ(Rows(hwndList), 0);
    EXPECT_EQ(Rows(hwndResults), 0);

    Load({{1, 10}});
    ASSERT_EQ(Rows(hwndList), 1);
    EXPECT_EQ(Cell(hwndList, 0, 3), "");
    EXPECT_EQ(Cell(hwndList, 0, 4), "");

    Load({{1, 10}, {2, 30}});
    ASSERT_EQ(Rows(hwndList), 3);
    EXPECT_EQ(Cell(hwndList, 1, 3), "20,0000");
    EXPECT_EQ(Cell(hwndList, 0, 4), "");
    EXPECT_EQ(Cell(hwndList, 2, 4), "");

    // Two points at one volume, as a file may hold them: no slope between them.
    arr_vb.flush();
    for (auto p : {std::pair{1.0, 10.0}, {2.0, 30.0}, {2.0, 20.0}, {3.0, 25.0}}) {
        arr_vb.append(ext_float_pair(ext_float(p.first), ext_float(p.second)));
    }
    StuffListView();
    EXPECT_EQ(Cell(hwndList, 3, 3), "*");
    EXPECT_EQ(Cell(hwndList, 2, 4), "*");
    EXPECT_EQ(Cell(hwndList, 4, 4), "*");
}

TEST_F(Lists, FirstResultIsSelectedAfterEveryRefillAndEnablesDetails) {
    HMENU menu = GetMenu(hwndMain);
    EXPECT_FALSE(MenuEnabled(menu, IDM_DETAILS));
    // Two sign changes of E'': +, -, + .
    Load({{0, 0}, {1, 1}, {2, 5}, {3, 6}, {4, 7}, {5, 12}});
    ASSERT_EQ(Rows(hwndResults), 2);
    EXPECT_EQ(SelectedRow(hwndResults), 0);
    EXPECT_TRUE(MenuEnabled(menu, IDM_DETAILS));

    ListView_SetItemState(hwndResults, -1, 0, LVIS_SELECTED);
    EXPECT_FALSE(MenuEnabled(menu, IDM_DETAILS));
    StuffListView();
    EXPECT_EQ(SelectedRow(hwndResults), 0);

    Load({{0, 0}, {1, 1}, {2, 4}, {3, 9}});
    EXPECT_EQ(Rows(hwndResults), 0);
    EXPECT_FALSE(MenuEnabled(menu, IDM_DETAILS));
}

TEST_F(Lists, ArrowKeysStepFromPointToPoint) {
    Load(curve);
    SetFocus(hwndList);
    Keys(hwndList, {KeyDown(VK_HOME), KeyDown(VK_DOWN)});
    EXPECT_EQ(SelectedRow(hwndList), 2);
    EXPECT_EQ(FocusedRow(hwndList), 2);
    Keys(hwndList, {KeyDown(VK_DOWN), KeyDown(VK_DOWN)});
    EXPECT_EQ(SelectedRow(hwndList), 6);
    EXPECT_EQ(GetSelectedPoint(), 3);
    Keys(hwndList, {KeyDown(VK_UP), KeyDown(VK_UP), KeyDown(VK_UP)});
    EXPECT_EQ(SelectedRow(hwndList), 0);
    EXPECT_EQ(FocusedRow(hwndList), 0);
    Keys(hwndList, {KeyDown(VK_END)});
    EXPECT_EQ(SelectedRow(hwndList), 12);
    EXPECT_EQ(GetSelectedPoint(), 6);
    // Typing a number finds that point.
    Keys(hwndList, {Char('3')});
    EXPECT_EQ(SelectedRow(hwndList), 4);

    // A burst of keys, as a fast typist or a key held down gives them.
    PostMessageA(hwndList, WM_KEYDOWN, VK_HOME, 1);
    for (int i = 0; i < 5; ++i) PostMessageA(hwndList, WM_KEYDOWN, VK_DOWN, 1);
    RunQueue();
    EXPECT_EQ(GetSelectedPoint(), 5);
}

TEST_F(Lists, AClickOnAnInBetweenRowKeepsThePreviousPoint) {
    Load(curve);
    SelectListItem(2);
    ASSERT_EQ(SelectedRow(hwndList), 4);
    RECT row = {LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(SendMessageA(hwndList, LVM_GETITEMRECT, 7, reinterpret_cast<LPARAM>(&row)));
    const POINT at = {20, (row.top + row.bottom) / 2};
    Click(hwndList, WM_LBUTTONDOWN, at);
    RunQueue();
    EXPECT_EQ(SelectedRow(hwndList), 4);
    EXPECT_EQ(GetSelectedPoint(), 2);
    const int selected = static_cast<int>(SendMessageA(hwndList, LVM_GETSELECTEDCOUNT, 0, 0));
    EXPECT_EQ(selected, 1);
    EXPECT_NE(FocusedRow(hwndList) % 2, 1);

    // A double click there edits the point that stayed selected.
    testui::ModalScript ui;
    ui.call([](HWND dlg) {
        EXPECT_EQ(testui::ItemText(dlg, IDC_VB), "2,000");
        testui::Press(dlg, IDCANCEL);
    });
    Click(hwndList, WM_LBUTTONDBLCLK, at);
    RunQueue();
    EXPECT_EQ(ui.seen().size(), 1u);
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string out = text;
    for (char& c : out) c = c == '.' ? ',' : c;
    return out;
}

// An instrument's curve with reading noise: every cell as the points give it, every result as
// the evaluation gives it, and the selection rules and edits far down the list.
TEST_F(Lists, TenThousandPoints) {
    const int n = 10000;
    std::vector<double> vb(n), e(n);
    unsigned seed = 12345;
    Points points;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        vb[i] = 0.005 * i;
        e[i] = 300.0 * std::tanh(2.0 * (vb[i] - 25.0)) + static_cast<int>((seed >> 16) % 11 - 5) * 0.1;
        points.emplace_back(vb[i], e[i]);
    }
    Load(points);
    ASSERT_EQ(Rows(hwndList), 2 * n - 1);
    for (int i = 0; i < n; ++i) {
        const int row = 2 * i;
        ASSERT_EQ(Cell(hwndList, row, 0), std::to_string(i + 1));
        ASSERT_EQ(Cell(hwndList, row, 1), Fixed(vb[i], 3));
        ASSERT_EQ(Cell(hwndList, row, 2), Fixed(e[i], 4));
        ASSERT_EQ(Cell(hwndList, row, 3), "");
        if (i + 1 == n) break;
        const double de = (e[i + 1] - e[i]) / (vb[i + 1] - vb[i]);
        ASSERT_EQ(Cell(hwndList, row + 1, 0), "");
        ASSERT_EQ(Cell(hwndList, row + 1, 3), Fixed(de, 4)) << i;
        if (i > 0) {
            const double before = (e[i] - e[i - 1]) / (vb[i] - vb[i - 1]);
            ASSERT_EQ(Cell(hwndList, row, 4), Fixed((de - before) / ((vb[i + 1] - vb[i - 1]) / 2.0), 4)) << i;
        } else {
            ASSERT_EQ(Cell(hwndList, row, 4), "");
        }
    }
    ASSERT_GT(arr_res.size(), 100);
    ASSERT_EQ(Rows(hwndResults), arr_res.size());
    for (int k = 0; k < arr_res.size(); ++k) ASSERT_EQ(Cell(hwndResults, k, 0), Fixed(arr_res[k]->key.value, 4));

    SelectListItem(n - 1);
    EXPECT_EQ(SelectedRow(hwndList), 2 * n - 2);
    Keys(hwndList, {KeyDown(VK_PRIOR), KeyDown(VK_NEXT), KeyDown(VK_PRIOR), KeyDown(VK_PRIOR)});
    const int row = SelectedRow(hwndList);
    EXPECT_EQ(row % 2, 0);
    EXPECT_LT(row, 2 * n - 2);
    EXPECT_EQ(FocusedRow(hwndList), row);
    Keys(hwndList, {KeyDown(VK_UP), KeyDown(VK_UP), KeyDown(VK_DOWN)});
    EXPECT_EQ(SelectedRow(hwndList), row - 2);
    EXPECT_EQ(GetSelectedPoint(), row / 2 - 1);

    SelectListItem(5000);
    RECT between = {LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(SendMessageA(hwndList, LVM_GETITEMRECT, 10001, reinterpret_cast<LPARAM>(&between)));
    Click(hwndList, WM_LBUTTONDOWN, {20, (between.top + between.bottom) / 2});
    RunQueue();
    EXPECT_EQ(SelectedRow(hwndList), 10000);
    EXPECT_EQ(FocusedRow(hwndList), 10000);

    // Deleting renumbers the points behind it; a pasted point is selected where it belongs.
    SendMessageA(hwndMain, WM_COMMAND, IDM_DELETE, 0);
    EXPECT_EQ(Rows(hwndList), 2 * n - 3);
    EXPECT_EQ(Cell(hwndList, 10000, 1), Fixed(vb[5001], 3));
    EXPECT_EQ(Cell(hwndList, 10000, 0), "5001");
    EXPECT_EQ(SelectedRow(hwndList), -1);
    ASSERT_TRUE(driver::PutClipboardText("25.0021\t7"));
    SendMessageA(hwndMain, WM_COMMAND, IDM_PASTE, 0);
    EXPECT_EQ(Rows(hwndList), 2 * n - 1);
    EXPECT_EQ(SelectedRow(hwndList), 10000);
    EXPECT_EQ(Cell(hwndList, 10000, 1), "25,002");
    EXPECT_EQ(Cell(hwndList, 10000, 2), "7,0000");
    EXPECT_EQ(Cell(hwndList, 10002, 0), "5002");
}

struct Expect {
    bool edit, del, copy, cut, graph, save, saveas, html, delall;
};

void CheckMenu(HMENU menu, const Expect& e, const char* where) {
    SCOPED_TRACE(where);
    const std::pair<UINT, bool> items[] = {
        {IDM_EDIT, e.edit},  {IDM_DELETE, e.del},   {IDM_COPY, e.copy},      {IDM_CUT, e.cut},
        {IDM_GRAPH, e.graph}, {IDM_SAVE, e.save},   {IDM_SAVEAS, e.saveas},  {IDM_EXPORTHTML, e.html},
        {IDM_DELETEALL, e.delall}};
    for (auto [id, enabled] : items) {
        EXPECT_TRUE(MenuHas(menu, id)) << id;
        EXPECT_EQ(MenuEnabled(menu, id), enabled) << id;
    }
    for (UINT id : {IDM_NEW, IDM_OPEN, IDM_EXIT, IDM_ADD, IDM_PASTE, IDM_OPTIONS, IDM_ABOUT, IDM_HELP_PDF}) {
        EXPECT_TRUE(MenuHas(menu, id) && MenuEnabled(menu, id)) << id;
    }
    EXPECT_EQ(ButtonEnabled(IDM_EDIT), e.edit);
    EXPECT_EQ(ButtonEnabled(IDM_DELETE), e.del);
    EXPECT_EQ(ButtonEnabled(IDM_SAVE), e.save);
    for (UINT id : {IDM_NEW, IDM_OPEN, IDM_ADD, IDM_ABOUT}) EXPECT_TRUE(ButtonEnabled(id)) << id;
}

TEST_F(Lists, CommandsFollowTheSelectionAndTheNumberOfPoints) {
    HMENU menu = GetMenu(hwndMain);
    CheckMenu(menu, {false, false, false, false, false, false, false, false, false}, "empty");
    Load({{1, 10}});
    CheckMenu(menu, {false, false, false, false, false, true, true, true, true}, "one point");
    SelectListItem(0);
    CheckMenu(menu, {true, true, true, true, false, true, true, true, true}, "one point selected");
    Load({{1, 10}, {2, 20}, {3, 40}});
    CheckMenu(menu, {false, false, false, false, true, true, true, true, true}, "three points");
    SelectListItem(1);
    CheckMenu(menu, {true, true, true, true, true, true, true, true, true}, "three points selected");
}

// The pop-up shown by a right click at (10, y), read while it is open: (id, enabled) of
// every item, and the default item.
std::vector<std::pair<UINT, bool>> RightClick(HWND list, int y, UINT* default_id) {
    std::vector<std::pair<UINT, bool>> items;
    RECT shown = {};
    testui::ModalScript ui;
    ui.menu([&](HWND menu_window) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menu_window, 0x01E1 /* MN_GETHMENU */, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            const UINT id = GetMenuItemID(menu, i);
            if (id == 0 || id == static_cast<UINT>(-1)) continue;
            items.emplace_back(id, !(GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)));
        }
        *default_id = GetMenuDefaultItem(menu, FALSE, 0);
        GetWindowRect(menu_window, &shown);
        testui::CloseMenu();
    });
    Click(list, WM_RBUTTONDOWN, {10, y});
    testui::Pump();
    EXPECT_EQ(ui.menus(), 1);
    // The menu opens where the click was.
    POINT at = {10, y};
    ClientToScreen(list, &at);
    EXPECT_EQ(shown.left, at.x);
    EXPECT_EQ(shown.top, at.y);
    return items;
}

int RowMiddle(HWND list, int row) {
    RECT rc = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
    return (rc.top + rc.bottom) / 2;
}

int BelowRows(HWND list) {
    RECT rc = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, Rows(list) - 1, reinterpret_cast<LPARAM>(&rc));
    return rc.bottom + 20;
}

using Items = std::vector<std::pair<UINT, bool>>;

TEST_F(Lists, ContextMenusOfferTheirCommandsWithTheSameEnabling) {
    Load({{1, 10}, {2, 20}, {3, 40}, {4, 45}});
    UINT default_id = 0;

    Items items = RightClick(hwndList, RowMiddle(hwndList, 2), &default_id);
    EXPECT_EQ(GetSelectedPoint(), 1);
    EXPECT_EQ(items, (Items{{IDM_ADD, true}, {IDM_EDIT, true}, {IDM_COPY, true}, {IDM_PASTE, true},
                            {IDM_CUT, true}, {IDM_DELETE, true}}));
    EXPECT_EQ(default_id, static_cast<UINT>(IDM_EDIT));

    ListView_SetItemState(hwndList, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    items = RightClick(hwndList, BelowRows(hwndList), &default_id);
    EXPECT_EQ(items, (Items{{IDM_ADD, true}, {IDM_EDIT, false}, {IDM_COPY, false}, {IDM_PASTE, true},
                            {IDM_CUT, false}, {IDM_DELETE, false}}));
    EXPECT_FALSE(ButtonEnabled(IDM_EDIT));

    ASSERT_EQ(Rows(hwndResults), 1);
    items = RightClick(hwndResults, RowMiddle(hwndResults, 0), &default_id);
    EXPECT_EQ(items, (Items{{IDM_DETAILS, true}}));
    EXPECT_EQ(default_id, static_cast<UINT>(IDM_DETAILS));
    items = RightClick(hwndResults, BelowRows(hwndResults), &default_id);
    EXPECT_EQ(items, (Items{{IDM_DETAILS, false}}));
}

}  // namespace
}  // namespace apptest
