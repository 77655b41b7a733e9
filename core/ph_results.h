// The half-neutralisation pKa of the rows of the result list, as Details, the report and
// titrion-eval give it for a pH document.
#pragma once
#include "core/document.h"

#include <cstddef>
#include <string>
#include <vector>

// The pH halfway to the equivalence point of result row `row`: the inflections first, then
// the set values (see Document::SetValueEndPoints). The first point of either kind is read at
// half its volume, a later one midway after the point before it.
HalfNeutralisation ResultRowPka(const Document& doc, int row);

// The same for the k-th of the end points at set values `readings`, in their order.
HalfNeutralisation EndPointPka(const Document& doc, const std::vector<CurveReading>& readings, std::size_t k);

// "4,76" (two decimals), or why there is none: "nelze: BE není za předchozím", "nelze: mimo
// změřenou křivku".
std::string PkaText(const HalfNeutralisation& pka, bool comma);
