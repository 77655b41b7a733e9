// The Details dialog: the volume of the selected result, the two points it lies between and
// the steepness there, which tells why the criterion took the point or left it out; for a
// result found on smoothed derivatives also the window and the estimated noise.
#include "app/Titrionika_dialogs.h"

#include "app/determination.h"
#include "app/lists.h"
#include "app/main_window.h"
#include "core/calc.h"
#include "core/ph_results.h"
#include "core/gran.h"
#include "resources/resource.h"
#include "settings/syncdlg.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A window or a noise level: three significant digits are what the estimate is worth.
std::string Significant(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    if (use_comma) std::replace(text, text + std::strlen(text), '.', ',');
    return text;
}

// Without smoothing the row is hidden and the dialog keeps the size it always had.
bool SmoothingSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    const char* text = static_cast<const char*>(row->data);
    if (op != SYNC_OP_OUT || *text) return StrEditSyncProc(op, ctl, row);
    const HWND dialog = GetParent(ctl);
    RECT shift = {0, 0, 0, 24}, window, ok;  // the row's height in dialog units
    MapDialogRect(dialog, &shift);
    ShowWindow(ctl, SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_DETAIL_SMOOTHING_LABEL), SW_HIDE);
    const HWND button = GetDlgItem(dialog, IDOK);
    GetWindowRect(button, &ok);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&ok), 2);
    SetWindowPos(button, nullptr, ok.left, ok.top - shift.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - shift.bottom,
                 SWP_NOMOVE | SWP_NOZORDER);
    return true;
}

