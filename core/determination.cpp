#include "core/determination.h"

#include "core/ext_float.h"
#include "core/file_io.h"

#include <cmath>
#include <cstring>
#include <iterator>

namespace {

const char MINUS[] = "\xE2\x88\x92";  // U+2212, the minus sign the choice is shown with
const char EN_DASH[] = "\xE2\x80\x93";

bool Positive(double x) { return std::isfinite(x) && x > 0.0; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trimmed(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && (IsBlank(text[last - 1]) || text[last - 1] == '\r')) --last;
    return text.substr(first, last - first);
}

// A cursor over a value's text.
struct Reader {
    const char* pos;
    const char* end;
    explicit Reader(const std::string& text) : pos(text.data()), end(text.data() + text.size()) {}
    void SkipBlanks() {
        while (pos < end && IsBlank(*pos)) ++pos;
    }
    bool Take(const char* word) {
        const std::size_t n = std::strlen(word);
        if (static_cast<std::size_t>(end - pos) < n || std::memcmp(pos, word, n) != 0) return false;
        pos += n;
        return true;
    }
    bool Number(double& value) {
        SkipBlanks();
        ext_float number;
        const char* after = number.read_number(pos, end);
        if (!after) return false;
        pos = after;
        value = number.value;
        return true;
    }
    bool AtEnd() {
        SkipBlanks();
        return pos == end;
    }
};

// A number followed by nothing or by its unit; `unit` null: by nothing.
bool ReadQuantity(const std::string& text, const char* unit, double& value) {
    Reader r(text);
    double v;
    if (!r.Number(v)) return false;
    r.SkipBlanks();
    if (unit && !r.AtEnd() && !r.Take(unit)) return false;
    if (!r.AtEnd()) return false;
    value = v;
    return true;
}

// Written as saving writes numbers (exact on reading back), with the decimal comma.
std::string NumberText(double value) { return DecimalCommaText(value); }

// One term of an equivalence point choice: "2", "2.", "poslední", "posl.", "last".
bool ReadPoint(Reader& r, int& point) {
    r.SkipBlanks();
    if (r.Take("poslední") || r.Take("posl.") || r.Take("posl") || r.Take("last")) {
        point = EquivalencePointChoice::LAST;
        return true;
    }
    long n = 0;
    const char* start = r.pos;
    while (r.pos < r.end && *r.pos >= '0' && *r.pos <= '9' && n < 100000) n = n * 10 + (*r.pos++ - '0');
    if (r.pos == start || n == 0 || n >= 100000) return false;
    r.Take(".");
    point = static_cast<int>(n);
    return true;
}

std::string PointText(int point) {
    return point == EquivalencePointChoice::LAST ? std::string("poslední") : std::to_string(point) + ".";
}

const char* const UNIT_TEXTS[] = {"mol/l", "mmol/l", "g/l", "mg/l", "%", "mg/g", "mmol/g"};

// The keys of the comment-line form, in the order they are written.
enum Key { KIND, TITRANT, CONCENTRATION, TITER, ANALYTE, MOLAR_MASS, RATIO, POINT, BLANK, SAMPLE,
           STANDARD, UNIT, DECIMALS, SET_VALUES, INITIAL_VOLUME, KEY_COUNT };
const char* const KEY_NAMES[KEY_COUNT] = {"druh", "titrant", "c", "titr", "analyt", "M", "z", "bod ekvivalence",
                                          "slepý pokus", "vzorek", "c standardu", "jednotka", "desetinná místa",
                                          "nastavené hodnoty", "V0"};
const char PREFIX[] = "Stanovení.";
const char CONTENT_TEXT[] = "obsah analytu";
const char GRAN_TEXT[] = "Gran";
const char TITER_TEXT[] = "stanovení titru";

bool ReadValue(Key key, const std::string& value, Determination& d) {
    switch (key) {
    case KIND:
        if (value == CONTENT_TEXT) d.kind = DeterminationKind::content;
        else if (value == TITER_TEXT) d.kind = DeterminationKind::titer;
        else return false;
        return true;
    case TITRANT: d.titrant = value; return true;
    case ANALYTE: d.analyte = value; return true;
    case CONCENTRATION: return ReadQuantity(value, "mol/l", d.concentration);
    case TITER: return ReadQuantity(value, nullptr, d.titer);
    case MOLAR_MASS: return ReadQuantity(value, "g/mol", d.molar_mass);
    case RATIO: return ParseRatio(value, d.ratio);
    case POINT: return ParseEquivalencePoint(value, d.point);
    case BLANK: return ReadQuantity(value, "ml", d.blank);
    case STANDARD: return ReadQuantity(value, "mol/l", d.standard_concentration);
    case SET_VALUES: return ParseSetValues(value, d.set_values);
    case INITIAL_VOLUME: return ReadQuantity(value, "ml", d.initial_volume);
    case UNIT: return ParseUnit(value, d.unit);
    case SAMPLE: {
        Reader r(value);
        double size;
        if (!r.Number(size)) return false;
        r.SkipBlanks();
        SampleKind kind;
        if (r.Take("ml")) kind = SampleKind::volume;
        else if (r.Take("g")) kind = SampleKind::mass;
        else return false;
        if (!r.AtEnd()) return false;
        d.sample = size;
        d.sample_kind = kind;
        return true;
    }
    case DECIMALS: {
        if (value.empty() || value.size() > 2 || value.find_first_not_of("0123456789") != std::string::npos)
            return false;
        d.decimals = std::stoi(value);
        return true;
    }
    default: return false;
    }
}

// A line of the form, or KEY_COUNT; `value` receives the value's text without blanks around it.
Key ReadKey(const std::string& line, std::string& value) {
    Reader r(line);
    r.SkipBlanks();
    if (!r.Take("#")) return KEY_COUNT;
    r.SkipBlanks();
    if (!r.Take(PREFIX)) return KEY_COUNT;
    const char* equals = static_cast<const char*>(std::memchr(r.pos, '=', static_cast<std::size_t>(r.end - r.pos)));
    if (!equals) return KEY_COUNT;
    const std::string name = Trimmed(std::string(r.pos, equals));
    for (int k = 0; k < KEY_COUNT; ++k) {
        if (name == KEY_NAMES[k]) {
            value = Trimmed(std::string(equals + 1, r.end));
            return static_cast<Key>(k);
        }
    }
    return KEY_COUNT;
}

// A name stays on its one line.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return Trimmed(text);
}

} // namespace

