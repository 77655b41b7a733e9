#include "tests/app/app_test.h"
#include "core/calc.h"
#include "resources/resource.h"
#include "tests/support/display_defaults.h"
#include "tests/support/testui.h"
namespace apptest {
namespace {
// The window classes are registered once per process, as start-up does.
struct AppEnvironment : ::testing::Environment {
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
    document.changed = false;
    RestoreDisplayDefaults();
    ASSERT_TRUE(accel_ = LoadAcceleratorsA(main_window.instance, MAKEINTRESOURCEA(IDR_ACCEL)));
    ASSERT_EQ(CreateDialogParamA(main_window.instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDlgProc, 0),
              main_window.dialog);
    SetForegroundWindow(main_window.dialog);
    SetFocus(main_window.list);
}
void AppTest::TearDown() {
    if (IsWindow(main_window.dialog)) DestroyWindow(main_window.dialog);
    RunQueue();  // the quit message of the destroyed window must not end a later test's dialogs
    arr_vb.flush();
    document.changed = false;
}
void AppTest::Load(const Points& points) {
    arr_vb.flush();
    for (const auto& p : points) arr_vb.insert_sorted(ext_float_pair(ext_float(p.first), ext_float(p.second)));
    recalc_arrays();
    StuffListView(main_window);
    document.changed = false;
}
bool AppTest::RunQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_QUIT)
            return true;
        else
            ProcessMessage(accel_, &msg);
    return false;
}
bool AppTest::Keys(HWND target, const std::vector<Key>& keys) {
    bool quit = false;
    for (size_t k = 0; k < keys.size() && !quit; ++k) {
        SetHeld(keys[k].held, true);
        PostMessageA(target, keys[k].message, keys[k].wparam, keys[k].lparam);
        quit = RunQueue();
        SetHeld(keys[k].held, false);
    }
    return quit;
}
void AppTest::Act(const scenario::Step& s) {
    testui::ModalScript script;
    size_t next = 0;
    for (size_t k = 0; k < s.answers.size(); ++k) {
        script.call([&](HWND dlg) {
            if (next == s.answers.size())
                return ADD_FAILURE() << "unexpected " << driver::Text(dlg), testui::Press(dlg, IDCANCEL);
            // A dialog stays open after its button only when that opened a message that was
            // answered meanwhile; then the next answer is its own when the caption says so.
            for (size_t first = next; next == first || (next > first + 1 && next < s.answers.size() &&
                                                        driver::Text(dlg).rfind(s.answers[next].caption, 0) == 0);)
                scenario::Respond(dlg, s.answers[first = next++]);
        });
    }
    if (s.command) SendMessageA(main_window.dialog, WM_COMMAND, s.command, 0);
    std::vector<Key> keys;
    for (UINT k : s.keys) {
        const UINT held = k & 0x40000 ? VK_MENU : k & 0x80000 ? VK_CONTROL : 0u;
        keys.push_back(k & 0x10000 ? Key{WM_CHAR, k & 0xFF, 1, {}} : KeyDown(k & 0xFFFF, {held}));
    }
    EXPECT_EQ(Keys(main_window.list, keys) || RunQueue(), s.ends);
    EXPECT_EQ(next, s.answers.size());
    EXPECT_EQ(script.unexpected(), 0);
}
// Every command is in the menu; the toolbar's must agree with it.
std::optional<bool> AppTest::Enabled(UINT id) const {
    EXPECT_TRUE(MenuHas(GetMenu(main_window.dialog), id)) << id;
    const bool enabled = !(GetMenuState(GetMenu(main_window.dialog), id, MF_BYCOMMAND) & MF_GRAYED);
    if (id == IDM_EDIT || id == IDM_DELETE || id == IDM_SAVE) {
        EXPECT_EQ(SendMessageA(main_window.toolbar, TB_ISBUTTONENABLED, id, 0) != 0, enabled)
            << scenario::CommandName(id) << " on the toolbar";
    }
    return enabled;
}
Key KeyDown(UINT vk, std::vector<UINT> held) {
    const bool alt = !held.empty() && held[0] == VK_MENU;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
    return {alt ? UINT(WM_SYSKEYDOWN) : UINT(WM_KEYDOWN), vk, 1 | scan | (alt ? LPARAM(1) << 29 : 0), held};
}
void Click(HWND list, UINT down, int row) {
    RECT rc = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
    const LPARAM at = MAKELPARAM(10, (rc.top + rc.bottom) / 2);
    SetHeld({VK_LBUTTON}, true);  // its release waits in the queue, where drag detection finds it
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    SendMessageA(list, down, MK_LBUTTON, at);
    SetHeld({VK_LBUTTON}, false);
}
int Rows(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
std::string Cell(HWND list, int row, int column) {
    char text[512] = "";
    if (row < 0) {
        LVCOLUMNA title = {};
        title.mask = LVCF_TEXT, title.pszText = text, title.cchTextMax = sizeof text;
        return SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&title)), text;
    }
    LVITEMA item = {};
    item.iSubItem = column, item.pszText = text, item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}
std::string Line(HWND list, int row) {
    std::string line = Cell(list, row, 0);
    for (int column = 1; column < 5; ++column) line += "|" + Cell(list, row, column);
    return line;
}
int SelectedRow(HWND list) { return int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); }
bool MenuHas(HMENU menu, UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND) != UINT(-1); }
Points Document() {
    Points out;
    for (int i = 0; i < arr_vb.size(); ++i) out.emplace_back(arr_vb[i]->vb.value, arr_vb[i]->e.value);
    return out;
}
}  // namespace apptest
