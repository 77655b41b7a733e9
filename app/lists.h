// The measurement list and the result list of the main window. Both are virtual lists: they
// hold only the number of rows and the selection, and ask for each visible cell's text, so a
// refill costs the same for ten points as for a hundred thousand. They show the window's
// document as it was last evaluated; commands that change it evaluate it first.
//
// Rows of the measurement list for n points: point row i is row 2i, and between points i and
// i + 1 stands the in-between row 2i + 1, which shows only their first difference E'.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/main_window.h"

HFONT CreateSizedFont(int height);
void InitListView(MainWindow& window);
// Shows the document; nothing stays selected in the measurement list, and the first result is
// selected. The result list holds the inflections, then a row for each set value of the
// determination; the headers name the document's quantity.
void StuffListView(MainWindow& window);
// The result list's width: `narrowest`, more where a set value's row needs more.
int ResultsPaneWidth(const MainWindow& window, int narrowest);
void SelectListItem(MainWindow& window, int index);  // focuses and selects the row of point `index`
int GetSelectedPoint(MainWindow& window);  // index of the selected point, -1 for none
int GetSelectedRow(MainWindow& window, HWND list);  // -1 for none
std::vector<int> GetSelectedPoints(MainWindow& window);  // indexes of the selected points, ascending
// Widens the measurement list's columns to the widest text of the rows in view and the
// largest point number; a column the user has sized keeps its width for the session.
void FitColumns(MainWindow& window);

// Posted to the main window when the measurement list selected a range of rows; its handler
// OnRangeSelected takes the in-between rows out of it.
constexpr UINT WM_RANGE_SELECTED = WM_APP + 23;
void OnRangeSelected(MainWindow& window);

// Notifications of either list; the value is the dialog's message result. A double click asks
// the main window for the command (Upravit, Detaily) by WM_COMMAND; a context menu is enabled
// by the main window's WM_INITMENUPOPUP.
LRESULT OnListNotify(MainWindow& window, NMHDR* hdr);
