// A double that may be undefined, and one measured point of a titration curve.
#pragma once
#include <cstddef>

// Enough for every number the program shows; format() never writes past the size it is given.
constexpr std::size_t EXT_FLOAT_TEXT = 128;

class ext_float {
public:
    double value;
    bool undefined;

    ext_float() : value(0.0), undefined(false) {}
    ext_float(double v) : value(v), undefined(false) {}
    ext_float(double v, bool undef) : value(v), undefined(undef) {}

    // Undefined when an operand is (or the divisor is zero); inline, since the evaluation
    // runs them for every point.
    ext_float operator+(const ext_float& b) const {
        return either_undefined(b) ? ext_float(0.0, true) : ext_float(value + b.value);
    }
    ext_float operator-(const ext_float& b) const {
        return either_undefined(b) ? ext_float(0.0, true) : ext_float(value - b.value);
    }
    ext_float operator*(const ext_float& b) const {
        return either_undefined(b) ? ext_float(0.0, true) : ext_float(value * b.value);
    }
    ext_float operator/(const ext_float& b) const {
        return either_undefined(b) || b.value == 0.0 ? ext_float(0.0, true) : ext_float(value / b.value);
    }

    // An undefined number equals everything and is neither less nor greater than anything.
    bool operator==(const ext_float& b) const { return either_undefined(b) || value == b.value; }
    bool operator<(const ext_float& b) const { return !either_undefined(b) && value < b.value; }
    bool operator>(const ext_float& b) const { return !either_undefined(b) && value > b.value; }

    explicit operator bool() const { return !undefined; }
    operator double() const { return value; }

    // Fixed notation with `precision` decimals ("*" when undefined); the text, NUL included,
    // is cut to `text_size` bytes.
    void format(char* text, std::size_t text_size, int width, int precision, bool comma) const;
    template <std::size_t N>
    void format(char (&text)[N], int width, int precision, bool comma) const {
        format(text, N, width, precision, comma);
    }

    // Reads a decimal number from the start of `text` (a decimal comma is accepted); the rest
    // of the text is ignored. Returns true when a number was read.
    bool parse(const char* text);
    // The same for the text [first, last), which need not end in a NUL.
    bool parse(const char* first, const char* last);
    // Reads the decimal number at the very start of [first, last), no white space skipped;
    // returns the end of the number, or null when there is none (the number is then undefined).
    const char* read_number(const char* first, const char* last);

private:
    bool either_undefined(const ext_float& b) const { return undefined || b.undefined; }
};

class ext_float_pair {
public:
    ext_float vb;
    ext_float e;

    ext_float_pair() = default;
    ext_float_pair(const ext_float& vb_, const ext_float& e_) : vb(vb_), e(e_) {}

    ext_float& get_vb() { return vb; }
    ext_float& get_e() { return e; }
    const ext_float& get_vb() const { return vb; }
    const ext_float& get_e() const { return e; }

    // Points are ordered by volume alone.
    bool operator<(const ext_float_pair& b) const { return vb < b.vb; }
};
