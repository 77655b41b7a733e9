// The point entry dialog.
#include "app/addedit.h"

#include <cstring>

#include "app/main_window.h"
#include "core/calc.h"
#include "resources/resource.h"

namespace {

ADDEDIT_STRUCT* GetParams(HWND dlg) {
    return reinterpret_cast<ADDEDIT_STRUCT*>(GetWindowLongPtrA(dlg, DWLP_USER));
}

void FocusField(HWND dlg, int id) {
    SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, id)), TRUE);
}

// The text a field of an edited point starts with: the value as the list shows it.
void ShownText(const ext_float& value, int precision, char (&text)[EXT_FLOAT_TEXT]) {
    value.format(text, 0, precision, use_comma);
}

// True when the field still holds the text the dialog put there for `value`. That text is
// rounded to the display precision, so such a field keeps `value` instead of being read.
bool Untouched(HWND dlg, int id, const ext_float& value, int precision) {
    char shown[EXT_FLOAT_TEXT], text[EXT_FLOAT_TEXT];
    ShownText(value, precision, shown);
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return std::strcmp(text, shown) == 0;
}

// Reads a field as a number; on failure tells the user and puts the focus into the field.
bool ReadField(HWND dlg, int id, const char* error, ext_float& value) {
    // The whole text is read: the field may hold a display form longer than the typing limit.
    char text[EXT_FLOAT_TEXT];
    GetDlgItemTextA(dlg, id, text, sizeof text);
    if (value.parse(text)) return true;
    MessageBoxA(dlg, error, ResourceString(IDS_CAPTION_ERROR).c_str(), MB_OK | MB_ICONERROR);
    FocusField(dlg, id);
    return false;
}

void OnInitDialog(HWND dlg, ADDEDIT_STRUCT* params) {
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(params));
    SendDlgItemMessageA(dlg, IDC_VB, EM_LIMITTEXT, ADDEDIT_FIELD_LIMIT, 0);
    SendDlgItemMessageA(dlg, IDC_E, EM_LIMITTEXT, ADDEDIT_FIELD_LIMIT, 0);
    if (params->ph) {
        const HICON ph = LoadIconA(main_window.instance, MAKEINTRESOURCEA(IDI_E_PH));
        SendDlgItemMessageA(dlg, IDC_E_ICON, STM_SETICON, reinterpret_cast<WPARAM>(ph), 0);
    }
    if (params->edit) {
        char text[EXT_FLOAT_TEXT];
        ShownText(params->pair->vb, vb_precis, text);
        SetDlgItemTextA(dlg, IDC_VB, text);
        ShownText(params->pair->e, e_precis, text);
        SetDlgItemTextA(dlg, IDC_E, text);
        SetWindowTextA(dlg, ResourceString(IDS_CAPTION_EDIT).c_str());
    } else {
        SetWindowTextA(dlg, ResourceString(IDS_CAPTION_ADD).c_str());
    }
}

void OnOK(HWND dlg) {
    ADDEDIT_STRUCT* params = GetParams(dlg);
    ext_float vb = params->pair->vb, e = params->pair->e;
    const bool keep_vb = params->edit && Untouched(dlg, IDC_VB, vb, vb_precis);
    const bool keep_e = params->edit && Untouched(dlg, IDC_E, e, e_precis);
    if (keep_vb && keep_e) {
        // Nothing was changed: the caller keeps the point as after Storno.
        EndDialog(dlg, IDCANCEL);
        return;
    }
    if (!keep_vb && !ReadField(dlg, IDC_VB, ResourceString(IDS_BAD_VB).c_str(), vb)) return;
    if (!keep_e && !ReadField(dlg, IDC_E, ResourceString(IDS_BAD_E).c_str(), e)) return;
    if (main_window.document.Find(vb) >= 0 &&
        MessageBoxA(dlg, ResourceString(IDS_DUPLICATE_VB).c_str(), ResourceString(IDS_CAPTION_QUESTION).c_str(),
                    MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    params->pair->vb = vb;
    params->pair->e = e;
    EndDialog(dlg, IDOK);
}

void OnCommand(HWND dlg, int id) {
    switch (id) {
    case IDOK:
        OnOK(dlg);
        break;
    case IDCANCEL:
        EndDialog(dlg, IDCANCEL);
        break;
    }
}

bool RunDialog(ext_float_pair& pair, bool edit) {
    ADDEDIT_STRUCT params = {&pair, edit ? 1 : 0, main_window.document.quantity == Quantity::ph ? 1 : 0};
    return DialogBoxParamA(main_window.instance, MAKEINTRESOURCEA(IDD_ADDEDIT), main_window.dialog, AddEditDlgProc,
                           reinterpret_cast<LPARAM>(&params)) == IDOK;
}

}  // namespace

INT_PTR CALLBACK AddEditDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(dlg, reinterpret_cast<ADDEDIT_STRUCT*>(lparam));
        return TRUE;
    case WM_COMMAND:
        OnCommand(dlg, LOWORD(wparam));
        return TRUE;
    }
    return FALSE;
}

bool Add(ext_float_pair& pair) {
    return RunDialog(pair, false);
}

bool Edit(ext_float_pair& pair) {
    return RunDialog(pair, true);
}
