// The electrode calibration dialog and the conversion of an mV document to pH.
#include <cstring>
#include "app/calibration.h"
#include "export/html_export.h"
#include "resources/resource.h"
#include "settings/config.h"
#include "tests/app/app_test.h"
#include "tests/support/testui.h"
namespace apptest {
namespace {
struct Calibrations : AppTest {
    void SetUp() override { AppTest::SetUp(), Forget(); }
    void TearDown() override { Forget(), AppTest::TearDown(); }
    static void Forget() {
        calibration_buffers[0] = calibration_date[0] = '\0', document.quantity = Quantity::mv,
        document.description.clear();
    }
};
void Row(HWND dlg, int row, const char* ph, const char* mv, const char* t) {
    testui::SetText(dlg, IDC_CAL_PH1 + row, ph), testui::SetText(dlg, IDC_CAL_MV1 + row, mv),
        testui::SetText(dlg, IDC_CAL_T1 + row, t);
}
bool MenuEnabled(UINT id) {
    SendMessageA(main_window.dialog, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetMenu(main_window.dialog)), 0);
    return !(GetMenuState(GetMenu(main_window.dialog), id, MF_BYCOMMAND) & MF_GRAYED);
}
}  // namespace

// E = 406 − 58 pH at 25 °C, the pH 7 buffer 3,48 mV high; the numbers by hand in
// tests/core/test_ph_calibration.cpp: −58,00 mV/pH, 98,0 %, pH 7,02 at 0 mV, residuals +0,020, −0,040, +0,020.
TEST_F(Calibrations, DialogShowsTheResultRefusesBadRowsAndAsksAboutAWarning) {
    testui::ModalScript script;
    std::string result, reopened;
    script.call([&](HWND dlg) {
        Row(dlg, 0, "4,01", "173,42", "25"), Row(dlg, 1, "7", "3,48", "25"), Row(dlg, 2, "10,01", "-174,58", "25");
        testui::Press(dlg, IDC_CAL_COMPUTE);
        result = testui::ItemText(dlg, IDC_CAL_RESULT);
        testui::SetText(dlg, IDC_CAL_PH4, "9"), testui::Press(dlg, IDOK);  // half filled
        testui::SetText(dlg, IDC_CAL_PH4, ""), testui::SetText(dlg, IDC_CAL_MV2, "x"), testui::Press(dlg, IDOK);
        testui::SetText(dlg, IDC_CAL_MV2, "3,48"), testui::SetText(dlg, IDC_CAL_T3, "150"), testui::Press(dlg, IDOK);
        testui::SetText(dlg, IDC_CAL_T3, "25"), testui::Press(dlg, IDOK);
    });
    for (int k = 0; k < 3; ++k) script.press(IDOK);
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_CALIBRATION, 0);
    EXPECT_EQ(result,
              "Směrnice: -58,00 mV/pH, 98,0 % Nernstovy směrnice (59,16 mV/pH při 25,0 °C)\n"
              "Nulový bod: pH 7,02 při 0 mV; při pH 7 je E = 1,2 mV\n"
              "Odchylky [pH]: 1. pufr +0,020, 2. pufr -0,040, 3. pufr +0,020\n");
    ASSERT_EQ(script.seen().size(), 4u);
    EXPECT_NE(script.seen()[1].text.find("4. pufr je vyplněn jen zčásti: chybí E [mV]"), std::string::npos);
    EXPECT_EQ(script.seen()[2].text, "Zadejte číslo: 2. pufr, E [mV]");
    EXPECT_EQ(script.seen()[3].text, "Zadejte teplotu od 0 do 100 °C: 3. pufr, t [°C]");
    EXPECT_STREQ(calibration_buffers, "4.01 173.42 25; 7 3.48 25; 10.01 -174.58 25");
    EXPECT_EQ(std::strlen(calibration_date), 16u);  // "2026-12-07 11:30"
    // Again: the stored buffers; all pH equal is refused; −55 mV/pH (93,0 %) is kept only on "Ano".
    testui::ModalScript again;
    again.call([&](HWND dlg) {
        reopened = testui::ItemText(dlg, IDC_CAL_MV2) + "|" + testui::ItemText(dlg, IDC_CAL_RESULT);
        Row(dlg, 0, "7", "165", "25"), Row(dlg, 2, "", "", ""), testui::Press(dlg, IDOK);
        Row(dlg, 0, "4", "165", "25"), Row(dlg, 1, "7", "0", "25"), testui::Press(dlg, IDOK), testui::Press(dlg, IDOK);
    });
    again.press(IDOK).press(IDNO).press(IDYES);
    const std::string stored = calibration_date;  // the new calibration below takes a later date
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_CALIBRATION, 0);
    EXPECT_EQ(reopened.rfind("3,48|Uložená kalibrace z " + stored + ":\nSměrnice: -58,00", 0), 0u) << reopened;
    ASSERT_EQ(again.seen().size(), 4u);
    EXPECT_NE(again.seen()[1].text.find("stejné pH"), std::string::npos);
    EXPECT_NE(again.seen()[2].text.find("Pozor: směrnice leží mimo 95–102 % Nernstovy směrnice."), std::string::npos);
    EXPECT_STREQ(calibration_buffers, "4 165 25; 7 0 25");
    // Storno keeps the stored calibration.
    testui::ModalScript cancel;
    cancel.call([](HWND dlg) { Row(dlg, 0, "1", "1", "1"), testui::Press(dlg, IDCANCEL); });
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_CALIBRATION, 0);
    EXPECT_STREQ(calibration_buffers, "4 165 25; 7 0 25");
}