bool operator==(const Determination& a, const Determination& b) {
    return a.kind == b.kind && a.titrant == b.titrant && a.concentration == b.concentration && a.titer == b.titer &&
           a.analyte == b.analyte && a.molar_mass == b.molar_mass && a.ratio == b.ratio && a.point == b.point &&
           a.blank == b.blank && a.sample_kind == b.sample_kind && a.sample == b.sample &&
           a.standard_concentration == b.standard_concentration && a.unit == b.unit && a.decimals == b.decimals &&
           a.set_values == b.set_values && a.initial_volume == b.initial_volume;
}

double TitratedVolume(const Determination& d) {
    const double v0 = d.sample_kind == SampleKind::volume ? d.sample : d.initial_volume;
    return Positive(v0) ? v0 : 0.0;
}

bool UnitSuitsSample(ResultUnit unit, SampleKind sample_kind) {
    const bool per_mass = unit == ResultUnit::percent_ww || unit == ResultUnit::mg_per_g || unit == ResultUnit::mmol_per_g;
    return per_mass == (sample_kind == SampleKind::mass);
}

const char* UnitText(ResultUnit unit) { return UNIT_TEXTS[static_cast<int>(unit)]; }

bool ParseUnit(const std::string& text, ResultUnit& unit) {
    const std::string t = Trimmed(text);
    for (std::size_t i = 0; i < std::size(UNIT_TEXTS); ++i) {
        if (t == UNIT_TEXTS[i]) {
            unit = static_cast<ResultUnit>(i);
            return true;
        }
    }
    if (t != "% (w/w)") return false;
    unit = ResultUnit::percent_ww;
    return true;
}