// With a determination the calculation box comes up from below the edge, the OK button goes
// under it and the dialog grows to hold both.
bool CalculationSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    const std::string& text = *static_cast<const std::string*>(row->data);
    if (op != SYNC_OP_OUT || text.empty()) return true;
    const HWND dialog = GetParent(ctl);
    const HWND label = GetDlgItem(dialog, IDC_DETAIL_CALCULATION_LABEL);
    const HWND button = GetDlgItem(dialog, IDOK);
    RECT gap = {0, 0, 7, 10}, box, ok, window;
    MapDialogRect(dialog, &gap);
    GetWindowRect(ctl, &box);
    GetWindowRect(button, &ok);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&ok), 2);
    const int top = ok.top;
    const int box_height = box.bottom - box.top;
    SetWindowPos(label, nullptr, gap.right, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(ctl, nullptr, gap.right, top + gap.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const int client_width = box.right + gap.right;
    const int ok_top = top + gap.bottom + box_height + gap.right;
    SetWindowPos(button, nullptr, (client_width - (ok.right - ok.left)) / 2, ok_top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(dialog, &window);
    RECT client;
    GetClientRect(dialog, &client);
    const int frame_x = (window.right - window.left) - client.right;
    const int frame_y = (window.bottom - window.top) - client.bottom;
    SetWindowPos(dialog, nullptr, 0, 0, client_width + frame_x, ok_top + (ok.bottom - ok.top) + gap.right + frame_y,
                 SWP_NOMOVE | SWP_NOZORDER);
    std::string lines;
    for (char c : text) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    SetWindowTextA(ctl, lines.c_str());
    ShowWindow(label, SW_SHOW);
    ShowWindow(ctl, SW_SHOW);
    return true;
}

// A pH document's Details widen to the right to show the half-neutralisation pKa; an mV
// document's keep the size they always had.
bool PkaSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    const std::string& text = *static_cast<const std::string*>(row->data);
    if (op != SYNC_OP_OUT || text.empty()) return true;
    const HWND dialog = GetParent(ctl);
    RECT box, window, margin = {0, 0, 7, 0};
    MapDialogRect(dialog, &margin);
    GetWindowRect(ctl, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    GetWindowRect(dialog, &window);
    RECT client;
    GetClientRect(dialog, &client);
    const int frame_x = (window.right - window.left) - client.right;
    SetWindowPos(dialog, nullptr, 0, 0, box.right + margin.right + frame_x, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    SetWindowTextA(ctl, text.c_str());
    ShowWindow(GetDlgItem(dialog, IDC_DETAIL_PKA_LABEL), SW_SHOW);
    ShowWindow(ctl, SW_SHOW);
    return true;
}

// What a row of the result list shows: an inflection with the points around it, or the
// volume at which the curve reaches a set value (its label where the steepness stands).
struct RowDetails {
    ext_float key, x1, y1, x2, y2;
    ext_float slope;
    std::string set_value;
};

bool ReadRow(const Document& doc, int row, RowDetails& details) {
    const ext_float none(0.0, true);
    const int inflections = doc.derived.results.size();
    if (row < inflections) {
        const sorted_struct& result = *doc.derived.results[row];
        details = {result.key, result.data.x1, result.data.y1, result.data.x2, result.data.y2, result.data.slope, ""};
        return true;
    }
    const std::vector<CurveReading> readings = doc.SetValueEndPoints();
    const std::size_t k = static_cast<std::size_t>(row - inflections);
    if (k >= readings.size()) return false;
    details = {ext_float(readings[k].value, !readings[k].found), none, none, none, none, none,
               QuantityValueText(doc.quantity, doc.determination->set_values[k])};
    return true;
}

// A pH document's Gran end point under the calculation, as the report gives it.
std::string GranDetailsLine(const Document& doc) {
    const std::string text =
        GranSummaryText(EvaluateGran(doc, gran_options, DocumentV0(doc)), gran_options.function, res_precis, use_comma);
    return text.empty() ? text : text + "\n";
}

} // namespace

void ShowDetails() {
    const Document& doc = main_window.document;
    const int selected = GetSelectedRow(main_window, main_window.results);
    RowDetails row;
    if (selected < 0 || !ReadRow(doc, selected, row)) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    ext_float key = row.key;
    ext_float x1 = row.x1;
    ext_float y1 = row.y1;
    ext_float x2 = row.x2;
    ext_float y2 = row.y2;
    const bool ph = doc.quantity == Quantity::ph;
    char steepness[EXT_FLOAT_TEXT + 32];
    if (row.set_value.empty())
        format_steepness(steepness, sizeof steepness, row.slope, QuantityUnit(doc.quantity));
    else
        std::snprintf(steepness, sizeof steepness, "%s", row.set_value.c_str());
    char smoothed[160] = "";
    if (smoothing.window > 0)
        std::snprintf(smoothed, sizeof smoothed, ResourceString(ph ? IDS_DETAIL_NOISE_PH : IDS_DETAIL_SMOOTHING).c_str(),
                      Significant(smoothing.window).c_str(), smoothing.points, Significant(smoothing.noise).c_str());
    std::string pka = ph ? PkaText(ResultRowPka(doc, selected), use_comma) : std::string();
    std::string calculation = ResultCalculationText(main_window.document);
    calculation += GranDetailsLine(main_window.document);
    tag_CTL_SYNC table[] = {
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_DETAIL_VB, &key, res_precis, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_DETAIL_X1, &x1, res_precis, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_DETAIL_Y1, &y1, res_precis, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_DETAIL_X2, &x2, res_precis, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, ExtFloatSyncProc, IDC_DETAIL_Y2, &y2, res_precis, nullptr, nullptr, nullptr},
        {SYNC_STR_EDIT, nullptr, IDC_DETAIL_STEEPNESS, steepness, sizeof steepness, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, SmoothingSyncProc, IDC_DETAIL_SMOOTHING, smoothed, sizeof smoothed, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, PkaSyncProc, IDC_DETAIL_PKA, &pka, 0, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, CalculationSyncProc, IDC_DETAIL_CALCULATION, &calculation, 0, nullptr, nullptr, nullptr},
        {SYNC_END, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr},
    };
    SyncedOutDlg(main_window.instance, MAKEINTRESOURCEA(IDD_DETAILS), main_window.dialog, table);
}
