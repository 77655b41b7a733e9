#include "settings/syncdlg.h"

#include <cassert>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "controls/ClrSel.h"
#include "core/calc.h"
#include "core/ext_float.h"

namespace {

// Numbers typed into an edit are read from at most this many characters.
constexpr int NUMBER_TEXT = 255;

// Number of bytes of the UTF-8 character that starts with `lead` (1 for a stray byte).
int Utf8Length(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Reads the control's text into `buffer` (at most size - 1 bytes plus the NUL). Under the
// UTF-8 code page a character that the limit cut in two is dropped whole, so the variable
// never ends in half a character.
void ReadText(HWND ctl, char* buffer, int size) {
    if (size <= 0) return;
    buffer[0] = '\0';
    GetWindowTextA(ctl, buffer, size);
    if (GetACP() != CP_UTF8) return;
    const size_t length = std::strlen(buffer);
    size_t lead = length;
    while (lead > 0 && length - lead < 3 &&
           (static_cast<unsigned char>(buffer[lead - 1]) & 0xC0) == 0x80)
        --lead;
    if (lead == 0) return;
    --lead;
    const unsigned char first = static_cast<unsigned char>(buffer[lead]);
    if (first >= 0xC0 && lead + Utf8Length(first) > length) buffer[lead] = '\0';
}

// The integer at the start of `text` after white space, as "%d" reads it; false when there is
// none or it does not fit an int.
bool ParseInt(const char* text, int* value) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (end == text || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    *value = static_cast<int>(v);
    return true;
}

// Captioned as the dialog is, in the program's language.
void ShowSyncError(HWND dialog, const char* text) {
    char caption[256] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    MessageBoxA(dialog, text, caption, MB_OK | MB_ICONERROR);
}

// A control that takes its value by message `SET` and gives it by `GET`; any value is valid.
template <class T, UINT SET, UINT GET>
bool MessageSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    T* data = static_cast<T*>(row->data);
    switch (op) {
    case SYNC_OP_OUT:
        if (!ctl) return false;
        SendMessageA(ctl, SET, static_cast<WPARAM>(*data), 0);
        return true;
    case SYNC_OP_TRY:
        return ctl != nullptr;
    case SYNC_OP_IN:
        if (!ctl) return false;
        *data = static_cast<T>(SendMessageA(ctl, GET, 0, 0));
        return true;
    default:
        return true;
    }
}

} // namespace

SYNC_PROC GetSyncProc(const tag_CTL_SYNC* row) {
    switch (row->type) {
    case SYNC_STR_EDIT: return StrEditSyncProc;
    case SYNC_INT_EDIT: return IntEditSyncProc;
    case SYNC_CHECKBOX: return CheckboxSyncProc;
    case SYNC_CUSTOM: return row->proc;
    default: return nullptr;
    }
}

bool SyncOut(HWND dialog, tag_CTL_SYNC* table, bool show_errors) {
    bool result = true;
    if (!table) return result;
    for (tag_CTL_SYNC* row = table; row->type != SYNC_END; ++row) {
        const SYNC_PROC proc = GetSyncProc(row);
        assert(proc && "binding row without a sync procedure");
        if (!proc) continue;
        if (proc(SYNC_OP_OUT, GetDlgItem(dialog, row->id), row)) continue;
        if (show_errors && row->out_error) {
            ShowSyncError(dialog, row->out_error);
            result = false;
        }
    }
    return result;
}

bool TrySyncIn(HWND dialog, tag_CTL_SYNC* table, bool show_errors) {
    if (!table) return true;
    for (tag_CTL_SYNC* row = table; row->type != SYNC_END; ++row) {
        const SYNC_PROC proc = GetSyncProc(row);
        assert(proc && "binding row without a sync procedure");
        if (!proc) continue;
        const HWND ctl = GetDlgItem(dialog, row->id);
        if (proc(SYNC_OP_TRY, ctl, row)) continue;
        if (show_errors && row->in_error) {
            ShowSyncError(dialog, row->in_error);
            // Through the dialog manager, so the default button follows and an edit's text
            // is selected for retyping.
            if (ctl) SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ctl), TRUE);
        }
        return false;
    }
    return true;
}

bool SyncIn(HWND dialog, tag_CTL_SYNC* table, bool show_errors) {
    if (!TrySyncIn(dialog, table, show_errors)) return false;
    if (!table) return true;
    for (tag_CTL_SYNC* row = table; row->type != SYNC_END; ++row) {
        const SYNC_PROC proc = GetSyncProc(row);
        assert(proc && "binding row without a sync procedure");
        if (!proc) continue;
        const bool stored = proc(SYNC_OP_IN, GetDlgItem(dialog, row->id), row);
        assert(stored && "a checked control failed to store");
        (void)stored;
    }
    return true;
}

