// The Options dialog: how numbers are shown and which sign changes of E'' are results.
#include "app/Titrionika_dialogs.h"

#include <cstdint>
#include <string>

#include "app/lists.h"
#include "app/main_window.h"
#include "core/calc.h"
#include "resources/resource.h"
#include "settings/syncdlg.h"

char int_error[] = "Zadejte celé nezáporné číslo";

bool validate(unsigned /*id*/, void* value) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(value)) >= 0;
}

namespace {

constexpr int MAX_STEEPNESS = 100;  // per cent of the steepest inflection

bool ValidateSteepness(unsigned id, void* value) {
    return validate(id, value) && static_cast<int>(reinterpret_cast<std::intptr_t>(value)) <= MAX_STEEPNESS;
}

}  // namespace

void ShowOptions() {
    int comma = use_comma ? 1 : 0;
    // The two choices are radio buttons bound as check boxes; the second one decides.
    int all = recognition == RECOGNIZE_STEEPEST ? 0 : 1;
    int steepest = 1 - all;
    std::string steepness_error = ResourceString(IDS_BAD_STEEPNESS);
    tag_CTL_SYNC table[] = {
        {SYNC_CHECKBOX, nullptr, IDC_USE_COMMA, &comma, 0, nullptr, nullptr, nullptr},
        {SYNC_INT_EDIT, nullptr, IDC_VB_PRECIS, &vb_precis, 0, int_error, nullptr, validate},
        {SYNC_INT_EDIT, nullptr, IDC_E_PRECIS, &e_precis, 0, int_error, nullptr, validate},
        {SYNC_INT_EDIT, nullptr, IDC_DE_PRECIS, &de_precis, 0, int_error, nullptr, validate},
        {SYNC_INT_EDIT, nullptr, IDC_D2E_PRECIS, &d2e_precis, 0, int_error, nullptr, validate},
        {SYNC_INT_EDIT, nullptr, IDC_RES_PRECIS, &res_precis, 0, int_error, nullptr, validate},
        {SYNC_INT_EDIT, nullptr, IDC_GRAPH_PRECIS, &graph_precis, 0, int_error, nullptr, validate},
        {SYNC_CHECKBOX, nullptr, IDC_RECOGNIZE_ALL, &all, 0, nullptr, nullptr, nullptr},
        {SYNC_CHECKBOX, nullptr, IDC_RECOGNIZE_STEEPEST, &steepest, 0, nullptr, nullptr, nullptr},
        {SYNC_INT_EDIT, nullptr, IDC_MIN_STEEPNESS, &min_steepness, 0, &steepness_error[0], nullptr, ValidateSteepness},
        {SYNC_END, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr},
    };
    if (!SyncedDlg(main_window.instance, MAKEINTRESOURCEA(IDD_OPTIONS), main_window.dialog, table)) return;
    use_comma = comma == 1;
    recognition = steepest == 1 ? RECOGNIZE_STEEPEST : RECOGNIZE_ALL;

    const int point_row = GetSelectedRow(main_window, main_window.list);
    const int result_row = GetSelectedRow(main_window, main_window.results);
    // The refill evaluates the curve again, so a changed criterion changes the results; the
    // points keep their rows, and a result row that is still there is selected again.
    main_window.document.Evaluate();
    StuffListView(main_window);
    if (point_row != -1) ListView_SetItemState(main_window.list, point_row, LVIS_SELECTED, LVIS_SELECTED);
    if (result_row != -1 && result_row < main_window.document.derived.results.size())
        ListView_SetItemState(main_window.results, result_row, LVIS_SELECTED, LVIS_SELECTED);
}
