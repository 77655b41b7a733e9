// Table-driven binding of dialog controls to program variables: fill the controls when the
// dialog opens, check every field on OK, and store all of them only when all are valid.
#pragma once
#include <windows.h>

enum {
    SYNC_END = -1,
    SYNC_STR_EDIT = 1,   // data: char[param]
    SYNC_INT_EDIT = 2,   // data: int
    SYNC_CHECKBOX = 3,   // data: int, 0 unchecked, 1 checked, 2 indeterminate
    SYNC_CUSTOM = 100,   // data: whatever `proc` binds
};

enum {
    SYNC_OP_OUT = 1,  // show the variable in the control
    SYNC_OP_TRY = 2,  // check the control's content, store nothing
    SYNC_OP_IN = 3,   // store the control's content into the variable
};

struct tag_CTL_SYNC;

typedef bool (*SYNC_PROC)(unsigned op, HWND ctl, tag_CTL_SYNC* row);
// `value`: a temporary string for string edits, the integer itself for integer edits, a
// temporary ext_float* for ExtFloatSyncProc. True accepts it.
typedef bool (*SYNC_VALIDATOR)(unsigned id, void* value);

struct tag_CTL_SYNC {
    int type;
    SYNC_PROC proc;            // SYNC_CUSTOM only
    int id;                    // dialog item; also the validator's first argument
    void* data;
    int param;                 // string edit: buffer size, NUL included; ExtFloatSyncProc: decimals
    const char* in_error;      // shown when the check on OK fails
    const char* out_error;     // shown when the control cannot be filled
    SYNC_VALIDATOR validator;  // null accepts every value that parsed
};
typedef tag_CTL_SYNC CTL_SYNC;

// The procedure serving a row; null for a type without one.
SYNC_PROC GetSyncProc(const tag_CTL_SYNC* row);

// A null table binds nothing.
// Fills every control; false when a failure was reported.
bool SyncOut(HWND dialog, tag_CTL_SYNC* table, bool show_errors);
// Checks the controls in table order and stops at the first unacceptable one (reporting it
// and focusing it when `show_errors`); changes no variable.
bool TrySyncIn(HWND dialog, tag_CTL_SYNC* table, bool show_errors);
// TrySyncIn, then stores every control; true when the variables were stored.
bool SyncIn(HWND dialog, tag_CTL_SYNC* table, bool show_errors);

bool StrEditSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row);
bool IntEditSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row);
bool CheckboxSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row);
// A drop-down list bound to an int, the index of the chosen item; no choice is refused.
bool ComboSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row);
// An edit bound to an ext_float, shown with `param` decimals and the current use_comma.
bool ExtFloatSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row);
// A colour selector ("VexClrSel") bound to a COLORREF.
bool ClrSyncProc(unsigned op, HWND ctl, tag_CTL_SYNC* row);

// Dialog procedures; the LPARAM of WM_INITDIALOG is the table.
INT_PTR CALLBACK SyncedDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SyncedOutDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// An editable modal dialog: true when confirmed with OK and every value was stored.
bool SyncedDlg(HINSTANCE instance, LPCSTR dlg_template, HWND parent, tag_CTL_SYNC* table);
// A display-only modal dialog: true when closed with OK; nothing is read back.
bool SyncedOutDlg(HINSTANCE instance, LPCSTR dlg_template, HWND parent, tag_CTL_SYNC* table);
