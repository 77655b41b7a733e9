// The Details dialog: the volume of the selected result, the two points it lies between and
// the steepness there, which tells why the criterion took the point or left it out.
#include "app/Titrionika_dialogs.h"

#include "app/Titrionika.h"
#include "core/calc.h"
#include "resources/resource.h"
#include "settings/syncdlg.h"

void ShowDetails() {
    const int selected = GetSelectedRow(hwndResults);
    if (selected < 0 || selected >= arr_res.size()) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    const sorted_struct& result = *arr_res[selected];
    ext_float key = result.key;
    ext_float x1 = result.data.x1;
    ext_float y1 = result.data.y1;
    ext_float x2 = result.data.x2;
    ext_float y2 = result.data.y2;
    char steepness[EXT_FLOAT_TEXT + 32];
    format_steepness(steepness, sizeof steepness, result.data.slope);
    tag_CTL_SYNC table[] = {
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_DETAIL_VB, &key, res_precis, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_DETAIL_X1, &x1, res_precis, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_DETAIL_Y1, &y1, res_precis, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_DETAIL_X2, &x2, res_precis, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_DETAIL_Y2, &y2, res_precis, nullptr, nullptr, nullptr},
        {SYNC_STR_EDIT, nullptr, IDC_DETAIL_STEEPNESS, steepness, sizeof steepness, nullptr, nullptr, nullptr},
        {SYNC_END, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr},
    };
    SyncedOutDlg(hInst, MAKEINTRESOURCEA(IDD_DETAILS), hwndMain, table);
}
