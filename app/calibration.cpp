// The electrode calibration dialog.
#include "app/calibration.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "app/main_window.h"
#include "core/determination_text.h"
#include "core/ph_calibration.h"
#include "resources/resource.h"
#include "settings/config.h"
#include "settings/syncdlg.h"

namespace {

enum Field { FIELD_PH, FIELD_MV, FIELD_T, FIELDS };
constexpr int FIRST_ID[FIELDS] = {IDC_CAL_PH1, IDC_CAL_MV1, IDC_CAL_T1};
constexpr UINT FIELD_NAME[FIELDS] = {IDS_CAL_FIELD_PH, IDS_CAL_FIELD_MV, IDS_CAL_FIELD_T};
// Aqueous buffers: the range water is liquid in.
constexpr double MIN_CELSIUS = 0.0, MAX_CELSIUS = 100.0;

// What the dialog edits: each field a number, or NaN while its edit is empty.
struct DialogState {
    double values[MAX_BUFFERS][FIELDS];
    std::string errors[MAX_BUFFERS][FIELDS];
    tag_CTL_SYNC* table = nullptr;
    std::string stored_text;  // the stored calibration, shown until the first computation
};

std::string ControlText(HWND ctl) {
    char text[256] = "";
    GetWindowTextA(ctl, text, sizeof text);
    return text;
}

// An empty edit reads as NaN: a field not filled in.
bool ReadOptional(HWND ctl, double& value) {
    const std::string text = ControlText(ctl);
    if (text.find_first_not_of(" \t") == std::string::npos) {
        value = NAN;
        return true;
    }
    ext_float parsed;
    if (!parsed.parse(text.c_str()) || parsed.undefined || !std::isfinite(parsed.value)) return false;
    value = parsed.value;
    return true;
}

bool OptionalDoubleSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    double* data = static_cast<double*>(row->data);
    if (!ctl) return false;
    double value = NAN;
    switch (op) {
    case SYNC_OP_OUT:
        return SetWindowTextA(ctl, std::isnan(*data) ? "" : ExactText(*data, use_comma).c_str()) != 0;
    case SYNC_OP_TRY:
        return ReadOptional(ctl, value) && (std::isnan(value) || !row->validator || row->validator(row->id, &value));
    case SYNC_OP_IN:
        ReadOptional(ctl, value);
        *data = value;
        return true;
    default:
        return true;
    }
}

bool TemperatureValid(unsigned /*id*/, void* value) {
    const double celsius = *static_cast<double*>(value);
    return celsius >= MIN_CELSIUS && celsius <= MAX_CELSIUS;
}

void Refuse(HWND dialog, const std::string& text, int focus_id) {
    MessageBoxA(dialog, text.c_str(), nullptr, MB_OK | MB_ICONERROR);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, focus_id)), TRUE);
}

// The buffers of the filled rows after SyncIn; false, with the message naming the field, for a
// row filled only in part or fewer than two buffers.
bool CollectBuffers(HWND dialog, const DialogState& state, std::vector<CalibrationBuffer>& buffers) {
    buffers.clear();
    int first_empty_row = -1;
    for (int row = 0; row < MAX_BUFFERS; ++row) {
        const double* v = state.values[row];
        int missing = -1, filled = 0;
        for (int f = 0; f < FIELDS; ++f) {
            if (!std::isnan(v[f])) ++filled;
            else if (missing < 0) missing = f;
        }
        if (filled == 0) {
            if (first_empty_row < 0) first_empty_row = row;
            continue;
        }
        if (missing >= 0) {
            Refuse(dialog, FormatResource(IDS_CAL_INCOMPLETE, row + 1, ResourceString(FIELD_NAME[missing]).c_str()),
                   FIRST_ID[missing] + row);
            return false;
        }
        buffers.push_back({v[FIELD_PH], v[FIELD_MV], v[FIELD_T]});
    }
    if (buffers.size() < MIN_BUFFERS) {
        Refuse(dialog, ResourceString(IDS_CAL_TOO_FEW), IDC_CAL_PH1 + (first_empty_row < 0 ? 0 : first_empty_row));
        return false;
    }
    return true;
}

