#include "core/ph_results.h"

#include "core/determination_text.h"

#include <vector>

namespace {

HalfNeutralisation Unresolved() { return HalfNeutralisation{PKA_NO_EQUIVALENCE, 0.0, 0.0}; }

}  // namespace

HalfNeutralisation ResultRowPka(const Document& doc, int row) {
    const dyn_array_direct<sorted_struct>& results = doc.derived.results;
    const int inflections = results.size();
    if (row < 0) return Unresolved();
    if (row >= inflections)
        return EndPointPka(doc, doc.SetValueEndPoints(), static_cast<std::size_t>(row - inflections));
    const ext_float& key = results[row]->key;
    if (key.undefined || (row > 0 && results[row - 1]->key.undefined)) return Unresolved();
    return half_neutralisation(doc.points.items, doc.points.size(), key.value, row > 0 ? results[row - 1]->key.value : 0.0);
}

HalfNeutralisation EndPointPka(const Document& doc, const std::vector<CurveReading>& readings, std::size_t k) {
    if (k >= readings.size() || !readings[k].found || (k > 0 && !readings[k - 1].found)) return Unresolved();
    return half_neutralisation(doc.points.items, doc.points.size(), readings[k].value, k > 0 ? readings[k - 1].value : 0.0);
}

std::string PkaText(const HalfNeutralisation& pka, bool comma) {
    switch (pka.status) {
    case PKA_OK: return FixedText(pka.pka, 2, comma);
    case PKA_NO_EQUIVALENCE: return "nelze: BE není za předchozím";
    case PKA_OUTSIDE_CURVE: return "nelze: mimo změřenou křivku";
    }
    return "";
}