bool StrEditSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    char* data = static_cast<char*>(row->data);
    switch (op) {
    case SYNC_OP_OUT:
        // A buffer without its NUL cannot be shown safely.
        if (!ctl || row->param <= 0 || !std::memchr(data, '\0', row->param)) return false;
        return SetWindowTextA(ctl, data) != 0;
    case SYNC_OP_TRY: {
        if (!ctl || row->param <= 0) return false;
        if (!row->validator) return true;
        char* buffer = static_cast<char*>(std::malloc(row->param));
        if (!buffer) return false;
        ReadText(ctl, buffer, row->param);
        const bool ok = row->validator(row->id, buffer);
        std::free(buffer);
        return ok;
    }
    case SYNC_OP_IN:
        if (!ctl || row->param <= 0) return false;
        ReadText(ctl, data, row->param);
        return true;
    default:
        return true;
    }
}

namespace {

// The end of an int row's check or store, once the control's value has been read.
bool StoreOrCheckInt(unsigned op, tag_CTL_SYNC* row, int value) {
    if (op == SYNC_OP_IN) {
        *static_cast<int*>(row->data) = value;
        return true;
    }
    return !row->validator || row->validator(row->id, reinterpret_cast<void*>(static_cast<INT_PTR>(value)));
}

} // namespace

bool IntEditSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    int* data = static_cast<int*>(row->data);
    switch (op) {
    case SYNC_OP_OUT: {
        if (!ctl) return false;
        char text[16];
        wsprintfA(text, "%d", *data);
        return SetWindowTextA(ctl, text) != 0;
    }
    case SYNC_OP_TRY:
    case SYNC_OP_IN: {
        if (!ctl) return false;
        char text[NUMBER_TEXT];
        ReadText(ctl, text, sizeof text);
        int value;
        if (!ParseInt(text, &value)) return false;
        return StoreOrCheckInt(op, row, value);
    }
    default:
        return true;
    }
}

bool CheckboxSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    return MessageSyncProc<int, BM_SETCHECK, BM_GETCHECK>(op, ctl, row);
}

bool ComboSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    int* data = static_cast<int*>(row->data);
    if (!ctl) return false;
    switch (op) {
    case SYNC_OP_OUT:
        return SendMessageA(ctl, CB_SETCURSEL, static_cast<WPARAM>(*data), 0) == *data;
    case SYNC_OP_TRY:
    case SYNC_OP_IN: {
        const int chosen = static_cast<int>(SendMessageA(ctl, CB_GETCURSEL, 0, 0));
        if (chosen == CB_ERR) return false;
        return StoreOrCheckInt(op, row, chosen);
    }
    default:
        return true;
    }
}

bool ExtFloatSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    ext_float* data = static_cast<ext_float*>(row->data);
    switch (op) {
    case SYNC_OP_OUT: {
        if (!ctl) return false;
        char text[EXT_FLOAT_TEXT];
        data->format(text, 0, row->param, use_comma);
        return SetWindowTextA(ctl, text) != 0;
    }
    case SYNC_OP_TRY: {
        if (!ctl) return false;
        char text[NUMBER_TEXT];
        ReadText(ctl, text, sizeof text);
        ext_float value;
        if (!value.parse(text)) return false;
        return !row->validator || row->validator(row->id, &value);
    }
    case SYNC_OP_IN: {
        if (!ctl) return false;
        char text[NUMBER_TEXT];
        ReadText(ctl, text, sizeof text);
        data->parse(text);
        return true;
    }
    default:
        return true;
    }
}

bool ClrSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row) {
    return MessageSyncProc<COLORREF, CLRSEL_SETCOLOR, CLRSEL_GETCOLOR>(op, ctl, row);
}

namespace {

tag_CTL_SYNC* DialogTable(HWND dialog) {
    return reinterpret_cast<tag_CTL_SYNC*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

BOOL OnInitDialog(HWND dialog, LPARAM table) {
    SetWindowLongPtrA(dialog, DWLP_USER, table);
    SyncOut(dialog, reinterpret_cast<tag_CTL_SYNC*>(table), true);
    return TRUE;  // the dialog manager sets the default focus
}

void OnCommand(HWND dialog, unsigned id) {
    switch (id) {
    case IDOK:
        if (SyncIn(dialog, DialogTable(dialog), true)) EndDialog(dialog, IDOK);
        break;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        break;
    default:
        break;
    }
}

void OnOutCommand(HWND dialog, unsigned id) {
    if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
}

} // namespace

INT_PTR CALLBACK SyncedDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, lParam);
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK SyncedOutDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, lParam);
    case WM_COMMAND:
        OnOutCommand(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

bool SyncedDlg(HINSTANCE instance, LPCSTR dlg_template, HWND parent, tag_CTL_SYNC* table) {
    return DialogBoxParamA(instance, dlg_template, parent, SyncedDlgProc,
                           reinterpret_cast<LPARAM>(table)) == IDOK;
}

bool SyncedOutDlg(HINSTANCE instance, LPCSTR dlg_template, HWND parent, tag_CTL_SYNC* table) {
    return DialogBoxParamA(instance, dlg_template, parent, SyncedOutDlgProc,
                           reinterpret_cast<LPARAM>(table)) == IDOK;
}
