// Fuzz target: a flags byte, a file name up to a LF, then any bytes as a file for titrion-eval.
// Each output format holds up: JSON parses strictly (no nan or inf), every CSV record has the
// header's columns, finite numbers and no name a spreadsheet takes for a formula, and the
// text output holds no control character but its line ends.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

#include "eval/eval.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// A strict JSON reader that only checks the grammar.
class Json {
public:
    explicit Json(const std::string& text) : p_(text.data()), end_(text.data() + text.size()) {}
    bool Document() { return Value() && (Skip(), p_ == end_); }

private:
    void Skip() { while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\r' || *p_ == '\n')) ++p_; }
    bool Eat(char c) { return Skip(), p_ < end_ && *p_ == c ? (++p_, true) : false; }
    bool Digits() {
        const char* start = p_;
        while (p_ < end_ && *p_ >= '0' && *p_ <= '9') ++p_;
        return p_ > start;
    }
    bool Value() {
        if (Eat('[')) {
            if (Eat(']')) return true;
            do if (!Value()) return false;
            while (Eat(','));
            return Eat(']');
        }
        if (Eat('{')) {
            if (Eat('}')) return true;
            do if (!String() || !Eat(':') || !Value()) return false;
            while (Eat(','));
            return Eat('}');
        }
        if (p_ < end_ && *p_ == '"') return String();
        if (end_ - p_ >= 4 && std::memcmp(p_, "null", 4) == 0) return p_ += 4, true;
        if (p_ < end_ && *p_ == '-') ++p_;
        if (p_ < end_ && *p_ == '0') ++p_;
        else if (p_ == end_ || *p_ < '1' || *p_ > '9' || !Digits()) return false;
        if (p_ < end_ && *p_ == '.' && (++p_, !Digits())) return false;
        if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
            ++p_;
            if (p_ < end_ && (*p_ == '+' || *p_ == '-')) ++p_;
            return Digits();
        }
        return true;
    }
    bool String() {
        if (!Eat('"')) return false;
        for (; p_ < end_; ++p_) {
            const unsigned char c = static_cast<unsigned char>(*p_);
            if (c == '"') return ++p_, true;
            if (c < 0x20) return false;
            if (c == '\\' && (++p_ == end_ || !std::strchr("\"\\/bfnrtu", *p_) || *p_ == 0)) return false;
        }
        return false;
    }
    const char* p_;
    const char* end_;
};

// The fields of each CSV record, quotes removed; false on an unclosed quote.
bool CsvRecords(const std::string& text, std::vector<std::vector<std::string>>& records) {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"' && fields.back().empty()) {
            for (++i; i < text.size() && !(text[i] == '"' && (i + 1 == text.size() || text[i + 1] != '"')); ++i)
                fields.back() += text[text[i] == '"' ? i++ : i];
            if (i == text.size()) return false;
        } else if (text[i] == ',') {
            fields.emplace_back();
        } else if (text[i] == '\n') {
            records.push_back(fields);
            fields.assign(1, std::string());
        } else {
            fields.back() += text[i];
        }
    }
    return fields.size() == 1 && fields[0].empty();
}

std::string Written(const EvalOptions& options, const std::string& name) {
    std::FILE* out = std::tmpfile();
    EvalWriter writer(options, out);
    writer.begin();
    writer.file(name, std::vector<sorted_struct>(arr_res.items, arr_res.items + arr_res.size()));
    writer.end();
    std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    Check(std::fread(&text[0], 1, text.size(), out) == text.size());
    std::fclose(out);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t lf = input.find('\n');
    if (lf == std::string::npos) return 0;
    const std::string name = input.substr(0, lf), path = "/tmp/titrion-fuzz-eval-" + std::to_string(getpid());
    std::ofstream(path, std::ios::binary) << input.substr(lf + 1);
    EvalOptions options;
    options.details = data[0] & 1;
    options.recognize = data[0] & 2;
    bool evaluated = false;
    eval_file(path, options, evaluated);
    std::remove(path.c_str());
    if (!evaluated) return 0;
    options.format = EvalFormat::json;
    Check(Json(Written(options, name)).Document());
    options.format = EvalFormat::csv;
    std::vector<std::vector<std::string>> records;
    Check(CsvRecords(Written(options, name), records) && records.size() == 1 + static_cast<std::size_t>(arr_res.size()));
    for (std::size_t r = 1; r < records.size(); ++r) {
        Check(records[r].size() == records[0].size() && !std::strchr("=+-@", records[r][0][0]));
        for (std::size_t f = 2; f < records[r].size(); ++f) {
            char* end = nullptr;
            const double value = std::strtod(records[r][f].c_str(), &end);
            Check(records[r][f].empty() || (*end == 0 && std::isfinite(value)));
        }
    }
    options.format = EvalFormat::text;
    for (unsigned char c : Written(options, name)) Check(c >= 0x20 || c == '\n');
    return 0;
}
