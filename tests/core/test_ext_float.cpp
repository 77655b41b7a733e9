#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "core/ext_float.h"

namespace {

std::string Format(const ext_float& x, int precision, bool comma, int width = 0) {
    char text[EXT_FLOAT_TEXT];
    x.format(text, width, precision, comma);
    return text;
}

ext_float Parsed(const char* text) {
    ext_float x(-7.0);
    x.parse(text);
    return x;
}

const ext_float UNDEF(0.0, true);

} // namespace

TEST(ExtFloatArithmetic, UndefinedOperandsAndZeroDivisorGiveUndefinedZero) {
    const ext_float one(1.0), two(2.0), three(3.0);
    for (const ext_float& r : {UNDEF + three, three - UNDEF, UNDEF * UNDEF, one / ext_float(0.0),
                               one / ext_float(-0.0), UNDEF / two}) {
        EXPECT_TRUE(r.undefined);
        EXPECT_EQ(0.0, r.value);
    }
    const ext_float zero = ext_float(0.0) / ext_float(5.0);
    EXPECT_FALSE(zero.undefined);
    EXPECT_EQ(0.0, zero.value);
    EXPECT_EQ(0.1 + 0.2, (ext_float(0.1) + ext_float(0.2)).value);
    EXPECT_EQ(7.0 / 3.0, (ext_float(7.0) / ext_float(3.0)).value);
    EXPECT_EQ(-1.5, (ext_float(2.0) - ext_float(3.5)).value);
}

TEST(ExtFloatComparison, UndefinedEqualsEverythingAndOrdersNothing) {
    EXPECT_TRUE(UNDEF == ext_float(3.0));
    EXPECT_TRUE(ext_float(3.0) == UNDEF);
    EXPECT_FALSE(UNDEF < ext_float(3.0));
    EXPECT_FALSE(UNDEF > ext_float(3.0));
    EXPECT_FALSE(ext_float(3.0) < UNDEF);
    EXPECT_TRUE(ext_float(2.0) < ext_float(3.0));
    EXPECT_FALSE(ext_float(3.0) < ext_float(3.0));
    EXPECT_TRUE(ext_float(3.0) > ext_float(-3.0));
    EXPECT_FALSE(ext_float(3.0) == ext_float(3.0000001));
    EXPECT_TRUE(ext_float(0.0) == ext_float(-0.0));
}

TEST(ExtFloatFormat, FixedNotationPrecisionAndComma) {
    EXPECT_EQ("12,500", Format(12.5, 3, true));
    EXPECT_EQ("12.500", Format(12.5, 3, false));
    EXPECT_EQ("-0,2500", Format(-0.25, 4, true));
    EXPECT_EQ("-0.2500", Format(-0.25, 4, false));
    EXPECT_EQ("8", Format(7.6, 0, true));
    EXPECT_EQ("8", Format(7.6, 0, false));
    EXPECT_EQ("0,00", Format(ext_float(), 2, true));
    EXPECT_EQ("0.00", Format(ext_float(), 2, false));
    EXPECT_EQ("1234567,0", Format(1234567.0, 1, true));
    EXPECT_EQ("  1,50", Format(1.5, 2, true, 6));
    EXPECT_EQ("2,6875", Format(2.6875, 4, true));
    // Correct rounding of the binary value: 2.675 is stored as 2.67499999...
    EXPECT_EQ("2.67", Format(2.675, 2, false));
    EXPECT_EQ("0.125", Format(0.125, 3, false));
}

TEST(ExtFloatFormat, UndefinedIsAStarWhateverTheWidth) {
    EXPECT_EQ("*", Format(UNDEF, 4, true));
    EXPECT_EQ("*", Format(UNDEF, 0, false, 10));
}

TEST(ExtFloatFormat, NeverWritesPastTheBuffer) {
    char text[40 + 8];
    std::memset(text, 'Z', sizeof text);
    ext_float(1e308).format(text, 40, 0, 400, true);
    EXPECT_EQ(39u, std::strlen(text));
    EXPECT_EQ(0, std::strncmp(text, "100000000000000001097906362944045541740", 39));
    for (int i = 40; i < 48; ++i) EXPECT_EQ('Z', text[i]) << i;

    char big[EXT_FLOAT_TEXT];
    ext_float(-1e308).format(big, 0, 2000000000, false);
    EXPECT_EQ(EXT_FLOAT_TEXT - 1, std::strlen(big));
    EXPECT_EQ('-', big[0]);

    char tiny[1] = {'Z'};
    ext_float(5.0).format(tiny, 1, 0, 2, true);
    EXPECT_EQ('\0', tiny[0]);
}

TEST(ExtFloatParse, DecimalNotationWithCommaOrPoint) {
    EXPECT_EQ(2.5, Parsed("2,5").value);
    EXPECT_EQ(2.5, Parsed("2.5").value);
    EXPECT_EQ(12.0, Parsed("12abc").value);
    EXPECT_EQ(1.0, Parsed("1,000.5").value);
    EXPECT_EQ(350.0, Parsed(" 3.5e2 mV").value);
    EXPECT_EQ(350.0, Parsed("\t3.5E+2mV").value);
    EXPECT_EQ(-0.5, Parsed("-.5").value);
    EXPECT_EQ(5.0, Parsed("+5.").value);
    EXPECT_EQ(1.234e-5, Parsed("1.234e-05").value);
    EXPECT_EQ(1.0, Parsed("1e").value);
    EXPECT_EQ(1.0, Parsed("1e+x").value);
    EXPECT_EQ(0.1, Parsed("0.1").value);
    EXPECT_EQ(123456.789, Parsed("123456,789").value);
    EXPECT_EQ(-0.5, Parsed(" -,5").value);
    EXPECT_EQ(0.30000000000000004, Parsed("0.30000000000000004").value);
    // Underflow reads as strtod gives it: a subnormal, or zero keeping its sign.
    EXPECT_EQ(4.9406564584124654e-324, Parsed("4.9e-324").value);
    EXPECT_EQ(0.0, Parsed("1e-400").value);
    EXPECT_TRUE(std::signbit(Parsed("-1e-400").value));
    EXPECT_TRUE(std::signbit(Parsed("-0").value));
    const char digits[] = "12,75";
    ext_float part;
    EXPECT_TRUE(part.parse(digits, digits + 4));
    EXPECT_EQ(12.7, part.value);
    ext_float x(9.0, true);
    EXPECT_TRUE(x.parse("12.5ml"));
    EXPECT_FALSE(x.undefined);
    EXPECT_EQ(12.5, x.value);
}

TEST(ExtFloatParse, NonDecimalTextsLeaveTheNumberUndefined) {
    for (const char* text : {"", "   ", "abc", "inf", "-INF", "nan", "NaN(1)", "infinity", "0x1p3", "0X10", "-0x8",
                             ".", "-", "+.", ",", "e5", ";", "1e999", "-1e400"}) {
        ext_float x(4.0);
        EXPECT_FALSE(x.parse(text)) << text;
        EXPECT_TRUE(x.undefined) << text;
        EXPECT_EQ(4.0, x.value) << "value kept for " << text;
    }
}
