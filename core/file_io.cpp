#include "core/file_io.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace {

const char HEADER[] = "# Titrionika 2.0";
const char EOL[] = "\r\n";
// A line is read in pieces of this many bytes at most; the rest of a longer line is the next
// piece, read as a line of its own (as fgets with a buffer of 255 bytes reads it).
const std::size_t PIECE = 254;
// The file is read and written in blocks of this size.
const std::size_t BLOCK = 1 << 15;

// Bytes 1 .. 32 and every byte with the high bit set separate tokens.
bool is_blank(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u != 0 && (u <= 32 || u >= 128);
}

// What a byte is to the reader: blanks as above, except the LF, which ends a piece; a NUL
// ends the text of its piece as it ends a C string.
enum ByteKind : unsigned char { TOKEN, BLANK, LINE_END, TEXT_END };

struct ByteKinds {
    ByteKind of[256];
    constexpr ByteKinds() : of() {
        for (int c = 0; c < 256; ++c) of[c] = c == 0 ? TEXT_END : c == '\n' ? LINE_END : c <= 32 || c >= 128 ? BLANK : TOKEN;
    }
};
constexpr ByteKinds BYTES;

ByteKind kind(char c) { return BYTES.of[static_cast<unsigned char>(c)]; }

enum class Piece { nothing, point, malformed };

// Reads the piece at `start`: at most `limit` bytes, up to and including an LF. Blank and
// comment pieces hold nothing; a point is the numbers at the start of the first two tokens
// (anything after a number in its token is ignored); one token alone, or tokens that do not
// start with a number, are malformed. Returns the length of the piece.
std::size_t read_piece(const char* start, std::size_t limit, Piece& piece, ext_float_pair& point) {
    const char* const end = start + limit;
    const char* p = start;
    const auto skip = [&p, end](ByteKind what) {
        while (p < end && kind(*p) == what) ++p;
    };
    skip(BLANK);
    piece = Piece::malformed;
    if (p == end || kind(*p) != TOKEN || *p == '#') {
        piece = Piece::nothing;
    } else if ((p = point.vb.read_number(p, end)) != nullptr) {
        // A number never runs past its token: its characters are neither blanks nor ends.
        skip(TOKEN);
        if (p < end && kind(*p) == BLANK) {
            ++p;
            skip(BLANK);
            if ((p = point.e.read_number(p, end)) != nullptr) {
                piece = Piece::point;
                skip(TOKEN);
                skip(BLANK);
            }
        }
    }
    if (piece == Piece::malformed) return limit;  // the reading stops here
    if (p < end && *p == '\n') return static_cast<std::size_t>(p - start) + 1;
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    return lf ? static_cast<std::size_t>(lf - start) + 1 : limit;
}

} // namespace

// The reversed sequence sorted stably; ascending and descending files take one pass.
void order_by_volume(ext_float_pair* const first, ext_float_pair* const last) {
    if (last - first < 2) return;
    // Every volume read is defined: the plain doubles order them.
    const auto less = [](const ext_float_pair& a, const ext_float_pair& b) { return a.vb.value < b.vb.value; };
    bool rising = true, falling = true;
    for (const ext_float_pair* p = first + 1; p < last && (rising || falling); ++p) {
        if (!less(p[-1], *p)) rising = false;
        if (less(p[-1], *p)) falling = false;
    }
    if (rising) return;
    std::reverse(first, last);
    if (!falling) std::stable_sort(first, last, less);
}

namespace {

// Adds a comment piece read before the first point to the description; the header line that
// opens the file is the format's, not the curve's.
void keep_description(const char* start, std::size_t length, bool first_piece, std::string& description) {
    std::size_t text = 0;
    while (text < length && kind(start[text]) == BLANK) ++text;
    if (text == length || start[text] != '#') return;  // a blank line
    std::size_t end = 0;
    while (end < length && kind(start[end]) != LINE_END && kind(start[end]) != TEXT_END) ++end;
    if (end > 0 && start[end - 1] == '\r') --end;
    const std::string line(start, end);
    if (first_piece && line == HEADER) return;
    description += line;
    description += '\n';
}

bool same_double(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Powers of ten that a double holds exactly.
const double EXACT_POWERS[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                               1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// printf's %.<precision>g of the decimal 0.d1d2...dn * 10^(exponent + 1), whose `count`
// digits end in no zero and number at most `precision`: fixed notation for exponents from -4
// to precision - 1, else d1.d2...dn e+XX, the exponent of at least two digits.
char* put_g(char* out, bool negative, const char* digits, int count, int exponent, int precision) {
    if (negative) *out++ = '-';
    if (exponent < -4 || exponent >= precision) {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = '.';
            for (int i = 1; i < count; ++i) *out++ = digits[i];
        }
        *out++ = 'e';
        *out++ = exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude >= 100) *out++ = static_cast<char>('0' + magnitude / 100);
        *out++ = static_cast<char>('0' + magnitude / 10 % 10);
        *out++ = static_cast<char>('0' + magnitude % 10);
    } else if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        for (int i = -1; i > exponent; --i) *out++ = '0';
        for (int i = 0; i < count; ++i) *out++ = digits[i];
    } else {
        for (int i = 0; i <= exponent; ++i) *out++ = i < count ? digits[i] : '0';
        if (count > exponent + 1) {
            *out++ = '.';
            for (int i = exponent + 1; i < count; ++i) *out++ = digits[i];
        }
    }
    return out;
}

