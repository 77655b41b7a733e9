// The determination dialog, the result in the status bar and the remembered default.
#include "app/determination.h"

#include <cstdio>
#include <cstring>

#include "app/Titrionika.h"
#include "core/calc.h"
#include "core/determination_text.h"
#include "resources/resource.h"
#include "settings/config.h"
#include "settings/syncdlg.h"

namespace {

constexpr int NAME_SIZE = 128;
constexpr int POINT_TEXT = 64;
// A double's row: an empty edit means 0 where the row's param is ALLOW_EMPTY.
constexpr int ALLOW_EMPTY = 1;

std::string ControlText(HWND ctl) {
    char text[256] = "";
    GetWindowTextA(ctl, text, sizeof text);
    return text;
}

bool ReadDouble(HWND ctl, const tag_CTL_SYNC* row, double& value) {
    const std::string text = ControlText(ctl);
    if (row->param == ALLOW_EMPTY && text.find_first_not_of(" ") == std::string::npos) {
        value = 0.0;
        return true;
    }
    ext_float parsed;
    if (!parsed.parse(text.c_str()) || parsed.undefined) return false;
    value = parsed.value;
    return true;
}

// An edit bound to a double, shown as the shortest text that reads back the same.
bool DoubleSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    double* data = static_cast<double*>(row->data);
    if (!ctl) return false;
    double value = 0.0;
    switch (op) {
    case SYNC_OP_OUT:
        return SetWindowTextA(ctl, row->param == ALLOW_EMPTY && *data == 0.0 ? "" : ExactText(*data, use_comma).c_str()) != 0;
    case SYNC_OP_TRY:
        return ReadDouble(ctl, row, value) && (!row->validator || row->validator(row->id, &value));
    case SYNC_OP_IN:
        ReadDouble(ctl, row, value);
        *data = value;
        return true;
    default:
        return true;
    }
}

bool RatioSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    double* data = static_cast<double*>(row->data);
    if (!ctl) return false;
    double value = 0.0;
    switch (op) {
    case SYNC_OP_OUT: {
        std::string text = RatioText(*data);
        if (!use_comma)
            for (char& c : text)
                if (c == ',') c = '.';
        return SetWindowTextA(ctl, text.c_str()) != 0;
    }
    case SYNC_OP_TRY:
        return ParseRatio(ControlText(ctl), value) && value > 0.0;
    case SYNC_OP_IN:
        ParseRatio(ControlText(ctl), *data);
        return true;
    default:
        return true;
    }
}

// The set values as "8,3; 4,5"; an empty edit is none.
bool SetValuesSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    auto* data = static_cast<std::vector<double>*>(row->data);
    if (!ctl) return false;
    std::vector<double> values;
    switch (op) {
    case SYNC_OP_OUT:
        return SetWindowTextA(ctl, SetValuesText(*data).c_str()) != 0;
    case SYNC_OP_TRY:
        return ParseSetValues(ControlText(ctl), values);
    case SYNC_OP_IN:
        ParseSetValues(ControlText(ctl), *data);
        return true;
    default:
        return true;
    }
}

// The equivalence point in a drop-down that also takes a typed choice such as "2. − 1.", a set
// value ("pH 8,3") or "Gran"; `param` is the document's quantity, which names a set value.
bool PointSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    EquivalencePointChoice* data = static_cast<EquivalencePointChoice*>(row->data);
    if (!ctl) return false;
    EquivalencePointChoice choice;
    switch (op) {
    case SYNC_OP_OUT:
        for (const char* item : {"1.", "2.", "3.", "poslední", "2. − 1.", "3. − 2."})
            SendMessageA(ctl, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        return SetWindowTextA(ctl, EquivalencePointText(*data, static_cast<Quantity>(row->param)).c_str()) != 0;
    case SYNC_OP_TRY: {
        if (!ParseEquivalencePoint(ControlText(ctl), choice)) return false;
        Determination check;  // the choice alone, in otherwise valid numbers
        check.concentration = check.molar_mass = check.sample = 1.0;
        check.point = choice;
        return ValidateDetermination(check) != DeterminationField::equivalence_point;
    }
    case SYNC_OP_IN:
        ParseEquivalencePoint(ControlText(ctl), *data);
        return true;
    default:
        return true;
    }
}

// A new quantity is a change of the document.
void SetQuantity(Document& doc, Quantity quantity) {
    if (doc.quantity == quantity) return;
    doc.quantity = quantity;
    doc.changed = true;
}

bool Positive(unsigned /*id*/, void* value) { return *static_cast<double*>(value) > 0.0; }
bool NotNegative(unsigned /*id*/, void* value) { return *static_cast<double*>(value) >= 0.0; }
bool DecimalsValid(unsigned /*id*/, void* value) {
    const int decimals = static_cast<int>(reinterpret_cast<INT_PTR>(value));
    return decimals >= 0 && decimals <= MAX_DECIMALS;
}

