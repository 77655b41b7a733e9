// The determination: what turns an equivalence volume into the lab's result (an analyte's
// content, or the titer of the titrant), and its comment-line form in a .tid file.
#pragma once
#include "core/quantity.h"

#include <cstddef>
#include <string>
#include <vector>

enum class DeterminationKind { content, titer };
enum class SampleKind { volume, mass };  // an aliquot in ml, or a weighed portion in g
enum class ResultUnit { mol_per_l, mmol_per_l, g_per_l, mg_per_l, percent_ww, mg_per_g, mmol_per_g };

// Where an end point comes from: an inflection of the result list, the volume at which the
// curve reaches a set value (pH 8,3), or the Gran plot's intersection with F = 0.
enum class EndPointKind { inflection, set_value, gran };

// Which volume the determination uses. For an inflection: the point-th (1-based) of the result
// list or the last, less the volume of another point when `minus` is not 0 (e.g. "2. − 1.", the
// titrant spent between two equivalence points). For a set value: where the curve reaches
// `set_value`. For the Gran plot: its end point.
struct EquivalencePointChoice {
    static constexpr int LAST = -1;
    int point = 1;
    int minus = 0;
    EndPointKind kind = EndPointKind::inflection;
    double set_value = 0.0;
    bool operator==(const EquivalencePointChoice& b) const {
        return point == b.point && minus == b.minus && kind == b.kind && set_value == b.set_value;
    }
};

constexpr int MAX_SET_VALUES = 3;

struct Determination {
    DeterminationKind kind = DeterminationKind::content;
    std::string titrant;
    double concentration = 0.0;  // c of the titrant, mol/l
    double titer = 1.0;          // t, the factor that corrects c
    std::string analyte;         // in a titer determination, the primary standard
    double molar_mass = 0.0;     // M of the analyte, g/mol
    double ratio = 1.0;          // z, moles of analyte per mole of titrant
    EquivalencePointChoice point;
    double blank = 0.0;          // V_blank, ml
    SampleKind sample_kind = SampleKind::volume;
    double sample = 0.0;         // ml or g, as sample_kind says
    // A pipetted standard of a titer determination: its concentration, mol/l. A weighed
    // standard uses the mass and M instead.
    double standard_concentration = 0.0;
    ResultUnit unit = ResultUnit::mg_per_l;  // of a content; a titer has no unit
    int decimals = 2;
    // Up to MAX_SET_VALUES values (in the document's quantity) whose volumes the result list
    // shows besides the inflections, e.g. pH 8,3 and pH 4,5.
    std::vector<double> set_values;
    // V0, ml: the volume of the titrated solution of a weighed sample (the Gran plot needs it);
    // 0 when not given. A pipetted sample's V0 is its volume.
    double initial_volume = 0.0;
};

// V0 for the Gran plot: the sample's volume, or the initial volume of a mass sample; 0 when unknown.
double TitratedVolume(const Determination& d);

bool operator==(const Determination& a, const Determination& b);

// The field that makes a determination unusable.
enum class DeterminationField {
    none, concentration, titer, molar_mass, ratio, blank, sample, standard_concentration, unit,
    decimals, equivalence_point, set_values, initial_volume
};

// The first field the computation cannot take. Every number must be positive and finite,
// the blank may be 0; the decimals run from 0 to MAX_DECIMALS; a content's unit must suit the
// sample (a volume: mol/l, mmol/l, g/l, mg/l; a mass: %, mg/g, mmol/g); the standard's
// concentration is checked only where it is used (a titer with a pipetted standard).
constexpr int MAX_DECIMALS = 10;
DeterminationField ValidateDetermination(const Determination& d);

bool UnitSuitsSample(ResultUnit unit, SampleKind sample_kind);
const char* UnitText(ResultUnit unit);  // "mol/l", ..., "%" (% w/w), "mg/g", "mmol/g"
bool ParseUnit(const std::string& text, ResultUnit& unit);

// z as a decimal number ("0,5", "0.5") or a fraction ("1/2"); false for any other text or a
// zero denominator. Blanks around the numbers are allowed.
bool ParseRatio(const std::string& text, double& ratio);
// "1/2" where a fraction of small whole numbers gives exactly `ratio`, else the number.
std::string RatioText(double ratio);