// The digits (no trailing zero) and decimal exponent of a normal magnitude that at most six
// significant digits give exactly, those digits within 22 places of the units; false for any
// other. The digits rounded in double arithmetic are only a guess, taken once the decimal
// reads back as the magnitude (reading it is one correctly rounded operation).
bool six_digits(double magnitude, char (&digits)[8], int& count, int& exponent) {
#if FLT_EVAL_METHOD != 0
    // Wider intermediate results (x87) would round twice: no reading to compare with.
    (void)magnitude, (void)digits, (void)count, (void)exponent;
    return false;
#else
    if (!(magnitude >= 1e-17 && magnitude < 1e27)) return false;
    const int scale = static_cast<int>(std::floor(std::log10(magnitude))) - 5;
    const double scaled = scale < 0 ? magnitude * EXACT_POWERS[-scale] : magnitude / EXACT_POWERS[scale];
    const double rounded = std::nearbyint(scaled);
    if (!(rounded >= 1.0 && rounded < 1e6)) return false;
    const double back = scale < 0 ? rounded / EXACT_POWERS[-scale] : rounded * EXACT_POWERS[scale];
    if (!same_double(back, magnitude)) return false;
    unsigned long m = static_cast<unsigned long>(rounded);
    char text[8];
    int n = 0;
    for (; m != 0; m /= 10) text[n++] = static_cast<char>('0' + m % 10);
    exponent = n - 1 + scale;
    count = 0;
    for (int i = n - 1; i >= 0; --i) digits[count++] = text[i];
    while (count > 1 && digits[count - 1] == '0') --count;
    return true;
#endif
}

} // namespace

// Writes `value` as printf's %.<p>g would with the least precision p from 6 to 17 whose text
// reads back as exactly the same double: what %g wrote before whenever six digits suffice,
// and every value kept. Returns the end of the text.
char* put_number(char* out, char* out_end, double value) {
    if (!std::isfinite(value)) return out + std::snprintf(out, static_cast<std::size_t>(out_end - out), "%g", value);
    const bool negative = std::signbit(value);
    if (value == 0.0) return put_g(out, negative, "0", 1, 0, 6);
    char six[8];
    int count = 0, exponent = 0;
    if (std::isnormal(value) && six_digits(std::fabs(value), six, count, exponent))
        return put_g(out, negative, six, count, exponent, 6);
    // The shortest text that reads back, d.ddde+XX: a smaller precision cannot read back.
    char shortest[32];
    const char* shortest_end = std::to_chars(shortest, shortest + sizeof shortest, std::fabs(value),
                                             std::chars_format::scientific).ptr;
    char digits[24];
    count = 0;
    const char* p = shortest;
    for (; *p != 'e'; ++p) {
        if (*p != '.') digits[count++] = *p;
    }
    std::from_chars(p + (p[1] == '+' ? 2 : 1), shortest_end, exponent);
    // Up to 15 digits only one decimal of that many digits lies within half a unit of a
    // normal double, so printf's rounding to them gives these digits; at 17 digits the
    // rounded decimal always reads back, so it is the one closest to the value, as these are.
    const int precision = count < 6 ? 6 : count;
    if ((count <= 15 && std::isnormal(value)) || count == 17)
        return put_g(out, negative, digits, count, exponent, precision);
    char* end = std::to_chars(out, out_end, value, std::chars_format::general, precision).ptr;
    if (precision == count) {
        // printf's rounding to these many digits reads back only when it gives these digits
        // (the closest decimal of that many digits that reads back); if not, one more does.
        char these[32];
        const char* these_end = put_g(these, negative, digits, count, exponent, precision);
        if (end - out == these_end - these && std::memcmp(out, these, static_cast<std::size_t>(end - out)) == 0)
            return end;
        return std::to_chars(out, out_end, value, std::chars_format::general, precision + 1).ptr;
    }
    // A subnormal of few digits: several decimals of six digits may read back as it.
    for (int more = precision;; end = std::to_chars(out, out_end, value, std::chars_format::general, ++more).ptr) {
        ext_float back;
        if (more >= 17 || (back.parse(out, end) && same_double(back.value, value))) return end;
    }
}

