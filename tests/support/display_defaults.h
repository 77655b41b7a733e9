// Puts the display and recognition settings back to the program's defaults, so that a test does not depend
// on what an earlier one chose. Portable: the native report tests use it too.
#pragma once
#include "core/calc.h"
inline void RestoreDisplayDefaults() {
    use_comma = true, vb_precis = 3, e_precis = de_precis = d2e_precis = res_precis = graph_precis = 4;
    recognition = RECOGNIZE_ALL, min_steepness = 10;
}
