#include "core/series.h"

#include <cmath>

#include "core/determination_text.h"
#include "core/document.h"

SeriesEntry EvaluateSeriesFile(const std::string& path, const std::string& name, int recognition, int min_steepness) {
    SeriesEntry entry;
    entry.name = name;
    entry.path = path;
    Document doc;
    if (!doc.Read(path.c_str())) return entry;
    entry.readable = true;
    doc.Evaluate(recognition, min_steepness);
    entry.determination = doc.determination;
    entry.quantity = doc.quantity;
    if (doc.determination) entry.result = doc.Result();
    return entry;
}

namespace {

bool SameKindAndUnit(const Determination& a, const Determination& b) {
    if (a.kind != b.kind) return false;
    return a.kind == DeterminationKind::titer || a.unit == b.unit;
}

EntryState OwnState(const SeriesEntry& entry) {
    if (!entry.readable) return EntryState::unreadable;
    if (!entry.determination) return EntryState::no_determination;
    if (!entry.result.ok()) return EntryState::no_result;
    return EntryState::counted;
}

}  // namespace

SeriesSummary SummarizeSeries(const std::vector<SeriesEntry>& entries) {
    SeriesSummary summary;
    std::vector<double> values;
    for (const SeriesEntry& entry : entries) {
        EntryState state = OwnState(entry);
        if (state == EntryState::counted) {
            if (!summary.reference && entry.included) {
                summary.reference = entry.determination;
                summary.reference_quantity = entry.quantity;
            }
            if (summary.reference && !SameKindAndUnit(*summary.reference, *entry.determination))
                state = EntryState::mixed;
            else if (!entry.included)
                state = EntryState::excluded;
        }
        if (state == EntryState::counted) {
            summary.counted.push_back(summary.states.size());
            values.push_back(entry.result.value);
        }
        summary.states.push_back(state);
    }
    summary.statistics = ComputeStatistics(values);
    if (summary.statistics.outlier != SeriesStatistics::NO_OUTLIER)
        summary.outlier_row = summary.counted[summary.statistics.outlier];
    return summary;
}

std::string EntryNote(const SeriesEntry& entry, EntryState state) {
    switch (state) {
    case EntryState::counted:
    case EntryState::excluded: return "";
    case EntryState::unreadable: return "soubor nelze přečíst";
    case EntryState::no_determination: return "soubor nemá stanovení";
    case EntryState::no_result: return ProblemText(*entry.determination, entry.result, entry.quantity);
    case EntryState::mixed: return "jiný druh nebo jednotka než v sérii: nelze míchat";
    }
    return "";
}

std::string SampleText(const SeriesEntry& entry, bool comma) {
    if (!entry.determination) return "";
    const Determination& d = *entry.determination;
    return ShortText(d.sample, comma) + (d.sample_kind == SampleKind::mass ? " g" : " ml");
}

StatisticsTexts FormatStatistics(const SeriesSummary& summary, bool comma) {
    StatisticsTexts texts;
    const SeriesStatistics& st = summary.statistics;
    texts.n = std::to_string(st.n);
    if (!summary.reference || st.n == 0) return texts;
    const Determination& d = *summary.reference;
    const bool titer = d.kind == DeterminationKind::titer;
    const int decimals = titer && d.decimals < 4 ? 4 : d.decimals;
    auto fixed = [comma](double v, int places) { return std::isfinite(v) ? FixedText(v, places, comma) : "—"; };
    texts.mean = fixed(st.mean, decimals);
    texts.s = fixed(st.s, decimals + 1);
    texts.rsd = fixed(st.rsd, 2);
    texts.ci95 = fixed(st.ci95, decimals + 1);
    texts.unit = titer ? "" : UnitText(d.unit);
    return texts;
}