DeterminationField ValidateDetermination(const Determination& d) {
    using F = DeterminationField;
    if (!Positive(d.concentration)) return F::concentration;
    if (!Positive(d.titer)) return F::titer;
    if (!Positive(d.molar_mass)) return F::molar_mass;
    if (!Positive(d.ratio)) return F::ratio;
    if (!std::isfinite(d.blank) || d.blank < 0.0) return F::blank;
    if (!Positive(d.sample)) return F::sample;
    const bool pipetted_standard = d.kind == DeterminationKind::titer && d.sample_kind == SampleKind::volume;
    if (pipetted_standard && !Positive(d.standard_concentration)) return F::standard_concentration;
    if (d.kind == DeterminationKind::content && !UnitSuitsSample(d.unit, d.sample_kind)) return F::unit;
    if (d.decimals < 0 || d.decimals > MAX_DECIMALS) return F::decimals;
    const auto valid = [](int p) { return p >= 1 || p == EquivalencePointChoice::LAST; };
    switch (d.point.kind) {
    case EndPointKind::inflection:
        if (!valid(d.point.point) || (d.point.minus != 0 && (!valid(d.point.minus) || d.point.minus == d.point.point)))
            return F::equivalence_point;
        break;
    case EndPointKind::set_value:
        if (!std::isfinite(d.point.set_value)) return F::equivalence_point;
        break;
    case EndPointKind::gran: break;
    }
    if (d.set_values.size() > MAX_SET_VALUES) return F::set_values;
    for (double v : d.set_values)
        if (!std::isfinite(v)) return F::set_values;
    if (!std::isfinite(d.initial_volume) || d.initial_volume < 0.0) return F::initial_volume;
    return F::none;
}

bool ParseRatio(const std::string& text, double& ratio) {
    Reader r(text);
    double numerator, denominator = 1.0;
    if (!r.Number(numerator)) return false;
    r.SkipBlanks();
    if (r.Take("/") && (!r.Number(denominator) || denominator == 0.0)) return false;
    if (!r.AtEnd()) return false;
    const double value = numerator / denominator;
    if (!std::isfinite(value)) return false;
    ratio = value;
    return true;
}

std::string RatioText(double ratio) {
    if (ratio > 0.0 && ratio != std::floor(ratio)) {
        for (int q = 2; q <= 12; ++q) {
            const double p = std::round(ratio * q);
            if (p >= 1.0 && p <= 1000.0 && p / q == ratio) return NumberText(p) + "/" + std::to_string(q);
        }
    }
    return NumberText(ratio);
}

std::string EquivalencePointText(const EquivalencePointChoice& choice, Quantity quantity) {
    if (choice.kind == EndPointKind::set_value) return QuantityValueText(quantity, choice.set_value);
    if (choice.kind == EndPointKind::gran) return GRAN_TEXT;
    std::string text = PointText(choice.point);
    if (choice.minus != 0) text += std::string(" ") + MINUS + " " + PointText(choice.minus);
    return text;
}

