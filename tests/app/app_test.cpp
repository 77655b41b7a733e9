#include "tests/app/app_test.h"

#include "core/calc.h"
#include "tests/support/display_defaults.h"
#include "resources/resource.h"

namespace apptest {

namespace {

// The window classes are registered once per process, as start-up does.
class AppEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(InitApplication(GetModuleHandleA(nullptr))); }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new AppEnvironment);

void SetHeld(const std::vector<UINT>& mods, bool down) {
    BYTE state[256];
    GetKeyboardState(state);
    for (UINT vk : mods) state[vk] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

}  // namespace

void AppTest::SetUp() {
    arr_vb.flush();
    dirty = false;
    RestoreDisplayDefaults();
    accel_ = LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(IDR_ACCEL));
    ASSERT_TRUE(accel_);
    HWND dlg = CreateDialogParamA(hInst, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDlgProc, 0);
    ASSERT_TRUE(dlg);
    ASSERT_EQ(dlg, hwndMain);
    SetForegroundWindow(dlg);
    SetFocus(hwndList);
}

void AppTest::TearDown() {
    if (IsWindow(hwndMain)) DestroyWindow(hwndMain);
    // The destroyed main window posted the quit message; it must not end a later test's dialogs.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    }
    arr_vb.flush();
    dirty = false;
}

void AppTest::Load(const Points& points) {
    arr_vb.flush();
    for (const auto& p : points) arr_vb.insert_sorted(ext_float_pair(ext_float(p.first), ext_float(p.second)));
    StuffListView();
    dirty = false;
}

bool AppTest::RunQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return true;
        ProcessMessage(accel_, &msg);
    }
    return false;
}

bool AppTest::Keys(HWND target, const std::vector<Key>& keys) {
    for (const Key& key : keys) {
        SetHeld(key.held, true);
        PostMessageA(target, key.message, key.wparam, key.lparam);
        const bool quit = RunQueue();
        SetHeld(key.held, false);
        if (quit) return true;
    }
    return false;
}

Key KeyDown(UINT vk, std::vector<UINT> held) {
    bool alt = false;
    for (UINT h : held) alt = alt || h == VK_MENU;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
    return {alt ? static_cast<UINT>(WM_SYSKEYDOWN) : static_cast<UINT>(WM_KEYDOWN), vk,
            1 | scan | (alt ? LPARAM(1) << 29 : 0), held};
}

Key Char(char ch) {
    return {WM_CHAR, static_cast<unsigned char>(ch), 1, {}};
}

void Click(HWND wnd, UINT down, POINT at) {
    const bool right = down == WM_RBUTTONDOWN;
    const UINT button = right ? VK_RBUTTON : VK_LBUTTON;
    const LPARAM position = MAKELPARAM(at.x, at.y);
    SetHeld({button}, true);
    PostMessageA(wnd, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, position);
    SendMessageA(wnd, down, right ? MK_RBUTTON : MK_LBUTTON, position);
    SetHeld({button}, false);
}

int Rows(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string Cell(HWND list, int row, int column) {
    char text[512] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

int SelectedRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int FocusedRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

std::vector<std::string> Column(HWND list, int column) {
    std::vector<std::string> out;
    for (int row = 0; row < Rows(list); ++row) out.push_back(Cell(list, row, column));
    return out;
}

bool MenuHas(HMENU menu, UINT id) {
    return GetMenuState(menu, id, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

bool MenuEnabled(HMENU menu, UINT id) {
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    EXPECT_NE(state, static_cast<UINT>(-1)) << "no menu item " << id;
    return !(state & (MF_GRAYED | MF_DISABLED));
}

bool ButtonEnabled(UINT id) {
    return SendMessageA(hwndTool, TB_ISBUTTONENABLED, id, 0) != 0;
}

Points Document() {
    Points out;
    for (int i = 0; i < arr_vb.size(); ++i) out.emplace_back(arr_vb[i]->vb.value, arr_vb[i]->e.value);
    return out;
}

std::string Title() {
    char text[512] = "";
    GetWindowTextA(hwndMain, text, sizeof text);
    return text;
}

}  // namespace apptest
