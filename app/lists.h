// The measurement list and the result list of the main window. Both are virtual lists: they
// hold only the number of rows and the selection, and ask for each visible cell's text, so a
// refill costs the same for ten points as for a hundred thousand.
//
// Rows of the measurement list for n points: point row i is row 2i, and between points i and
// i + 1 stands the in-between row 2i + 1, which shows only their first difference E'.
#pragma once
#include <windows.h>
#include <commctrl.h>

HFONT CreateSizedFont(int height);
void InitListView();
// Re-evaluates the document and shows it; nothing stays selected in the measurement list,
// and the first result is selected.
void StuffListView();
void SelectListItem(int index);  // focuses and selects the row of point `index`
int GetSelectedPoint();          // index into arr_vb of the selected point row, -1 for none
int GetSelectedRow(HWND list);   // -1 for none

// Notifications of either list; the value is the dialog's message result.
LRESULT OnListNotify(NMHDR* hdr);

void HandleCommandsEnable1(HMENU menu);
void HandleCommandsEnable2(HMENU menu);
void HandleCommandsEnable();
