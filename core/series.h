// A series of replicate determinations: each file evaluated with its own determination, the
// rows that can be counted together, and their statistics.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/determination.h"
#include "core/statistics.h"

struct SeriesEntry {
    std::string name;  // as the table shows it
    std::string path;  // empty for a document that has no file
    bool readable = false;
    std::optional<Determination> determination;
    DeterminationResult result;
    Quantity quantity = Quantity::mv;  // names a set value in the row's note
    bool included = true;  // the user's check box
};

// Why a row takes no part, or that it does.
enum class EntryState { counted, excluded, unreadable, no_determination, no_result, mixed };

struct SeriesSummary {
    std::vector<EntryState> states;      // one a row
    std::vector<std::size_t> counted;    // the rows in the statistics, in table order
    SeriesStatistics statistics;         // of the counted rows' results
    std::size_t outlier_row = SeriesStatistics::NO_OUTLIER;  // a row index
    std::optional<Determination> reference;  // the first usable row's: the series' kind and unit
    Quantity reference_quantity = Quantity::mv;
};

// Reads the file and evaluates it under the given recognition settings with the determination
// stored in it.
SeriesEntry EvaluateSeriesFile(const std::string& path, const std::string& name, int recognition, int min_steepness);
// The first usable included row sets the kind and the unit; a usable row of another kind or
// unit is `mixed`. Excluded rows keep their reason when they have one.
SeriesSummary SummarizeSeries(const std::vector<SeriesEntry>& entries);
// The row's note: the reason it takes no part, or empty.
std::string EntryNote(const SeriesEntry& entry, EntryState state);
// "10 ml" or "0,2503 g"; empty without a determination.
std::string SampleText(const SeriesEntry& entry, bool comma);
// The statistics in the reference's decimals: mean and half-width with them, s one more,
// RSD two; a statistic the series cannot give is "—".
struct StatisticsTexts {
    std::string n, mean, s, rsd, ci95, unit;
};
StatisticsTexts FormatStatistics(const SeriesSummary& summary, bool comma);