// "1.", "poslední", "2. − 1.", "poslední − 1.", a set value "pH 8,3" or "-250 mV" (as the
// document's quantity names it), "Gran"; reading also takes "2", "posl.", "last", '-' or '–'
// for the minus sign, any blanks between the parts, "8,3 pH" and "-250mV".
std::string EquivalencePointText(const EquivalencePointChoice& choice, Quantity quantity = Quantity::mv);
bool ParseEquivalencePoint(const std::string& text, EquivalencePointChoice& choice);

// "8,3; 4,5": the set values as the determination's line and dialog show them; reading takes
// ';' between the values and an empty text for none. False for more than MAX_SET_VALUES values
// or one that does not read.
std::string SetValuesText(const std::vector<double>& values);
bool ParseSetValues(const std::string& text, std::vector<double>& values);

// Why there is no result. A result is never guessed.
enum class ResultProblem {
    none,
    invalid_field,      // see `field`
    no_points,          // the result list is empty
    missing_point,      // the list has no such equivalence point (or its volume is undefined)
    negative_volume,    // V − V_blank < 0 (or the difference of two points is)
    zero_volume,        // a titer from V − V_blank = 0 would be infinite
    not_reached,        // the curve never reaches the set value chosen
    gran_not_ph,        // the Gran end point of a document in mV
    gran_no_v0,         // the Gran plot needs V0, which the determination does not give
    gran_no_range,      // the Gran line's default range needs an equivalence point
    gran_no_line,       // no Gran line through the range, or it never reaches F = 0
};

struct DeterminationResult {
    ResultProblem problem = ResultProblem::none;
    DeterminationField field = DeterminationField::none;
    double volume = 0.0;      // V, ml, once resolved
    double net_volume = 0.0;  // V − V_blank, ml, once resolved
    double value = 0.0;       // in the unit (a titer has none); only without a problem
    bool ok() const { return problem == ResultProblem::none; }
};

// The volume the choice picks from the result list (ascending, as shown), or the problem.
DeterminationResult ResolveEquivalencePoint(const EquivalencePointChoice& choice, const double* volumes,
                                            std::size_t count);
// The result from the volume V (ml) the determination's equivalence point gave.
DeterminationResult ComputeResult(const Determination& d, double volume);
// Both: the point resolved against the result list, then the result.
DeterminationResult EvaluateDetermination(const Determination& d, const double* volumes, std::size_t count);

// The comment-line form kept in a .tid file's description, one "# Stanovení.<key> = <value>"
// line per field (numbers with a decimal comma, read back as exactly the same double):
//   # Stanovení.druh = obsah analytu          (or "stanovení titru")
//   # Stanovení.titrant = AgNO3
//   # Stanovení.c = 0,1 mol/l
//   # Stanovení.titr = 1
//   # Stanovení.analyt = Cl-
//   # Stanovení.M = 35,453 g/mol
//   # Stanovení.z = 1/2
//   # Stanovení.bod ekvivalence = 2. − 1.
//   # Stanovení.slepý pokus = 0,05 ml
//   # Stanovení.vzorek = 10 ml                (or "0,25 g")
//   # Stanovení.c standardu = 0,05 mol/l      (a titer determination only)
//   # Stanovení.jednotka = mg/l
//   # Stanovení.desetinná místa = 2
//   # Stanovení.nastavené hodnoty = 8,3; 4,5  (only with set values)
//   # Stanovení.V0 = 50 ml                    (only with an initial volume)
// Each line ends in '\n', as the description keeps its lines. The quantity names a set value
// chosen as the equivalence point.
std::string DeterminationLines(const Determination& d, Quantity quantity = Quantity::mv);

// Takes the determination's lines out of `description`: `d` receives the fields of the lines
// that read (a missing field keeps its default, which validation then refuses where it must),
// `rest` the other lines unchanged, among them an unknown key, a value that does not read and
// a repeated key. False when no line read; `d` is then the default.
bool SplitDetermination(const std::string& description, Determination& d, std::string& rest);