// What the dialog edits: the determination and its radio buttons as check boxes.
struct DialogState {
    Determination d;
    char titrant[NAME_SIZE] = "";
    char analyte[NAME_SIZE] = "";
    int content = 1, titer = 0, volume = 1, mass = 0, unit = 0;
    int mv = 1, ph = 0;  // the document's quantity
    tag_CTL_SYNC* table = nullptr;
    std::string unit_error, standard_error;
};

// V0 is asked only of a weighed sample: a pipetted one's is its volume.
void ShowSampleUnit(HWND dialog) {
    const bool mass = IsDlgButtonChecked(dialog, IDC_DET_MASS) == BST_CHECKED;
    SetDlgItemTextA(dialog, IDC_DET_SAMPLE_UNIT, mass ? "g" : "ml");
    EnableWindow(GetDlgItem(dialog, IDC_DET_V0), mass);
}

BOOL OnInitDialog(HWND dialog, DialogState* state) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    const HWND units = GetDlgItem(dialog, IDC_DET_UNIT);
    for (int u = 0; u <= static_cast<int>(ResultUnit::mmol_per_g); ++u)
        SendMessageA(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(UnitText(static_cast<ResultUnit>(u))));
    SyncOut(dialog, state->table, true);
    ShowSampleUnit(dialog);
    if (*default_titer_date)
        SetDlgItemTextA(dialog, IDC_DET_TITER_DATE, FormatResource(IDS_DET_TITER_DATE, default_titer_date).c_str());
    return TRUE;
}

// The fields that only make sense together: the unit with the sample, a pipetted standard's
// concentration with a titer. Checked once every field has read.
void OnOk(HWND dialog, DialogState* state) {
    if (!SyncIn(dialog, state->table, true)) return;
    Determination& d = state->d;
    d.kind = state->titer ? DeterminationKind::titer : DeterminationKind::content;
    d.sample_kind = state->mass ? SampleKind::mass : SampleKind::volume;
    d.unit = static_cast<ResultUnit>(state->unit);
    d.titrant = state->titrant;
    d.analyte = state->analyte;
    const DeterminationField field = ValidateDetermination(d);
    if (field == DeterminationField::unit || field == DeterminationField::standard_concentration) {
        const bool unit = field == DeterminationField::unit;
        MessageBoxA(dialog, (unit ? state->unit_error : state->standard_error).c_str(), nullptr, MB_OK | MB_ICONERROR);
        SendMessageA(dialog, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetDlgItem(dialog, unit ? IDC_DET_UNIT : IDC_DET_STANDARD)), TRUE);
        return;
    }
    EndDialog(dialog, IDOK);
}

void OnCommand(HWND dialog, int id) {
    DialogState* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (id) {
    case IDOK:
        OnOk(dialog, state);
        break;
    case IDC_DET_NONE:
        // The quantity belongs to the document, so it is kept also without a determination.
        state->ph = IsDlgButtonChecked(dialog, IDC_DET_PH) == BST_CHECKED;
        EndDialog(dialog, id);
        break;
    case IDCANCEL:
        EndDialog(dialog, id);
        break;
    case IDC_DET_VOLUME:
    case IDC_DET_MASS:
        ShowSampleUnit(dialog);
        break;
    }
}

INT_PTR CALLBACK DeterminationDlgProc(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<DialogState*>(lparam));
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wparam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

std::optional<Determination> DefaultDetermination() {
    Determination d;
    if (!*default_determination || !ReadDeterminationOneLine(default_determination, d)) return std::nullopt;
    return d;
}

void RememberDetermination(const Determination& d) {
    std::snprintf(default_determination, sizeof default_determination, "%s", DeterminationOneLine(d).c_str());
}

