// What a document's values are: electrode potentials in mV, or pH. A document keeps it as the
// comment line "# Veličina = pH"; a document without that line is in mV.
#pragma once
#include <string>

enum class Quantity { mv, ph };

const char* QuantityUnit(Quantity quantity);  // "mV" or "pH"

// A value of the quantity as a label: "pH 8,3", "-250 mV" (decimal comma, the digits it needs).
std::string QuantityValueText(Quantity quantity, double value);

// A number with the decimal comma, exact on reading back ("8,3", "0,1").
std::string DecimalCommaText(double value);

// The line that marks a pH document ("" for mV), ended by '\n'.
std::string QuantityLine(Quantity quantity);

// Takes the quantity's lines out of `description`; the quantity they name, mV without one.
Quantity SplitQuantity(std::string& description);
