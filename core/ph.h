// Acid–base titrations read in pH: the calibration of a glass electrode, end points at a set
// value, the half-neutralisation pKa and the Gran plot. Curves are points in ascending volume;
// points with an undefined volume or value are passed over.
#pragma once
#include "core/ext_float.h"

#include <vector>

// ---- Electrode calibration -------------------------------------------------------------------

// CODATA 2018: R exact from the Boltzmann and Avogadro constants, F from the elementary charge.
constexpr double GAS_CONSTANT = 8.314462618;  // J mol-1 K-1
constexpr double FARADAY = 96485.33212;       // C mol-1
constexpr double ZERO_CELSIUS = 273.15;       // K

// The Nernst slope RT ln10 / F in mV per pH unit at `celsius` (59.16 mV at 25 °C).
double nernst_slope(double celsius);

struct CalibrationBuffer {
    double ph;
    double mv;       // the electrode's reading in the buffer
    double celsius;  // the buffer's temperature
};

constexpr int MIN_BUFFERS = 2;
constexpr int MAX_BUFFERS = 5;
constexpr double MIN_SLOPE_PERCENT = 95.0;
constexpr double MAX_SLOPE_PERCENT = 102.0;
constexpr double MAX_RESIDUAL_PH = 0.05;

enum CalibrationStatus {
    CALIBRATION_OK,
    CALIBRATION_BUFFER_COUNT,  // fewer than MIN_BUFFERS or more than MAX_BUFFERS
    CALIBRATION_NOT_FINITE,    // a pH, potential or temperature is not a number
    CALIBRATION_SAME_PH,       // every buffer has the same pH: no line through them
    CALIBRATION_NO_SLOPE,      // E does not change with pH: no pH can be read from E
};

// Warnings the calibration is kept with; the user decides.
enum CalibrationWarning {
    CALIBRATION_SLOPE_OUT_OF_RANGE = 1,  // slope outside MIN_SLOPE_PERCENT..MAX_SLOPE_PERCENT
    CALIBRATION_RESIDUAL_TOO_LARGE = 2,  // a buffer reads more than MAX_RESIDUAL_PH off its pH
};

// The least-squares line E = e0 + slope * pH through the buffers.
struct Calibration {
    CalibrationStatus status = CALIBRATION_BUFFER_COUNT;
    double e0 = 0.0;               // mV at pH 0
    double slope = 0.0;            // mV per pH, negative for a glass electrode
    double mean_celsius = 0.0;     // of the buffers
    double slope_percent = 0.0;    // |slope| in % of the Nernst slope at mean_celsius
    double ph_at_zero_mv = 0.0;    // the zero point, -e0 / slope
    double mv_at_ph7 = 0.0;        // e0 + 7 slope
    std::vector<double> residuals;  // pH read from each buffer's E minus its pH; 3+ buffers only
    int warnings = 0;               // CalibrationWarning flags

    bool ok() const { return status == CALIBRATION_OK; }
    // The pH the calibration reads from `mv`.
    double ph_of(double mv) const { return (mv - e0) / slope; }
};

Calibration calibrate(const CalibrationBuffer* buffers, int count);

// The points (V, E in mV) as (V, pH); an undefined E stays undefined. The calibration must be ok().
std::vector<ext_float_pair> convert_to_ph(const Calibration& calibration, const ext_float_pair* points, int n);

// ---- Reading a curve -------------------------------------------------------------------------

// A volume, or none: the curve never reaches the value or the volume cannot be computed.
struct CurveReading {
    bool found = false;
    double value = 0.0;
};

// The volume at which the curve first reaches `set_value`: a point's volume when it lies exactly
// there, otherwise interpolated linearly between the first two neighbouring points on either
// side of it.
CurveReading set_value_end_point(const ext_float_pair* points, int n, double set_value);

// The curve's value at `volume`, interpolated linearly between the points around it; none
// outside the curve's volumes.
CurveReading value_at_volume(const ext_float_pair* points, int n, double volume);

// ---- Half-neutralisation ---------------------------------------------------------------------

enum PkaStatus {
    PKA_OK,
    PKA_NO_EQUIVALENCE,   // the equivalence volume is not above the previous one (or zero)
    PKA_OUTSIDE_CURVE,    // the half-neutralisation volume lies outside the measured volumes
};

struct HalfNeutralisation {
    PkaStatus status = PKA_NO_EQUIVALENCE;
    double volume = 0.0;  // where the pH was read
    double pka = 0.0;     // the pH there: the apparent pKa
};

// The pH halfway to the equivalence volume `v_ep` from the previous one, `v_previous` (0 for
// the first equivalence point).
HalfNeutralisation half_neutralisation(const ext_float_pair* points, int n, double v_ep, double v_previous);

// ---- Gran plot -------------------------------------------------------------------------------

constexpr double DEFAULT_PKW = 14.00;  // at 25 °C, as the equilibrium textbooks round it

// pKw at `celsius`, interpolated in a table for 0 to 60 °C (held at its ends outside).
double pkw_at(double celsius);

enum GranFunction {
    GRAN_AFTER_EP,      // the titrant's excess, for strong and weak analytes alike
    GRAN_BEFORE_STRONG, // the analyte left, for a strong acid or base
    GRAN_BEFORE_WEAK,   // the weak acid or base left (the slope is -Ka or -Kb)
};

enum Titrand { TITRAND_UNKNOWN, TITRAND_ACID, TITRAND_BASE };

// An acid when the pH rises along the curve, a base when it falls.
Titrand titrand_of(const ext_float_pair* points, int n);

// The Gran function at the point (volume, ph) for V0 ml of a titrand.
double gran_value(GranFunction function, Titrand titrand, double v0, double volume, double ph, double pkw);
// The whole curve as (V, F); undefined where the pH is.
std::vector<ext_float_pair> gran_curve(const ext_float_pair* points, int n, GranFunction function,
                                       Titrand titrand, double v0, double pkw);

struct VolumeRange {
    double from, to;
};
// After the equivalence point: 1.05 to 1.5 V_EP, cut at the curve's end; before it: 0.2 to 0.9 V_EP.
VolumeRange default_gran_range(GranFunction function, double v_ep, double v_end);

enum GranStatus {
    GRAN_OK,
    GRAN_NO_DIRECTION,  // the pH neither rises nor falls along the curve
    GRAN_TOO_FEW_POINTS, // fewer than three points in the range, or one volume: no line with an error
    GRAN_FLAT,           // the line never reaches F = 0
};

// The least-squares line F = intercept + slope V over the range and where it reaches F = 0.
struct GranLine {
    GranStatus status = GRAN_TOO_FEW_POINTS;
    Titrand titrand = TITRAND_UNKNOWN;
    int points = 0;
    double intercept = 0.0;
    double slope = 0.0;
    double end_point = 0.0;  // ml
    double u = 0.0;          // the standard error of end_point, ml
    // For GRAN_BEFORE_WEAK: Ka of the acid or Kb of the base, -slope, and its pKa (for a base
    // the pKa of its conjugate acid, pKw - pKb); NaN when the line does not fall.
    double k = 0.0;
    double pka = 0.0;

    bool ok() const { return status == GRAN_OK; }
};

GranLine fit_gran(const ext_float_pair* points, int n, GranFunction function, double v0, double pkw,
                  VolumeRange range);
