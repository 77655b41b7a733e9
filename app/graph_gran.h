// The graph window's Gran view and the Gran rows of its options dialog.
#pragma once

#include <string>

#include "graph/ograph.h"
#include "settings/syncdlg.h"

// Puts the Gran plot of the program's document into `graph`: the points (V, F) labelled with
// their volumes, the least-squares line over the range, the end point marked with its value and
// standard error in the note; a message instead of a plot when the document is in mV or has no
// V0. The texts live here until the next call.
void AddGranView(OrtogonalGraph& graph);
// Clears what AddGranView set, for the other views.
void ClearGranView(OrtogonalGraph& graph);

// The dialog's rows for the Gran options (function, range, temperature), bound to a copy of
// gran_options; Store puts the copy back after a confirmed dialog.
class GranOptionRows {
    int function;
    double from, to, celsius;
    std::string range_error, celsius_error;

public:
    GranOptionRows();
    tag_CTL_SYNC rows[4];
    void Store() const;
};
