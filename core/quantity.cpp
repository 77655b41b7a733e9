#include "core/quantity.h"

#include "core/file_io.h"

namespace {

const char LINE_PREFIX[] = "# Veličina =";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// "pH" or "mV" when `line` is a quantity line, else null.
const char* QuantityOfLine(const std::string& line, Quantity& quantity) {
    if (line.compare(0, sizeof LINE_PREFIX - 1, LINE_PREFIX) != 0) return nullptr;
    std::size_t first = sizeof LINE_PREFIX - 1, last = line.size();
    while (first < last && IsBlank(line[first])) ++first;
    while (last > first && (IsBlank(line[last - 1]) || line[last - 1] == '\n')) --last;
    const std::string name = line.substr(first, last - first);
    if (name == "pH") quantity = Quantity::ph;
    else if (name == "mV") quantity = Quantity::mv;
    else return nullptr;
    return QuantityUnit(quantity);
}

} // namespace

const char* QuantityUnit(Quantity quantity) { return quantity == Quantity::ph ? "pH" : "mV"; }

std::string DecimalCommaText(double value) {
    char text[40];
    char* end = put_number(text, text + sizeof text, value);
    std::string s(text, end);
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

std::string QuantityValueText(Quantity quantity, double value) {
    return quantity == Quantity::ph ? "pH " + DecimalCommaText(value) : DecimalCommaText(value) + " mV";
}

std::string QuantityLine(Quantity quantity) {
    return quantity == Quantity::ph ? std::string(LINE_PREFIX) + " pH\n" : std::string();
}

Quantity SplitQuantity(std::string& description) {
    Quantity quantity = Quantity::mv;
    std::string rest;
    for (std::size_t start = 0; start < description.size();) {
        std::size_t end = description.find('\n', start);
        end = end == std::string::npos ? description.size() : end + 1;
        const std::string line = description.substr(start, end - start);
        start = end;
        Quantity named;
        if (QuantityOfLine(line, named)) quantity = named;
        else rest += line;
    }
    description.swap(rest);
    return quantity;
}
