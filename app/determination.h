// The determination of the main window's document: its dialog, its result in the status bar,
// and the default that new and imported documents take from titrion2.ini.
#pragma once
#include <optional>
#include <string>

#include "app/main_window.h"
#include "core/determination.h"

// The determination dialog (command IDM_DETERMINATION, Ctrl+M) on the window's document; on
// OK the document takes it and it becomes the default; "Bez stanovení" takes it from both.
// True when the document's determination may have changed: the window shows it again.
bool ShowDetermination();
// The last determination used, if any.
std::optional<Determination> DefaultDetermination();
void RememberDetermination(const Determination& d);
// "Cl-: 35,21 mg/l   (BE 1.: 24,343 ml)", or with "—" and the reason; empty without a
// determination.
std::string ResultStatusText(const Document& doc);
// Puts it in the status bar; without a determination the status bar is left alone.
void ShowResultStatus(MainWindow& window);
// The calculation of the document's result for Details; empty without a determination.
std::string ResultCalculationText(const Document& doc);
