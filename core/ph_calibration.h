// The electrode calibration as the program keeps and words it: its buffers as one line of the
// settings file, its result as the calibration dialog shows it, and the notes that a document
// converted to pH with it carries in its description.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/dyn_array_direct.h"
#include "core/ph.h"

// The buffers as "pH E t" triples joined by "; ", numbers with a decimal point that read back
// exactly ("4.01 171.3 25; 7 0.5 25").
std::string CalibrationBuffersText(const std::vector<CalibrationBuffer>& buffers);
// Back from that text; false (and `buffers` as it was) unless it holds 2 to 5 triples of
// finite numbers and nothing else.
bool ReadCalibrationBuffers(const std::string& text, std::vector<CalibrationBuffer>& buffers);
// The calibration of such a line; none when the line cannot be read or gives no calibration.
std::optional<Calibration> ReadCalibration(const std::string& text);

// The calibration's numbers, one '\n'-ended line each: the slope, the zero point, and for three
// or more buffers the residuals; then a line for each warning.
std::string CalibrationResultText(const Calibration& c, bool comma);
// Only the warning lines ("" without a warning).
std::string CalibrationWarningText(const Calibration& c, bool comma);

// The description of a document converted to pH: the original's lines, then a line naming the
// source and one naming the calibration measured on `date` (its slope, zero point and mean
// temperature), always with the decimal comma as the file's comment lines have it.
std::string ConvertedDescription(const std::string& description, const std::string& source, const Calibration& c,
                                 const std::string& date);
// Those two notes of a description, without their "# ", for the report; none in any other document.
std::vector<std::string> ConversionNotes(const std::string& description);

// The points with every E read as pH through the calibration (which must be ok()); false when
// the array cannot grow (then `ph_points` is empty).
bool ConvertPoints(const Calibration& c, const dyn_array_direct<ext_float_pair>& mv_points,
                   dyn_array_direct<ext_float_pair>& ph_points);
