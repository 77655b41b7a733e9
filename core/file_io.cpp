#include "core/file_io.h"

#include "core/import.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace {

const char HEADER[] = "# Titrionika 2.0";
const char EOL[] = "\r\n";
// The file is written in blocks of this size.
const std::size_t BLOCK = 1 << 15;

// Bytes 1 .. 32 and every byte with the high bit set separate tokens.
bool is_blank(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u != 0 && (u <= 32 || u >= 128);
}

// What a byte is to the reader: blanks as above; a NUL ends the text of its line as it ends
// a C string.
enum ByteKind : unsigned char { TOKEN, BLANK, TEXT_END };

struct ByteKinds {
    ByteKind of[256];
    constexpr ByteKinds() : of() {
        for (int c = 0; c < 256; ++c) of[c] = c == 0 ? TEXT_END : c <= 32 || c >= 128 ? BLANK : TOKEN;
    }
};
constexpr ByteKinds BYTES;

ByteKind kind(char c) { return BYTES.of[static_cast<unsigned char>(c)]; }

enum class Line { nothing, point, malformed, hidden_text };

// Reads the line [start, end), its end excluded. Blank and comment lines hold nothing; a
// point is the numbers at the start of the first two tokens (anything after a number in its
// token is ignored); one token alone, or tokens that do not start with a number, are
// malformed. A line whose text a NUL ends before any token, but with tokens after it, hides
// text: what UTF-16 without a byte order mark looks like.
Line read_line(const char* start, const char* end, ext_float_pair& point) {
    const char* p = start;
    const auto skip = [&p, end](ByteKind what) {
        while (p < end && kind(*p) == what) ++p;
    };
    skip(BLANK);
    if (p < end && kind(*p) == TEXT_END) {
        for (; p < end; ++p)
            if (kind(*p) == TOKEN) return Line::hidden_text;
        return Line::nothing;
    }
    if (p == end || *p == '#') return Line::nothing;
    if ((p = point.vb.read_number(p, end)) == nullptr) return Line::malformed;
    // A number never runs past its token: its characters are neither blanks nor ends.
    skip(TOKEN);
    if (p == end || kind(*p) != BLANK) return Line::malformed;
    skip(BLANK);
    return point.e.read_number(p, end) != nullptr ? Line::point : Line::malformed;
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

// Adds a comment line read before the first point to the description; the header line that
// opens the file is the format's, not the curve's.
void keep_description(const char* start, const char* end, bool first_line, std::string& description) {
    const char* text = start;
    while (text < end && kind(*text) == BLANK) ++text;
    if (text == end || *text != '#') return;  // a blank line
    const char* line_end = start;
    while (line_end < end && kind(*line_end) != TEXT_END) ++line_end;
    if (line_end > start && line_end[-1] == '\r') --line_end;
    const std::string line(start, line_end);
    if (first_line && line == HEADER) return;
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

bool read_whole_file(const char* path, std::string& bytes, ReadError& error, unsigned long long limit) {
    bytes.clear();
    error = ReadError();
    // Binary mode: the same bytes on every platform (a Ctrl+Z does not end the file early).
    std::FILE* f = std::fopen(path, "rb");
    if (!f) {
        error.problem = ReadProblem::cannot_open;
        error.system_error = errno;
        return false;
    }
    try {
        // A file's size, when it has one, saves growing the text by doubling it.
        if (std::fseek(f, 0, SEEK_END) == 0) {
            const long size = std::ftell(f);
            if (size > 0 && static_cast<unsigned long long>(size) <= limit) bytes.reserve(static_cast<std::size_t>(size));
            std::rewind(f);
        }
        char block[BLOCK];
        std::size_t got;
        while (error.problem == ReadProblem::none && (got = std::fread(block, 1, sizeof block, f)) > 0) {
            if (bytes.size() + got > limit) error.problem = ReadProblem::too_large;
            else bytes.append(block, got);
        }
    } catch (const std::bad_alloc&) {
        error.problem = ReadProblem::no_memory;
    }
    if (error.problem == ReadProblem::none && std::ferror(f)) {
        error.problem = ReadProblem::cannot_read;
        error.system_error = errno;
    }
    std::fclose(f);
    if (error.problem != ReadProblem::none) std::string().swap(bytes);
    return error.problem == ReadProblem::none;
}

bool is_data_file(const char* data, std::size_t size) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(data);
    const std::size_t header = sizeof HEADER - 1 - 4;  // up to the version
    if (size >= 2 && ((s[0] == 0xFF && s[1] == 0xFE) || (s[0] == 0xFE && s[1] == 0xFF))) {
        const bool big_endian = s[0] == 0xFE;
        for (std::size_t i = 0; i < header; ++i) {
            const std::size_t at = 2 + 2 * i;
            if (at + 1 >= size || s[at + big_endian] != static_cast<unsigned char>(HEADER[i]) || s[at + !big_endian] != 0)
                return false;
        }
        return true;
    }
    if (size >= 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF) data += 3, size -= 3;
    return size >= header && std::memcmp(data, HEADER, header) == 0;
}

bool internal_read_bytes(const char* data, std::size_t size, dyn_array_direct<ext_float_pair>& points,
                         std::string* description, ReadError* error) {
    ReadError status;
    points.flush();
    if (description) description->clear();
    try {
        // UTF-16 is read as its text in UTF-8, whose bytes beyond ASCII are blanks.
        std::string decoded;
        const unsigned char* s = reinterpret_cast<const unsigned char*>(data);
        if (size >= 2 && ((s[0] == 0xFF && s[1] == 0xFE) || (s[0] == 0xFE && s[1] == 0xFF))) {
            ImportEncoding encoding;
            decoded = import_decode(data, size, encoding);
            data = decoded.data();
            size = decoded.size();
        }
        const char* const end = data + size;
        // A file without any LF ends its lines in CR (as old Macs wrote).
        const char line_end = std::memchr(data, '\n', size) == nullptr ? '\r' : '\n';
        int line = 0, hidden_line = 0;
        for (const char* start = data; start < end && status.problem == ReadProblem::none;) {
            const char* stop = static_cast<const char*>(std::memchr(start, line_end, static_cast<std::size_t>(end - start)));
            if (!stop) stop = end;
            ++line;
            ext_float_pair point;
            switch (read_line(start, stop, point)) {
            case Line::point:
                if (points.append(point) < 0) status.problem = ReadProblem::no_memory;
                break;
            case Line::malformed:
                status.problem = ReadProblem::not_a_point;
                status.line = line;
                break;
            case Line::hidden_text:
                if (hidden_line == 0) hidden_line = line;
                break;
            case Line::nothing:
                if (description && points.is_empty()) keep_description(start, stop, line == 1, *description);
                break;
            }
            start = stop + 1;
        }
        if (status.problem == ReadProblem::none && points.is_empty() && hidden_line != 0) {
            status.problem = ReadProblem::no_point;
            status.line = hidden_line;
        }
    } catch (const std::bad_alloc&) {
        status.problem = ReadProblem::no_memory;
    }
    order_by_volume(points.items, points.items + points.size());
    if (error) *error = status;
    return status.problem == ReadProblem::none;
}

bool internal_read(const char* path, dyn_array_direct<ext_float_pair>& points, std::string* description,
                   ReadError* error) {
    ReadError status;
    std::string bytes;
    if (!read_whole_file(path, bytes, status)) {
        if (error) *error = status;
        return false;
    }
    return internal_read_bytes(bytes.data(), bytes.size(), points, description, error);
}
