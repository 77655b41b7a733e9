#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

#include "core/file_io.h"
#include "core/import.h"
#include "tests/support/file_bytes.h"

namespace fs = std::filesystem;

namespace {

const std::string HEADER = "# Titrionika 2.0\r\n";

class DataFile : public ::testing::Test {
protected:
    void TearDown() override {
        fs::remove(path);
        fs::remove(path + ".~tmp");
    }
    void Write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::string Read(const std::string& file = "") { return FileBytes(file.empty() ? path : file); }
    bool ReadBack() { return internal_read(path.c_str(), points); }
    std::string Points() {
        std::ostringstream s;
        for (int i = 0; i < points.size(); ++i) s << points[i]->vb.value << ' ' << points[i]->e.value << ';';
        return s.str();
    }

    const std::string path =
        (fs::temp_directory_path() /
         ("titrion-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".tid"))
            .string();
    dyn_array_direct<ext_float_pair> points{10, 10, nullptr};
};

}  // namespace

// Equal volumes end newest first, as inserting point by point put them.
TEST_F(DataFile, ReadingTakesTwoNumbersALineSkipsCommentsAndSortsByVolume) {
    Write(
        "\n   \n# comment\n  # 9 9\n\t 1,5 200 mV\r\n1#2 3\r\n\x85"
        "4e0\xa0"
        "5.5E1\tremark\n"
        "  12.5ml\t-7\n# Titrionika 2.0\n2 20\n2 30\n");
    ASSERT_TRUE(ReadBack());
    EXPECT_EQ("1 3;1.5 200;2 30;2 20;4 55;12.5 -7;", Points());
    for (const std::string& bad : std::vector<std::string>{"1 2\n1,5 ;\n3 4\n", "1 2\n7\n", "1 2\n7   \r\n",
                                                           "1 2\nabc 5\n", "1 2\n5 inf\n", "1 2\n0x10 5\n"}) {
        Write(bad);
        EXPECT_FALSE(ReadBack()) << bad;
        EXPECT_EQ("1 2;", Points()) << bad;
    }
    Write("1 2\n3 4\r\n");
    EXPECT_TRUE(ReadBack());
    ReadError error;
    EXPECT_FALSE(internal_read((path + ".none").c_str(), points, nullptr, &error));
    EXPECT_EQ("1 2;3 4;", Points()) << "a missing file leaves the points";
    EXPECT_TRUE(error.problem == ReadProblem::cannot_open && error.system_error == ENOENT);
    std::string bytes = "old";
    EXPECT_TRUE(!read_whole_file(path.c_str(), bytes, error, 8) && error.problem == ReadProblem::too_large &&
                bytes.empty());
}

// Each number is printf's %.<p>g with the least p from 6 on that reads back exactly, so
// that numbers of six digits or fewer are written as %g wrote them before.
TEST_F(DataFile, SavedNumbersAreTheShortestPrintfTextsThatReadBackExactly) {
    std::mt19937_64 rng(1234);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-300, 300);
    std::vector<double> values = {5e-324,   1.7976931348623157e308,
                                  -0.0,     -2.2250738585072014e-308,
                                  0.1,      1e23,
                                  999999.5, 9.999995e-5,
                                  1e-5,     123456e20,
                                  1.5e-200, 2.5e300,
                                  1e6,      12.5};
    for (int i = 0; i < 4000; ++i) {
        const double m = mantissa(rng), scale = std::pow(10.0, exponent(rng));
        // Any double; 3 decimals (as measured); 9 to 12 digits; few digits far from the units.
        values.push_back(i % 4 == 0   ? m * scale
                         : i % 4 == 1 ? std::round(m * 1e4) / 1e3
                         : i % 4 == 2 ? std::round(m * 1e11) / std::pow(10.0, 3 + i % 5)
                                      : std::round(m * 1e3) * scale);
    }
    // Distinct volumes: equal ones would come back in reverse order.
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    for (std::size_t i = 0; i < values.size(); ++i)
        points.append(ext_float_pair(values[i], values[values.size() - 1 - i]));
    const auto text = [](double v) {
        char t[32];
        for (int p = 6;; ++p) {
            std::snprintf(t, sizeof t, "%.*g", p, v);
            const double back = std::strtod(t, nullptr);
            if (p == 17 || std::memcmp(&back, &v, sizeof v) == 0) return std::string(t);
        }
    };
    std::string expected = HEADER + "\r\n";
    for (int i = 0; i < points.size(); ++i)
        expected += text(points[i]->vb.value) + "\t" + text(points[i]->e.value) + "\r\n";
    ASSERT_TRUE(internal_save(path.c_str(), points));
    EXPECT_EQ(expected, Read());
    // A file of several blocks reads back as the same numbers: saved again, the same text.
    dyn_array_direct<ext_float_pair> back(10, 10, nullptr);
    ASSERT_TRUE(internal_read(path.c_str(), back)) << "read";
    ASSERT_TRUE(internal_save(path.c_str(), back)) << "saved again";
    EXPECT_EQ(expected, Read());
}

// The samples are files as the program writes them, with a description of the curve; the
// import takes them as their reading does, bit for bit.
TEST_F(DataFile, SamplesKeepEveryByteThroughReadAndSaveAndImportAsRead) {
    for (const std::string name : {"hcl-naoh.tid", "uhlicitan-hcl.tid", "zelezo-cer.tid", "fosforecna-naoh.tid"}) {
        const std::string sample = TITRION_EXAMPLES_DIR "/" + name, expected = Read(sample);
        std::string description;
        ASSERT_GT(expected.size(), 100u) << name;
        ASSERT_TRUE(internal_read(sample.c_str(), points, &description)) << name;
        EXPECT_EQ(3, std::count(description.begin(), description.end(), '\n')) << description;
        ASSERT_TRUE(internal_save(path.c_str(), points, description)) << name;
        EXPECT_EQ(expected, Read()) << name;
        const ImportTable imported = import_scan(expected.data(), expected.size());
        ASSERT_EQ(static_cast<std::size_t>(points.size()), imported.points.size()) << name;
        for (int i = 0; i < points.size(); ++i) {
            const double read[] = {points[i]->vb.value, points[i]->e.value},
                         got[] = {imported.points[static_cast<std::size_t>(i)].vb.value,
                                  imported.points[static_cast<std::size_t>(i)].e.value};
            EXPECT_EQ(0, std::memcmp(read, got, sizeof read)) << name << ' ' << i;
        }
    }
}

// Comment lines before the first point describe the curve; later ones, blank lines and the
// header do not. A description line that is no comment is saved as one.
TEST_F(DataFile, DescriptionIsTheCommentsBeforeTheFirstPoint) {
    Write(HEADER + "\r\n  # HCl 0,1 M\r\n#\n\n1 2\r\n# later\r\n3 4\r\n");
    std::string description = "old";
    ASSERT_TRUE(internal_read(path.c_str(), points, &description));
    EXPECT_EQ("  # HCl 0,1 M\n#\n", description);
    ASSERT_TRUE(internal_save(path.c_str(), points, description + "pH 7"));
    EXPECT_EQ(HEADER + "  # HCl 0,1 M\r\n#\r\n# pH 7\r\n\r\n1\t2\r\n3\t4\r\n", Read());
    Write("# Titrionika 2.1\n1 2\n");
    ASSERT_TRUE(internal_read(path.c_str(), points, &description));
    EXPECT_EQ("# Titrionika 2.1\n", description);
}

// The clipboard's text of a point: %f as before where its six decimals hold the value,
// otherwise every digit that tells the value apart.
TEST(PointText, SixDecimalsAsBeforeAndEveryDigitBeyond) {
    // clang-format off
    const std::pair<ext_float_pair, const char*> cases[] = {
        {{1.5, -120}, "1.500000\t-120.000000"}, {{0.1, 366.6}, "0.100000\t366.600000"},
        {{1.23456789, 2.5e-7}, "1.23456789\t2.5e-07"}, {{1e-7, 123456.0000001}, "1e-07\t123456.0000001"}};
    // clang-format on
    for (const auto& [point, text] : cases) EXPECT_EQ(point_text(point), text);
}

// A save goes to a scratch file of a name of its own, which replaces the old file only once
// complete: a file that has the name a scratch file once had is left alone.
TEST_F(DataFile, SaveReplacesTheOldFileOnlyWhenItSucceeds) {
    const auto beside = [this] {  // the names in the folder that start with the file's
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path()))
            if (entry.path().filename().string().rfind(fs::path(path).filename().string(), 0) == 0)
                names.push_back(entry.path().string());
        return std::sort(names.begin(), names.end()), names;
    };
    const std::vector<std::string> only = {path, path + ".~tmp"};
    Write(std::string(5000, 'o'));
    std::ofstream(path + ".~tmp", std::ios::binary) << "another";
    ASSERT_TRUE(internal_save(path.c_str(), points));
    EXPECT_EQ(HEADER + "\r\n", Read());
    EXPECT_EQ(Read(path + ".~tmp"), "another");
    EXPECT_EQ(beside(), only);
    points.append(ext_float_pair(1, 2));
    WriteFailure failure;
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(internal_save(path.c_str(), points, "", &failure));  // a read-only file is not replaced
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(failure.step, WriteFailure::READ_ONLY);
    EXPECT_EQ(HEADER + "\r\n", Read());
    EXPECT_FALSE(internal_save((fs::temp_directory_path() / "titrion-no-such" / "x.tid").string().c_str(), points, "",
                               &failure));
    EXPECT_EQ(failure.step, WriteFailure::CREATE);
    EXPECT_NE(failure.system_error, 0);
#ifndef _WIN32
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(internal_save(path.c_str(), points));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    for (int i = 0; i < 1000; ++i) points.append(ext_float_pair(i * 0.01, i * 1.5));
    // A file size limit makes the writes fail as a full disk would.
    struct rlimit saved;
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
    const struct rlimit small = {100, saved.rlim_max};
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
    const bool saved_ok = internal_save(path.c_str(), points, "", &failure);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(std::tuple(failure.step, failure.system_error), std::tuple(WriteFailure::WRITE, EFBIG));
    EXPECT_EQ(HEADER + "\r\n1\t2\r\n", Read());
    EXPECT_EQ(beside(), only);
#endif
}
