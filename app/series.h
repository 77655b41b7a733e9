// The series window: replicate determinations from .tid files and the open document, their
// statistics, and the titer of a titer series as the default determination's.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "core/series.h"

// Opens the series window (command IDM_SERIES), modal and resizable. The series stays while
// the program runs, so that it can be opened again.
void ShowSeries();
// The rows of the series, as the window shows them.
extern std::vector<SeriesEntry> series_entries;
// Evaluates the files and adds them to the series.
void AddSeriesFiles(const std::vector<std::string>& paths);
