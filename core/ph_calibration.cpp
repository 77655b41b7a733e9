#include "core/ph_calibration.h"

#include <cmath>
#include <cstdlib>

#include "core/determination_text.h"
#include "core/file_io.h"

namespace {

const char CONVERSION_PREFIX[] = "# Převedeno z mV na pH: ";
const char CALIBRATION_PREFIX[] = "# Kalibrace elektrody ";

std::string Number(double value) {
    char text[40];
    return std::string(text, put_number(text, text + sizeof text, value));
}

bool StartsWith(const std::string& text, std::size_t at, const char* prefix) {
    return text.compare(at, std::char_traits<char>::length(prefix), prefix) == 0;
}

// A value that rounds to zero shows as "0,0", never "-0,0".
std::string Fixed(double value, int decimals, bool comma) {
    const std::string text = FixedText(value, decimals, comma);
    return text.find_first_not_of("-0.,") == std::string::npos ? FixedText(0.0, decimals, comma) : text;
}

// "+0,012" or "-0,012": a residual's sign matters.
std::string SignedText(double value, int decimals, bool comma) {
    const std::string text = Fixed(value, decimals, comma);
    return (text[0] == '-' ? "" : "+") + text;
}

std::string SlopeText(const Calibration& c, bool comma) {
    return Fixed(c.slope, 2, comma) + " mV/pH, " + Fixed(c.slope_percent, 1, comma) +
           " % Nernstovy směrnice (" + Fixed(nernst_slope(c.mean_celsius), 2, comma) + " mV/pH při " +
           Fixed(c.mean_celsius, 1, comma) + " °C)";
}

std::string ZeroPointText(const Calibration& c, bool comma) {
    return "pH " + Fixed(c.ph_at_zero_mv, 2, comma) + " při 0 mV; při pH 7 je E = " +
           Fixed(c.mv_at_ph7, 1, comma) + " mV";
}

}  // namespace

std::string CalibrationBuffersText(const std::vector<CalibrationBuffer>& buffers) {
    std::string text;
    for (const CalibrationBuffer& b : buffers)
        text += (text.empty() ? "" : "; ") + Number(b.ph) + " " + Number(b.mv) + " " + Number(b.celsius);
    return text;
}

bool ReadCalibrationBuffers(const std::string& text, std::vector<CalibrationBuffer>& buffers) {
    std::vector<CalibrationBuffer> read;
    const char* at = text.c_str();
    for (;;) {
        double numbers[3];
        for (double& number : numbers) {
            char* end = nullptr;
            number = std::strtod(at, &end);
            if (end == at || !std::isfinite(number)) return false;
            at = end;
        }
        read.push_back({numbers[0], numbers[1], numbers[2]});
        while (*at == ' ') ++at;
        if (*at == '\0') break;
        if (*at++ != ';') return false;
    }
    if (read.size() < MIN_BUFFERS || read.size() > MAX_BUFFERS) return false;
    buffers.swap(read);
    return true;
}

std::optional<Calibration> ReadCalibration(const std::string& text) {
    std::vector<CalibrationBuffer> buffers;
    if (!ReadCalibrationBuffers(text, buffers)) return std::nullopt;
    const Calibration c = calibrate(buffers.data(), static_cast<int>(buffers.size()));
    if (!c.ok()) return std::nullopt;
    return c;
}

std::string CalibrationWarningText(const Calibration& c, bool comma) {
    std::string text;
    if (c.warnings & CALIBRATION_SLOPE_OUT_OF_RANGE)
        text += "Pozor: směrnice leží mimo " + Fixed(MIN_SLOPE_PERCENT, 0, comma) + "–" +
                Fixed(MAX_SLOPE_PERCENT, 0, comma) + " % Nernstovy směrnice.\n";
    for (std::size_t i = 0; i < c.residuals.size(); ++i)
        if (std::fabs(c.residuals[i]) > MAX_RESIDUAL_PH)
            text += "Pozor: odchylka " + std::to_string(i + 1) + ". pufru přesahuje " +
                    Fixed(MAX_RESIDUAL_PH, 2, comma) + " pH.\n";
    return text;
}

std::string CalibrationResultText(const Calibration& c, bool comma) {
    std::string text = "Směrnice: " + SlopeText(c, comma) + "\nNulový bod: " + ZeroPointText(c, comma) + "\n";
    if (!c.residuals.empty()) {
        text += "Odchylky [pH]:";
        for (std::size_t i = 0; i < c.residuals.size(); ++i)
            text += (i ? ", " : " ") + std::to_string(i + 1) + ". pufr " + SignedText(c.residuals[i], 3, comma);
        text += "\n";
    }
    return text + CalibrationWarningText(c, comma);
}

std::string ConvertedDescription(const std::string& description, const std::string& source, const Calibration& c,
                                 const std::string& date) {
    return description + CONVERSION_PREFIX + source + "\n" + CALIBRATION_PREFIX + date + ": směrnice " +
           SlopeText(c, true) + ", nulový bod " + ZeroPointText(c, true) + "\n";
}

std::vector<std::string> ConversionNotes(const std::string& description) {
    std::vector<std::string> notes;
    for (std::size_t start = 0; start < description.size();) {
        std::size_t end = description.find('\n', start);
        if (end == std::string::npos) end = description.size();
        // The calibration counts only right after the conversion's own line.
        if (StartsWith(description, start, CONVERSION_PREFIX) ||
            (notes.size() == 1 && StartsWith(description, start, CALIBRATION_PREFIX)))
            notes.push_back(description.substr(start + 2, end - start - 2));
        start = end + 1;
    }
    return notes;
}

bool ConvertPoints(const Calibration& c, const dyn_array_direct<ext_float_pair>& mv_points,
                   dyn_array_direct<ext_float_pair>& ph_points) {
    const std::vector<ext_float_pair> converted = convert_to_ph(c, mv_points.items, mv_points.size());
    ph_points.resize(0);
    if (!ph_points.reserve(static_cast<int>(converted.size()))) return false;
    for (const ext_float_pair& p : converted) ph_points.append(p);
    return true;
}
