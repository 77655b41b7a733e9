#include "core/determination_text.h"

#include <cmath>
#include <cstdio>

#include "core/file_io.h"

namespace {

std::string Comma(std::string text, bool comma) {
    if (comma)
        for (char& c : text)
            if (c == '.') c = ',';
    return text;
}

const char* FieldText(DeterminationField field) {
    switch (field) {
    case DeterminationField::concentration: return "koncentrace titrantu";
    case DeterminationField::titer: return "titr";
    case DeterminationField::molar_mass: return "molární hmotnost";
    case DeterminationField::ratio: return "poměr z";
    case DeterminationField::blank: return "slepý pokus";
    case DeterminationField::sample: return "vzorek";
    case DeterminationField::standard_concentration: return "koncentrace standardu";
    case DeterminationField::unit: return "jednotka neodpovídá vzorku";
    case DeterminationField::decimals: return "desetinná místa";
    case DeterminationField::equivalence_point: return "bod ekvivalence";
    case DeterminationField::set_values: return "nastavené hodnoty";
    case DeterminationField::initial_volume: return "počáteční objem V0";
    case DeterminationField::none: break;
    }
    return "";
}

std::string PointName(int point) {
    return point == EquivalencePointChoice::LAST ? std::string("poslední") : std::to_string(point) + ".";
}

}  // namespace

std::string FixedText(double value, int decimals, bool comma) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return Comma(text, comma);
}

std::string ExactText(double value, bool comma) {
    char text[40];
    const char* end = put_number(text, text + sizeof text, value);
    return Comma(std::string(static_cast<const char*>(text), end), comma);
}

std::string ShortText(double value, bool comma) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);
    return Comma(text, comma);
}

std::string ResultValueText(const Determination& d, const DeterminationResult& r, bool comma) {
    if (!r.ok()) return "—";
    // A titer is a factor near 1: four decimals say what the method can tell.
    if (d.kind == DeterminationKind::titer) return FixedText(r.value, d.decimals < 4 ? 4 : d.decimals, comma);
    return FixedText(r.value, d.decimals, comma) + " " + UnitText(d.unit);
}

std::string ResultName(const Determination& d) {
    if (d.kind == DeterminationKind::titer) return d.titrant.empty() ? "titr" : "titr " + d.titrant;
    return d.analyte.empty() ? "výsledek" : d.analyte;
}

std::string ProblemText(const Determination& d, const DeterminationResult& r, Quantity quantity) {
    switch (r.problem) {
    case ResultProblem::none: return "";
    case ResultProblem::invalid_field: return std::string("neplatné stanovení: ") + FieldText(r.field);
    case ResultProblem::no_points: return "žádný bod ekvivalence";
    case ResultProblem::missing_point: {
        const int point = d.point.point;
        const int minus = d.point.minus;
        return "chybí bod ekvivalence " + EquivalencePointText(d.point) +
               (minus && point != EquivalencePointChoice::LAST && minus != EquivalencePointChoice::LAST
                    ? " (" + PointName(point > minus ? point : minus) + ")"
                    : std::string());
    }
    case ResultProblem::negative_volume: return "V − V(sl) je záporné";
    case ResultProblem::zero_volume: return "V − V(sl) je nula";
    case ResultProblem::not_reached: return "křivka nedosáhne " + EquivalencePointText(d.point, quantity);
    case ResultProblem::gran_not_ph: return "Granův graf potřebuje křivku v pH";
    case ResultProblem::gran_no_v0: return "Granův graf potřebuje počáteční objem V0";
    case ResultProblem::gran_no_range: return "pro rozsah Granova grafu chybí bod ekvivalence";
    case ResultProblem::gran_no_line: return "Granovou přímku nelze v rozsahu proložit";
    }
    return "";
}

