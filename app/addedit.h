// The point entry dialog (template 107), shared by "Přidat..." and "Upravit...".
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/ext_float.h"

// The dialog's parameter block, kept in its DWLP_USER slot.
struct ADDEDIT_STRUCT {
    ext_float_pair* pair;  // shown when editing; receives the accepted values
    int32_t edit;          // 0 adding, 1 editing
    int32_t ph;            // 1 when E is a pH: the field's picture says so
};

// Run the dialog owned by the main window; true when closed with OK, and then `pair` holds the point.
// A Vb already present in arr_vb is accepted only after the user agreed to replace it.
// Editing, a field whose text the user left as shown keeps the exact value of `pair`, and OK
// with neither field changed returns false with `pair` untouched.
bool Add(ext_float_pair& pair);
bool Edit(ext_float_pair& pair);

INT_PTR CALLBACK AddEditDlgProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam);

// Characters the user can type into each field.
constexpr int ADDEDIT_FIELD_LIMIT = 24;
