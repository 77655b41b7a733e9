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
    double v_ep = 0.0, v_previous = 0.0;
    if (row < inflections) {
        const ext_float& key = results[row]->key;
        if (key.undefined) return Unresolved();
        v_ep = key.value;
        if (row > 0) {
            const ext_float& previous = results[row - 1]->key;
            if (previous.undefined) return Unresolved();
            v_previous = previous.value;
        }
    } else {
        const std::vector<CurveReading> readings = doc.SetValueEndPoints();
        const std::size_t k = static_cast<std::size_t>(row - inflections);
        if (k >= readings.size() || !readings[k].found) return Unresolved();
        v_ep = readings[k].value;
        if (k > 0) {
            if (!readings[k - 1].found) return Unresolved();
            v_previous = readings[k - 1].value;
        }
    }
    return half_neutralisation(doc.points.items, doc.points.size(), v_ep, v_previous);
}

std::string PkaText(const HalfNeutralisation& pka, bool comma) {
    switch (pka.status) {
    case PKA_OK: return FixedText(pka.pka, 2, comma);
    case PKA_NO_EQUIVALENCE: return "nelze: BE není za předchozím";
    case PKA_OUTSIDE_CURVE: return "nelze: mimo změřenou křivku";
    }
    return "";
}
