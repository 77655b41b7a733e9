// Which commands of the main window's menu, toolbar and context menus can run now: those on a
// point need a selected point row, those on a result a selected result, the graph three points
// and the file commands one.
#pragma once
#include <windows.h>

#include "app/main_window.h"

// Enables the commands in `menu` (the menu bar or a context menu; ids it lacks are left alone)
// and the toolbar's buttons.
void EnableCommands(const MainWindow& window, HMENU menu);
// The same for the main window's own menu.
void EnableCommands(const MainWindow& window);
