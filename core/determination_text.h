// The determination's result as the program writes it everywhere: the value with its unit,
// the reason when there is none, and the calculation with the numbers put in.
#pragma once
#include <string>
#include <vector>

#include "core/determination.h"

// `value` with `decimals` decimals and a decimal comma when `comma`.
std::string FixedText(double value, int decimals, bool comma);
// The shortest text that reads back as exactly `value`.
std::string ExactText(double value, bool comma);
// Six significant digits, as the calculation shows its intermediate numbers.
std::string ShortText(double value, bool comma);
// "35,21 mg/l", a titer "0,9987"; "—" when there is no result.
std::string ResultValueText(const Determination& d, const DeterminationResult& r, bool comma);
// "Cl-" or, for a titer, "titr AgNO3"; a name left empty gives "výsledek" or "titr".
std::string ResultName(const Determination& d);
// Why there is no result, in a few words ("chybí 2. bod ekvivalence", "křivka nedosáhne pH 8,3",
// a set value named in `quantity`); empty with a result.
std::string ProblemText(const Determination& d, const DeterminationResult& r, Quantity quantity = Quantity::mv);
// The calculation, one step a line ('\n' ended), the numbers put in; with a problem the
// steps up to it and the reason.
std::string CalculationText(const Determination& d, const DeterminationResult& r, bool comma,
                            Quantity quantity = Quantity::mv);

// The determination on one line, as a settings file keeps it: its comment lines joined by
// tabs (a tab inside a name becomes a blank); and back.
std::string DeterminationOneLine(const Determination& d);
bool ReadDeterminationOneLine(const std::string& line, Determination& d);

// The determination as the report and the CSV list it: a name and a value a row, the numbers
// with the decimal comma when `comma`; the result last (with the reason when there is none).
struct DeterminationRow {
    std::string name, value;
};
std::vector<DeterminationRow> DeterminationRows(const Determination& d, const DeterminationResult& r, bool comma,
                                               Quantity quantity = Quantity::mv);