// Reads and computes the dialog's buffers, showing the result; false (with the message) when
// there is no calibration to keep.
bool Compute(HWND dialog, DialogState& state, std::vector<CalibrationBuffer>& buffers, Calibration& c) {
    if (!SyncIn(dialog, state.table, true) || !CollectBuffers(dialog, state, buffers)) return false;
    c = calibrate(buffers.data(), static_cast<int>(buffers.size()));
    if (c.status == CALIBRATION_SAME_PH) Refuse(dialog, ResourceString(IDS_CAL_SAME_PH), IDC_CAL_PH1);
    if (c.status == CALIBRATION_NO_SLOPE) Refuse(dialog, ResourceString(IDS_CAL_NO_SLOPE), IDC_CAL_MV1);
    SetDlgItemTextA(dialog, IDC_CAL_RESULT, c.ok() ? CalibrationResultText(c, use_comma).c_str() : "");
    return c.ok();
}

BOOL OnInitDialog(HWND dialog, DialogState* state) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    SyncOut(dialog, state->table, true);
    SetDlgItemTextA(dialog, IDC_CAL_RESULT, state->stored_text.c_str());
    return TRUE;
}

// A calibration with a warning is kept when the user says so; a "no" returns to the buffers.
void OnOk(HWND dialog, DialogState* state) {
    std::vector<CalibrationBuffer> buffers;
    Calibration c;
    if (!Compute(dialog, *state, buffers, c)) return;
    if (c.warnings &&
        MessageBoxA(dialog, FormatResource(IDS_CAL_KEEP_ANYWAY, CalibrationWarningText(c, use_comma).c_str()).c_str(),
                    ResourceString(IDS_CAPTION_CONFIRM).c_str(), MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    EndDialog(dialog, IDOK);
}

void OnCommand(HWND dialog, int id) {
    DialogState* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    std::vector<CalibrationBuffer> buffers;
    Calibration c;
    switch (id) {
    case IDOK:
        OnOk(dialog, state);
        break;
    case IDCANCEL:
        EndDialog(dialog, id);
        break;
    case IDC_CAL_COMPUTE:
        Compute(dialog, *state, buffers, c);
        break;
    }
}

INT_PTR CALLBACK CalibrationDlgProc(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<DialogState*>(lparam));
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wparam));
        return TRUE;
    }
    return FALSE;
}

std::vector<CalibrationBuffer> StoredBuffers() {
    std::vector<CalibrationBuffer> buffers;
    ReadCalibrationBuffers(calibration_buffers, buffers);
    return buffers;
}

std::string Now() {
    char text[CALIBRATION_DATE_SIZE];
    const std::time_t now = std::time(nullptr);
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", std::localtime(&now));
    return text;
}

}  // namespace

void ShowCalibration() {
    DialogState state;
    for (auto& row : state.values)
        for (double& value : row) value = NAN;
    const std::vector<CalibrationBuffer> stored = StoredBuffers();
    for (size_t row = 0; row < stored.size(); ++row) {
        state.values[row][FIELD_PH] = stored[row].ph;
        state.values[row][FIELD_MV] = stored[row].mv;
        state.values[row][FIELD_T] = stored[row].celsius;
    }
    if (const std::optional<Calibration> c = ReadCalibration(calibration_buffers))
        state.stored_text = FormatResource(IDS_CAL_STORED, calibration_date, CalibrationResultText(*c, use_comma).c_str());
    // Row by row, so that the first bad field in reading order is the one named.
    tag_CTL_SYNC table[MAX_BUFFERS * FIELDS + 1];
    tag_CTL_SYNC* at = table;
    for (int row = 0; row < MAX_BUFFERS; ++row)
        for (int f = 0; f < FIELDS; ++f) {
            std::string& error = state.errors[row][f];
            error = f == FIELD_T ? FormatResource(IDS_CAL_BAD_TEMPERATURE, row + 1)
                                 : FormatResource(IDS_CAL_BAD_NUMBER, row + 1, ResourceString(FIELD_NAME[f]).c_str());
            *at++ = {SYNC_CUSTOM, OptionalDoubleSyncProc, FIRST_ID[f] + row, &state.values[row][f], 0, error.c_str(), nullptr,
                     f == FIELD_T ? TemperatureValid : nullptr};
        }
    *at = {SYNC_END, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr};
    state.table = table;
    if (DialogBoxParamA(main_window.instance, MAKEINTRESOURCEA(IDD_CALIBRATION), main_window.dialog, CalibrationDlgProc,
                        reinterpret_cast<LPARAM>(&state)) != IDOK)
        return;
    std::vector<CalibrationBuffer> buffers;
    for (const auto& v : state.values)
        if (!std::isnan(v[FIELD_PH])) buffers.push_back({v[FIELD_PH], v[FIELD_MV], v[FIELD_T]});
    std::snprintf(calibration_buffers, sizeof calibration_buffers, "%s", CalibrationBuffersText(buffers).c_str());
    std::snprintf(calibration_date, sizeof calibration_date, "%s", Now().c_str());
}