bool ShowDetermination() {
    Document& doc = main_window.document;
    DialogState state;
    std::optional<Determination> start = doc.determination ? doc.determination : DefaultDetermination();
    if (start) state.d = *start;
    const Determination& d = state.d;
    std::snprintf(state.titrant, sizeof state.titrant, "%s", d.titrant.c_str());
    std::snprintf(state.analyte, sizeof state.analyte, "%s", d.analyte.c_str());
    state.titer = d.kind == DeterminationKind::titer;
    state.content = !state.titer;
    state.mass = d.sample_kind == SampleKind::mass;
    state.volume = !state.mass;
    state.unit = static_cast<int>(d.unit);
    state.ph = doc.quantity == Quantity::ph;
    state.mv = !state.ph;
    const std::string bad_c = ResourceString(IDS_DET_BAD_C), bad_titer = ResourceString(IDS_DET_BAD_TITER),
                      bad_m = ResourceString(IDS_DET_BAD_M), bad_z = ResourceString(IDS_DET_BAD_Z),
                      bad_point = ResourceString(IDS_DET_BAD_POINT), bad_blank = ResourceString(IDS_DET_BAD_BLANK),
                      bad_sample = ResourceString(IDS_DET_BAD_SAMPLE),
                      bad_decimals = ResourceString(IDS_DET_BAD_DECIMALS),
                      bad_set_values = ResourceString(IDS_DET_BAD_SET_VALUES), bad_v0 = ResourceString(IDS_DET_BAD_V0);
    state.unit_error = ResourceString(IDS_DET_BAD_UNIT);
    state.standard_error = ResourceString(IDS_DET_BAD_STANDARD);
    tag_CTL_SYNC table[] = {
        {SYNC_CHECKBOX, nullptr, IDC_DET_CONTENT, &state.content, 0, nullptr, nullptr, nullptr},
        {SYNC_CHECKBOX, nullptr, IDC_DET_TITER_KIND, &state.titer, 0, nullptr, nullptr, nullptr},
        {SYNC_STR_EDIT, nullptr, IDC_DET_TITRANT, state.titrant, NAME_SIZE, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, DoubleSyncProc, IDC_DET_C, &state.d.concentration, 0, bad_c.c_str(), nullptr, Positive},
        {SYNC_CUSTOM, DoubleSyncProc, IDC_DET_TITER, &state.d.titer, 0, bad_titer.c_str(), nullptr, Positive},
        {SYNC_STR_EDIT, nullptr, IDC_DET_ANALYTE, state.analyte, NAME_SIZE, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, DoubleSyncProc, IDC_DET_M, &state.d.molar_mass, 0, bad_m.c_str(), nullptr, Positive},
        {SYNC_CUSTOM, RatioSyncProc, IDC_DET_Z, &state.d.ratio, 0, bad_z.c_str(), nullptr, nullptr},
        {SYNC_CUSTOM, PointSyncProc, IDC_DET_POINT, &state.d.point, static_cast<int>(doc.quantity), bad_point.c_str(),
         nullptr, nullptr},
        {SYNC_CUSTOM, DoubleSyncProc, IDC_DET_BLANK, &state.d.blank, 0, bad_blank.c_str(), nullptr, NotNegative},
        {SYNC_CHECKBOX, nullptr, IDC_DET_VOLUME, &state.volume, 0, nullptr, nullptr, nullptr},
        {SYNC_CHECKBOX, nullptr, IDC_DET_MASS, &state.mass, 0, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, DoubleSyncProc, IDC_DET_SAMPLE, &state.d.sample, 0, bad_sample.c_str(), nullptr, Positive},
        {SYNC_CUSTOM, DoubleSyncProc, IDC_DET_STANDARD, &state.d.standard_concentration, ALLOW_EMPTY,
         state.standard_error.c_str(), nullptr, NotNegative},
        {SYNC_CUSTOM, ComboSyncProc, IDC_DET_UNIT, &state.unit, 0, nullptr, nullptr, nullptr},
        {SYNC_INT_EDIT, nullptr, IDC_DET_DECIMALS, &state.d.decimals, 0, bad_decimals.c_str(), nullptr, DecimalsValid},
        {SYNC_CHECKBOX, nullptr, IDC_DET_MV, &state.mv, 0, nullptr, nullptr, nullptr},
        {SYNC_CHECKBOX, nullptr, IDC_DET_PH, &state.ph, 0, nullptr, nullptr, nullptr},
        {SYNC_CUSTOM, SetValuesSyncProc, IDC_DET_SET_VALUES, &state.d.set_values, 0, bad_set_values.c_str(), nullptr,
         nullptr},
        {SYNC_CUSTOM, DoubleSyncProc, IDC_DET_V0, &state.d.initial_volume, ALLOW_EMPTY, bad_v0.c_str(), nullptr,
         NotNegative},
        {SYNC_END, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr},
    };
    state.table = table;
    const INT_PTR answer = DialogBoxParamA(main_window.instance, MAKEINTRESOURCEA(IDD_DETERMINATION), main_window.dialog,
                                           DeterminationDlgProc, reinterpret_cast<LPARAM>(&state));
    if (answer == IDC_DET_NONE || answer == IDOK) SetQuantity(doc, state.ph ? Quantity::ph : Quantity::mv);
    if (answer == IDC_DET_NONE) {
        if (doc.determination) doc.changed = true;
        doc.determination.reset();
        default_determination[0] = '\0';
        SetStatusText("");
        return true;
    }
    if (answer != IDOK) return false;
    if (!doc.determination || !(*doc.determination == state.d)) doc.changed = true;
    doc.determination = state.d;
    RememberDetermination(state.d);
    return true;
}

std::string ResultStatusText(const Document& doc) {
    if (!doc.determination) return "";
    const Determination& d = *doc.determination;
    const DeterminationResult r = doc.Result();
    const std::string name = ResultName(d);
    if (!r.ok())
        return FormatResource(IDS_DET_STATUS_NONE, name.c_str(), ProblemText(d, r, doc.quantity).c_str());
    char volume[EXT_FLOAT_TEXT];
    ext_float(r.volume).format(volume, 0, res_precis, use_comma);
    return FormatResource(IDS_DET_STATUS, name.c_str(), ResultValueText(d, r, use_comma).c_str(),
                          EquivalencePointText(d.point, doc.quantity).c_str(), volume);
}

void ShowResultStatus(MainWindow& window) {
    if (window.document.determination) SetStatusText(ResultStatusText(window.document).c_str());
}

std::string ResultCalculationText(const Document& doc) {
    if (!doc.determination) return "";
    return CalculationText(*doc.determination, doc.Result(), use_comma, doc.quantity);
}