std::string CalculationText(const Determination& d, const DeterminationResult& r, bool comma, Quantity quantity) {
    auto n = [comma](double v) { return ShortText(v, comma); };
    if (r.problem == ResultProblem::invalid_field || r.problem == ResultProblem::no_points ||
        r.problem == ResultProblem::missing_point || r.problem == ResultProblem::not_reached ||
        r.problem == ResultProblem::gran_not_ph || r.problem == ResultProblem::gran_no_v0 ||
        r.problem == ResultProblem::gran_no_range || r.problem == ResultProblem::gran_no_line)
        return "Výsledek nelze spočítat: " + ProblemText(d, r, quantity) + ".\n";
    std::string text = "V = " + n(r.volume) + " ml (bod ekvivalence " + EquivalencePointText(d.point, quantity) + ")\n";
    text += "V − V(sl) = " + n(r.volume) + " − " + n(d.blank) + " = " + n(r.net_volume) + " ml\n";
    if (!r.ok()) return text + "Výsledek nelze spočítat: " + ProblemText(d, r, quantity) + ".\n";
    const std::string z = RatioText(d.ratio);
    if (d.kind == DeterminationKind::titer) {
        double standard;
        if (d.sample_kind == SampleKind::mass) {
            standard = d.sample / d.molar_mass;
            text += "n(std) = m/M = " + n(d.sample) + " / " + n(d.molar_mass) + " = " + n(standard) + " mol\n";
        } else {
            standard = d.standard_concentration * d.sample / 1000.0;
            text += "n(std) = c(std) · V(std)/1000 = " + n(d.standard_concentration) + " · " + n(d.sample) +
                    "/1000 = " + n(standard) + " mol\n";
        }
        text += "t = n(std) / (z · c · (V − V(sl))/1000) = " + n(standard) + " / (" + z + " · " + n(d.concentration) +
                " · " + n(r.net_volume) + "/1000) = " + ResultValueText(d, r, comma) + "\n";
        return text;
    }
    const double amount = d.ratio * d.concentration * d.titer * r.net_volume / 1000.0;
    text += "n = z · c · t · (V − V(sl))/1000 = " + z + " · " + n(d.concentration) + " · " + n(d.titer) + " · " +
            n(r.net_volume) + "/1000 = " + n(amount) + " mol\n";
    const std::string size = n(d.sample);
    const std::string mass = n(d.molar_mass);
    std::string formula;
    switch (d.unit) {
    case ResultUnit::mol_per_l: formula = "c = n / (V(vz)/1000) = " + n(amount) + " / (" + size + "/1000)"; break;
    case ResultUnit::mmol_per_l: formula = "c = 1000 · n / (V(vz)/1000) = 1000 · " + n(amount) + " / (" + size + "/1000)"; break;
    case ResultUnit::g_per_l: formula = "ρ = n · M / (V(vz)/1000) = " + n(amount) + " · " + mass + " / (" + size + "/1000)"; break;
    case ResultUnit::mg_per_l: formula = "ρ = 1000 · n · M / (V(vz)/1000) = 1000 · " + n(amount) + " · " + mass + " / (" + size + "/1000)"; break;
    case ResultUnit::percent_ww: formula = "w = 100 · n · M / m = 100 · " + n(amount) + " · " + mass + " / " + size; break;
    case ResultUnit::mg_per_g: formula = "w = 1000 · n · M / m = 1000 · " + n(amount) + " · " + mass + " / " + size; break;
    case ResultUnit::mmol_per_g: formula = "b = 1000 · n / m = 1000 · " + n(amount) + " / " + size; break;
    }
    return text + formula + " = " + ResultValueText(d, r, comma) + "\n";
}

std::string DeterminationOneLine(const Determination& d) {
    std::string line;
    for (char c : DeterminationLines(d)) line += c == '\t' ? ' ' : c;
    while (!line.empty() && line.back() == '\n') line.pop_back();
    for (char& c : line)
        if (c == '\n') c = '\t';
    return line;
}

bool ReadDeterminationOneLine(const std::string& line, Determination& d) {
    std::string lines = line + '\n', rest;
    for (char& c : lines)
        if (c == '\t') c = '\n';
    d = Determination();
    return SplitDetermination(lines, d, rest);
}

std::vector<DeterminationRow> DeterminationRows(const Determination& d, const DeterminationResult& r, bool comma,
                                               Quantity quantity) {
    auto n = [comma](double v) { return ShortText(v, comma); };
    const bool titer = d.kind == DeterminationKind::titer;
    std::vector<DeterminationRow> rows = {
        {"Druh", titer ? "stanovení titru" : "obsah analytu"},
        {"Titrant", (d.titrant.empty() ? "" : d.titrant + ", ") + "c = " + n(d.concentration) + " mol/l" +
                        (titer ? "" : ", t = " + n(d.titer))},
        {titer ? "Standard" : "Analyt",
         (d.analyte.empty() ? "" : d.analyte + ", ") + "M = " + n(d.molar_mass) + " g/mol, z = " + RatioText(d.ratio)},
        {"Bod ekvivalence", EquivalencePointText(d.point, quantity) + (r.ok() || r.problem == ResultProblem::negative_volume ||
                                                                     r.problem == ResultProblem::zero_volume
                                                                 ? ": V = " + n(r.volume) + " ml"
                                                                 : std::string())},
        {"Slepý pokus", n(d.blank) + " ml"},
        {"Vzorek", n(d.sample) + (d.sample_kind == SampleKind::mass ? " g" : " ml") +
                       (titer && d.sample_kind == SampleKind::volume ? ", c = " + n(d.standard_concentration) + " mol/l"
                                                                     : std::string())},
    };
    const std::string value = ResultValueText(d, r, comma);
    rows.push_back({ResultName(d), r.ok() ? value : value + " (" + ProblemText(d, r, quantity) + ")"});
    return rows;
}
