#include "app/commands.h"

#include <commctrl.h>

#include "core/ph_calibration.h"
#include "resources/resource.h"
#include "settings/config.h"

namespace {

void EnableCommand(HMENU menu, UINT id, bool enable) {
    // Ids that a pop-up lacks are left alone by EnableMenuItem.
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

void EnableButton(const MainWindow& window, UINT id, bool enable) {
    SendMessageA(window.toolbar, TB_ENABLEBUTTON, id, MAKELPARAM(enable ? TRUE : FALSE, 0));
}

}  // namespace

void EnableCommands(const MainWindow& window, HMENU menu) {
    const bool selected = ListView_GetSelectedCount(window.list) > 0;
    const int n = window.document.points.size();
    EnableCommand(menu, IDM_EDIT, selected);
    EnableCommand(menu, IDM_DELETE, selected);
    EnableCommand(menu, IDM_COPY, selected);
    EnableCommand(menu, IDM_CUT, selected);
    EnableCommand(menu, IDM_GRAPH, n >= 3);
    EnableCommand(menu, IDM_SAVE, n >= 1);
    EnableCommand(menu, IDM_SAVEAS, n >= 1);
    EnableCommand(menu, IDM_EXPORTHTML, n >= 1);
    EnableCommand(menu, IDM_EXPORTCSV, n >= 1);
    EnableCommand(menu, IDM_DELETEALL, n >= 1);
    EnableCommand(menu, IDM_UNDO, window.document.history.CanUndo());
    EnableCommand(menu, IDM_REDO, window.document.history.CanRedo());
    EnableCommand(menu, IDM_CONVERT_PH,
                  n >= 1 && window.document.quantity == Quantity::mv && ReadCalibration(calibration_buffers));
    EnableCommand(menu, IDM_DETAILS, ListView_GetSelectedCount(window.results) > 0);
    EnableButton(window, IDM_EDIT, selected);
    EnableButton(window, IDM_DELETE, selected);
    EnableButton(window, IDM_SAVE, n >= 1);
}

void EnableCommands(const MainWindow& window) { EnableCommands(window, GetMenu(window.dialog)); }