bool ParseEquivalencePoint(const std::string& text, EquivalencePointChoice& choice) {
    Reader r(text);
    EquivalencePointChoice read;
    r.SkipBlanks();
    if (r.Take(GRAN_TEXT) && r.AtEnd()) {
        read.kind = EndPointKind::gran;
        choice = read;
        return true;
    }
    r = Reader(text);
    r.SkipBlanks();
    const bool ph_first = r.Take("pH");
    double value;
    if (r.Number(value)) {
        r.SkipBlanks();
        const bool unit_after = !ph_first && (r.Take("pH") || r.Take("mV"));
        if ((ph_first || unit_after) && r.AtEnd()) {
            read.kind = EndPointKind::set_value;
            read.set_value = value;
            choice = read;
            return true;
        }
    }
    if (ph_first) return false;
    r = Reader(text);
    if (!ReadPoint(r, read.point)) return false;
    r.SkipBlanks();
    read.minus = 0;
    if ((r.Take("-") || r.Take(MINUS) || r.Take(EN_DASH)) && !ReadPoint(r, read.minus)) return false;
    if (!r.AtEnd()) return false;
    choice = read;
    return true;
}

std::string SetValuesText(const std::vector<double>& values) {
    std::string text;
    for (double v : values) text += (text.empty() ? "" : "; ") + NumberText(v);
    return text;
}

bool ParseSetValues(const std::string& text, std::vector<double>& values) {
    std::vector<double> read;
    Reader r(text);
    if (!r.AtEnd()) {
        do {
            double v;
            if (!r.Number(v) || read.size() == MAX_SET_VALUES) return false;
            read.push_back(v);
            r.SkipBlanks();
        } while (r.Take(";"));
        if (!r.AtEnd()) return false;
    }
    values = read;
    return true;
}

DeterminationResult ResolveEquivalencePoint(const EquivalencePointChoice& choice, const double* volumes,
                                            std::size_t count) {
    DeterminationResult result;
    if (choice.kind != EndPointKind::inflection) {
        result.problem = ResultProblem::missing_point;  // not a volume of the result list
        return result;
    }
    if (count == 0) {
        result.problem = ResultProblem::no_points;
        return result;
    }
    const auto pick = [&](int point, double& volume) {
        const std::size_t index = point == EquivalencePointChoice::LAST ? count - 1 : static_cast<std::size_t>(point - 1);
        if (point == 0 || index >= count || !std::isfinite(volumes[index])) return false;
        volume = volumes[index];
        return true;
    };
    double volume = 0.0, subtracted = 0.0;
    if (!pick(choice.point, volume) || (choice.minus != 0 && !pick(choice.minus, subtracted))) {
        result.problem = ResultProblem::missing_point;
        return result;
    }
    result.volume = volume - subtracted;
    return result;
}

// The amount titrated, n = z · c · t · (V − V_blank) / 1000 mol (c in mol/l, V in ml): the
// titrant's true concentration is c · t, and z moles of analyte react per mole of titrant.
// A content is then an amount concentration n / V_s (mol/l; V_s in l), a mass concentration
// n · M / V_s (g/l), or a mass fraction n · M / m (% (w/w) = 100 · n · M / m, m in g); the
// milli units scale by 1000. A titer is the ratio of the titrant's true concentration to c:
// the standard's amount over the amount c alone accounts for, t = n_std / (z · c · (V − V_blank)/1000),
// with n_std = m / M for a weighed standard or c_std · V_std / 1000 for a pipetted one.
DeterminationResult ComputeResult(const Determination& d, double volume) {
    DeterminationResult result;
    result.volume = volume;
    result.net_volume = volume - d.blank;
    result.field = ValidateDetermination(d);
    if (result.field != DeterminationField::none) {
        result.problem = ResultProblem::invalid_field;
        return result;
    }
    if (!std::isfinite(volume)) {
        result.problem = ResultProblem::missing_point;
        return result;
    }
    if (result.net_volume < 0.0) {
        result.problem = ResultProblem::negative_volume;
        return result;
    }
    if (d.kind == DeterminationKind::titer) {
        if (result.net_volume == 0.0) {
            result.problem = ResultProblem::zero_volume;
            return result;
        }
        const double standard = d.sample_kind == SampleKind::mass ? d.sample / d.molar_mass
                                                                  : d.standard_concentration * d.sample / 1000.0;
        result.value = standard / (d.ratio * d.concentration * result.net_volume / 1000.0);
        return result;
    }
    const double amount = d.ratio * d.concentration * d.titer * result.net_volume / 1000.0;  // mol
    const double per_sample = d.sample_kind == SampleKind::volume ? amount / (d.sample / 1000.0)  // mol/l
                                                                  : amount / d.sample;            // mol/g
    switch (d.unit) {
    case ResultUnit::mol_per_l: result.value = per_sample; break;
    case ResultUnit::mmol_per_l: result.value = per_sample * 1000.0; break;
    case ResultUnit::g_per_l: result.value = per_sample * d.molar_mass; break;
    case ResultUnit::mg_per_l: result.value = per_sample * d.molar_mass * 1000.0; break;
    case ResultUnit::percent_ww: result.value = per_sample * d.molar_mass * 100.0; break;
    case ResultUnit::mg_per_g: result.value = per_sample * d.molar_mass * 1000.0; break;
    case ResultUnit::mmol_per_g: result.value = per_sample * 1000.0; break;
    }
    return result;
}

