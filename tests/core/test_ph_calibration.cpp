// The calibration's line in titrion2.ini, its wording, and the notes of a converted document.
#include <gtest/gtest.h>

#include "core/ph_calibration.h"

namespace {

// E = 406 − 58 pH at 25 °C, the pH 7 buffer read `offset` mV high. By hand for offset 3,48 mV
// (x̄ = 7,006667, Sxx = 18,000067): slope −58 + 3,48 · (−0,006667)/Sxx = −58,0013 mV/pH, 98,0 %
// of 59,1594 mV/pH; e0 = 406 + 3,48 · 0,335928 = 407,1690 mV, pH 7,020 at 0 mV, 1,160 mV at
// pH 7; E residuals −1,1639, +2,3200, −1,1561 mV, i.e. +0,020, −0,040, +0,020 pH.
std::vector<CalibrationBuffer> Buffers(double offset) {
    return {{4.01, 173.42, 25}, {7.00, offset, 25}, {10.01, -174.58, 25}};
}
Calibration Of(const std::vector<CalibrationBuffer>& b) { return calibrate(b.data(), static_cast<int>(b.size())); }

TEST(PhCalibration, SettingsLineReadsBackAndRefusesEverythingElse) {
    const std::vector<CalibrationBuffer> buffers = {{4.01, 171.3, 25}, {7, -0.1, 24.5}, {9.18, -124.75, 20}};
    EXPECT_EQ(CalibrationBuffersText(buffers), "4.01 171.3 25; 7 -0.1 24.5; 9.18 -124.75 20");
    std::vector<CalibrationBuffer> read;
    ASSERT_TRUE(ReadCalibrationBuffers(CalibrationBuffersText(buffers), read));
    ASSERT_EQ(read.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(read[i].ph == buffers[i].ph && read[i].mv == buffers[i].mv && read[i].celsius == buffers[i].celsius)
            << i;
    for (const char* bad :
         {"", "4.01 171.3 25", "4.01 171.3; 7 0 25", "4.01 171.3 25; 7 0 25;", "4,01 171 25; 7 0 25", "4 1 25; 7 0 x",
          "4 1 25; 7 nan 25", "4 1 25 7 0 25", "1 1 1; 2 2 2; 3 3 3; 4 4 4; 5 5 5; 6 6 6"})
        EXPECT_FALSE(ReadCalibrationBuffers(bad, read)) << bad;
    EXPECT_EQ(read.size(), 3u);  // a refused line leaves the buffers as they were
    EXPECT_TRUE(ReadCalibrationBuffers("4 165 20;7 0 20", read) && read.size() == 2u && read[1].celsius == 20);
    EXPECT_TRUE(ReadCalibrationBuffers("1 1 1; 2 2 2; 3 3 3; 4 4 4; 5 5 5", read) && read.size() == 5u);
}

TEST(PhCalibration, ResultWordingWithResidualsAndWarnings) {
    EXPECT_EQ(CalibrationResultText(Of(Buffers(3.48)), true),
              "Směrnice: -58,00 mV/pH, 98,0 % Nernstovy směrnice (59,16 mV/pH při 25,0 °C)\n"
              "Nulový bod: pH 7,02 při 0 mV; při pH 7 je E = 1,2 mV\n"
              "Odchylky [pH]: 1. pufr +0,020, 2. pufr -0,040, 3. pufr +0,020\n");
    // 6 mV off: the middle buffer reads 0,069 pH off, beyond 0,05.
    EXPECT_EQ(CalibrationWarningText(Of(Buffers(6)), false), "Pozor: odchylka 2. pufru přesahuje 0.05 pH.\n");
    // Two buffers, −55 mV/pH at 20 °C: 94,6 % of 58,167 mV/pH; E at pH 7 exactly 0, no residuals.
    EXPECT_EQ(CalibrationResultText(Of({{4, 165, 20}, {7, 0, 20}}), true),
              "Směrnice: -55,00 mV/pH, 94,6 % Nernstovy směrnice (58,17 mV/pH při 20,0 °C)\n"
              "Nulový bod: pH 7,00 při 0 mV; při pH 7 je E = 0,0 mV\n"
              "Pozor: směrnice leží mimo 95–102 % Nernstovy směrnice.\n");
    // Rounding to zero from below shows no minus sign.
    EXPECT_NE(CalibrationResultText(Of({{4, 174, 25}, {10, -174.0000000001, 25}}), true).find("E = 0,0 mV"),
              std::string::npos);
}

TEST(PhCalibration, ConvertedDocumentNotesTheCalibrationForTheReport) {
    const std::string description =
        ConvertedDescription("# Kyselina octová\n", "octova.tid", Of(Buffers(3.48)), "2026-12-07 11:30");
    EXPECT_EQ(description,
              "# Kyselina octová\n# Převedeno z mV na pH: octova.tid\n# Kalibrace elektrody 2026-12-07 11:30: "
              "směrnice -58,00 mV/pH, 98,0 % Nernstovy směrnice (59,16 mV/pH při 25,0 °C), nulový bod pH 7,02 "
              "při 0 mV; při pH 7 je E = 1,2 mV\n");
    const std::vector<std::string> notes = ConversionNotes(description);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0], "Převedeno z mV na pH: octova.tid");
    EXPECT_EQ(notes[1].rfind("Kalibrace elektrody 2026-12-07 11:30: směrnice -58,00 mV/pH", 0), 0u);
    // A line of the user's own that merely mentions a calibration is no note.
    EXPECT_TRUE(ConversionNotes("# Kalibrace elektrody ráno\n# Titrace\n").empty());
}

}  // namespace
