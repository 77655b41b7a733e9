// The electrode calibration dialog (command IDM_CALIBRATION). The calibration lives in
// titrion2.ini (settings/config.h), so that it outlasts the program; core/ph_calibration.h reads it.
#pragma once

// Opens with the stored buffers; on OK the calibration is stored with the time it was made.
void ShowCalibration();