DeterminationResult EvaluateDetermination(const Determination& d, const double* volumes, std::size_t count) {
    DeterminationResult result;
    result.field = ValidateDetermination(d);
    if (result.field != DeterminationField::none) {
        result.problem = ResultProblem::invalid_field;
        return result;
    }
    result = ResolveEquivalencePoint(d.point, volumes, count);
    return result.ok() ? ComputeResult(d, result.volume) : result;
}

std::string DeterminationLines(const Determination& d, Quantity quantity) {
    std::string values[KEY_COUNT];
    values[KIND] = d.kind == DeterminationKind::titer ? TITER_TEXT : CONTENT_TEXT;
    values[TITRANT] = OneLine(d.titrant);
    values[CONCENTRATION] = NumberText(d.concentration) + " mol/l";
    values[TITER] = NumberText(d.titer);
    values[ANALYTE] = OneLine(d.analyte);
    values[MOLAR_MASS] = NumberText(d.molar_mass) + " g/mol";
    values[RATIO] = RatioText(d.ratio);
    values[POINT] = EquivalencePointText(d.point, quantity);
    values[BLANK] = NumberText(d.blank) + " ml";
    values[SAMPLE] = NumberText(d.sample) + (d.sample_kind == SampleKind::mass ? " g" : " ml");
    if (d.kind == DeterminationKind::titer) values[STANDARD] = NumberText(d.standard_concentration) + " mol/l";
    values[UNIT] = UnitText(d.unit);
    values[DECIMALS] = std::to_string(d.decimals);
    values[SET_VALUES] = SetValuesText(d.set_values);
    values[INITIAL_VOLUME] = NumberText(d.initial_volume) + " ml";
    std::string lines;
    for (int k = 0; k < KEY_COUNT; ++k) {
        if (k == STANDARD && d.kind != DeterminationKind::titer) continue;
        if (k == SET_VALUES && d.set_values.empty()) continue;
        if (k == INITIAL_VOLUME && d.initial_volume == 0.0) continue;
        lines += std::string("# ") + PREFIX + KEY_NAMES[k] + (values[k].empty() ? " =\n" : " = " + values[k] + "\n");
    }
    return lines;
}

bool SplitDetermination(const std::string& description, Determination& d, std::string& rest) {
    d = Determination();
    rest.clear();
    bool seen[KEY_COUNT] = {};
    bool any = false;
    for (std::size_t start = 0; start < description.size();) {
        std::size_t end = description.find('\n', start);
        end = end == std::string::npos ? description.size() : end + 1;
        const std::string line = description.substr(start, end - start);
        start = end;
        std::string value;
        const Key key = ReadKey(line.back() == '\n' ? line.substr(0, line.size() - 1) : line, value);
        if (key != KEY_COUNT && !seen[key] && ReadValue(key, value, d)) {
            seen[key] = any = true;
            continue;
        }
        rest += line;
    }
    return any;
}