std::string point_text(const ext_float_pair& point) {
    std::string text;
    for (const double value : {point.vb.value, point.e.value}) {
        // %f of the largest double takes 317 characters.
        char number[320];
        const int length = std::snprintf(number, sizeof number, "%f", value);
        ext_float back;
        const bool exact = length > 0 && length < static_cast<int>(sizeof number) &&
                           back.parse(number, number + length) && same_double(back.value, value);
        if (!text.empty()) text += '\t';
        text.append(number, exact ? number + length : put_number(number, number + sizeof number, value));
    }
    return text;
}

namespace {

// Collects the bytes of the file and writes them a block at a time.
class BlockWriter {
public:
    explicit BlockWriter(std::FILE* file) : file_(file), used_(0), ok_(true) {}
    // Room for `bytes` more.
    char* room(std::size_t bytes) {
        if (used_ + bytes > sizeof block_) flush();
        return block_ + used_;
    }
    void write(const char* data, std::size_t length) {
        while (length > 0) {
            const std::size_t part = std::min(length, sizeof block_);
            std::memcpy(room(part), data, part);
            used_ += part;
            data += part;
            length -= part;
        }
    }
    void put(const char* text) { write(text, std::strlen(text)); }
    void advance(char* end) { used_ = static_cast<std::size_t>(end - block_); }
    char* end() { return block_ + sizeof block_; }
    bool flush() {
        if (ok_ && used_ && std::fwrite(block_, 1, used_, file_) != used_) ok_ = false;
        used_ = 0;
        return ok_;
    }

private:
    std::FILE* file_;
    std::size_t used_;
    bool ok_;
    char block_[BLOCK];
};

// Room for a line: two numbers of at most 24 characters, a TAB and the EOL.
const std::size_t LONGEST_LINE = 2 * 32 + 3;

bool write_points(std::FILE* f, const dyn_array_direct<ext_float_pair>& points, const std::string& description) {
    BlockWriter out(f);
    out.put(HEADER);
    out.put(EOL);
    for (std::size_t line = 0; line < description.size();) {
        std::size_t end = description.find('\n', line);
        if (end == std::string::npos) end = description.size();
        // Every description line is a comment, whatever it was given as.
        std::size_t text = line;
        while (text < end && kind(description[text]) == BLANK) ++text;
        if (text == end || description[text] != '#') out.put("# ");
        out.write(description.data() + line, end - line);
        out.put(EOL);
        line = end + 1;
    }
    out.put(EOL);
    for (int i = 0; i < points.size(); ++i) {
        const ext_float_pair& p = points.items[i];
        char* pos = out.room(LONGEST_LINE);
        pos = put_number(pos, out.end(), p.vb.value);
        *pos++ = '\t';
        pos = put_number(pos, out.end(), p.e.value);
        *pos++ = '\r';
        *pos++ = '\n';
        out.advance(pos);
    }
    return out.flush();
}

} // namespace

char* strip_eol(char* line) {
    if (char* lf = std::strchr(line, '\n')) *lf = '\0';
    return line;
}

char* skip_ws(char* pos) {
    while (is_blank(*pos)) ++pos;
    return pos;
}

char* seek(char* pos) {
    while (*pos && !is_blank(*pos)) ++pos;
    return pos;
}

bool internal_save(const char* path, const dyn_array_direct<ext_float_pair>& points, const std::string& description,
                   WriteFailure* failure) {
    return write_file_safely(path, [&](std::FILE* f) { return write_points(f, points, description); }, failure);
}

bool internal_read(const char* path, dyn_array_direct<ext_float_pair>& points, std::string* description) {
    // Binary mode: the same bytes on every platform (CR is a blank anyway, and a Ctrl+Z in
    // the file does not end it early).
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    // A block and the unread rest (less than a piece) of the one before.
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[BLOCK + PIECE]);
    points.flush();
    if (description) description->clear();
    bool first_piece = true;
    bool ok = buffer != nullptr;
    std::size_t have = 0, pos = 0;
    bool at_end = false;
    while (ok) {
        if (!at_end && have - pos < PIECE) {
            std::memmove(buffer.get(), buffer.get() + pos, have - pos);
            have -= pos;
            pos = 0;
            const std::size_t got = std::fread(buffer.get() + have, 1, BLOCK, f);
            have += got;
            at_end = got < BLOCK;  // the end of the file or a read error
        }
        if (pos == have) break;
        const std::size_t available = have - pos;
        Piece piece;
        ext_float_pair point;
        const char* start = buffer.get() + pos;
        const std::size_t length = read_piece(start, available < PIECE ? available : PIECE, piece, point);
        pos += length;
        if (description && piece == Piece::nothing && points.is_empty())
            keep_description(start, length, first_piece, *description);
        first_piece = false;
        if (piece == Piece::point)
            ok = points.append(point) >= 0;
        else if (piece == Piece::malformed)
            ok = false;
    }
    if (std::ferror(f)) ok = false;
    std::fclose(f);
    order_by_volume(points.items, points.items + points.size());
    return ok;
}
