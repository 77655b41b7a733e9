// The series of replicate determinations as a table: for the clipboard (TAB text), as CSV
// (the conventions of the CSV export) and as an HTML page (windows-1250, as the report).
#pragma once
#include <string>
#include <vector>

#include "core/safe_write.h"
#include "core/series.h"

// The table's cells, a header row first: file, sample, V/ml, result, unit, counted, note.
// `exact`: numbers as the shortest texts that read back the same (else as the window shows
// them, V with `volume_decimals`).
std::vector<std::vector<std::string>> SeriesCells(const std::vector<SeriesEntry>& entries, const SeriesSummary& summary,
                                                  bool exact, bool comma, int volume_decimals);
// Rows of "name, value" after the table: n, mean, s, RSD, CI, the outlier.
std::vector<std::vector<std::string>> SeriesStatisticsCells(const std::vector<SeriesEntry>& entries,
                                                            const SeriesSummary& summary, bool comma);
// The table and the statistics as TAB-separated lines ending in CR LF.
std::string SeriesTabText(const std::vector<SeriesEntry>& entries, const SeriesSummary& summary, bool comma,
                          int volume_decimals);
bool ExportSeriesCsv(const std::vector<SeriesEntry>& entries, const SeriesSummary& summary, const char* file_name,
                     WriteFailure* failure = nullptr);
bool ExportSeriesHtml(const std::vector<SeriesEntry>& entries, const SeriesSummary& summary, const char* file_name,
                      const char* title, int volume_decimals, WriteFailure* failure = nullptr);