// E = 406 − 58 pH: 174, 58, −29 and −116 mV are pH 4, 6, 7,5 and 9.
TEST_F(Calibrations, ConversionMakesANewPhDocumentAndLeavesTheOriginal) {
    Load({{1, 174}, {2, 58}, {3, -29}, {4, -116}});
    EXPECT_FALSE(MenuEnabled(IDM_CONVERT_PH));  // no calibration yet
    std::strcpy(calibration_buffers, "4 174 25; 10 -174 25"), std::strcpy(calibration_date, "2026-12-07 11:30");
    EXPECT_TRUE(MenuEnabled(IDM_CONVERT_PH));
    ScratchDir dir;
    const std::string original = dir.path("puvodni.tid"), report = dir.path("prevedeno.htm");
    document.description = "# HCl s NaOH\n", document.file_name = original, document.name_automatic = false;
    ASSERT_TRUE(document.Save(original.c_str()));
    const std::string bytes = ReadFile(original);
    document.changed = true;  // unsaved changes: Storno keeps everything as it is
    testui::ModalScript script;
    script.press(IDCANCEL).press(IDNO);
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_CONVERT_PH, 0);
    EXPECT_TRUE(document.changed && document.file_name == original && document.quantity == Quantity::mv);
    EXPECT_EQ(Document(), (Points{{1, 174}, {2, 58}, {3, -29}, {4, -116}}));
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_CONVERT_PH, 0);  // "Ne": not saved
    ASSERT_EQ(script.seen().size(), 2u);
    EXPECT_EQ(ReadFile(original), bytes);
    EXPECT_EQ(Document(), (Points{{1, 4}, {2, 6}, {3, 7.5}, {4, 9}}));
    EXPECT_TRUE(document.quantity == Quantity::ph && document.name_automatic && document.changed);
    EXPECT_FALSE(document.history.CanUndo());
    EXPECT_EQ(document.description,
              "# HCl s NaOH\n# Převedeno z mV na pH: puvodni.tid\n# Kalibrace elektrody 2026-12-07 11:30: "
              "směrnice -58,00 mV/pH, 98,0 % Nernstovy směrnice (59,16 mV/pH při 25,0 °C), nulový bod "
              "pH 7,00 při 0 mV; při pH 7 je E = 0,0 mV\n");
    ASSERT_TRUE(internal_export_html(document, report.c_str(), "Převedeno", false));
    EXPECT_NE(
        ReadFile(report).find(
            "<P>P\xF8"
            "evedeno z mV na pH: puvodni.tid</P>\r\n<P>Kalibrace elektrody 2026-12-07 11:30: sm\xECrnice -58,00 mV/pH"),
        std::string::npos);
    // A pH document is not converted again; the command says why.
    EXPECT_FALSE(MenuEnabled(IDM_CONVERT_PH));
    testui::ModalScript refused;
    refused.press(IDOK);
    SendMessageA(main_window.dialog, WM_COMMAND, IDM_CONVERT_PH, 0);
    ASSERT_EQ(refused.seen().size(), 1u);
    EXPECT_EQ(refused.seen()[0].text, "Dokument už je v pH.");
}
}  // namespace apptest
