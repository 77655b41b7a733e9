#include <gtest/gtest.h>

#include <algorithm>
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

namespace fs = std::filesystem;

namespace {

class DataFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("titrion-file-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "doc.tid").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    void Write(const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string Read() {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool ReadBack() { return internal_read(path.c_str(), points); }
    void Add(double vb, double e) { points.append(ext_float_pair(vb, e)); }

    fs::path dir;
    std::string path;
    dyn_array_direct<ext_float_pair> points{10, 10, nullptr};
};

} // namespace

TEST(Tokenizers, BlanksAreControlBytesSpaceAndHighBitBytes) {
    char line[] = " \t\r\x85\xff" "12,5ml\x01" "x\n" "tail";
    EXPECT_STREQ(" \t\r\x85\xff" "12,5ml\x01" "x", strip_eol(line));
    char* token = skip_ws(line);
    EXPECT_EQ(line + 5, token);
    char* end = seek(token);
    EXPECT_EQ(line + 11, end);
    EXPECT_EQ('\x01', *end);
    char empty[] = "";
    EXPECT_EQ(empty, skip_ws(empty));
    EXPECT_EQ(empty, seek(empty));
    char no_eol[] = "abc";
    EXPECT_STREQ("abc", strip_eol(no_eol));
}

TEST_F(DataFile, WritesHeaderAndNumbersWithCrLf) {
    Add(12.5, 25);
    Add(-3.14159265, 1234567);
    Add(0.00001234, 100000);
    Add(1e-300, -0.5);
    Add(1.000001, 1.000002);
    ASSERT_TRUE(internal_save(path.c_str(), points));
    EXPECT_EQ(
        "# Titrionika 2.0\r\n\r\n"
        "12.5\t25\r\n"
        "-3.14159265\t1234567\r\n"
        "1.234e-05\t100000\r\n"
        "1e-300\t-0.5\r\n"
        "1.000001\t1.000002\r\n",
        Read());
}

TEST_F(DataFile, EmptyDocumentIsHeaderAndBlankLineAndReadsBackEmpty) {
    ASSERT_TRUE(internal_save(path.c_str(), points));
    EXPECT_EQ("# Titrionika 2.0\r\n\r\n", Read());
    Add(1, 1);
    EXPECT_TRUE(ReadBack());
    EXPECT_EQ(0, points.size());
}

TEST_F(DataFile, GrammarCommentsBlanksTokensAndExtraColumns) {
    Write("\n   \n# comment\n  # 9 9\n\t 1,5 200 mV\r\n1#2 3\r\n"
          "\x85" "4e0\xa0" "5.5E1\tremark\n  12.5ml\t-7\n# Titrionika 2.0\n");
    ASSERT_TRUE(ReadBack());
    ASSERT_EQ(4, points.size());
    EXPECT_EQ(1.0, points[0]->vb.value);
    EXPECT_EQ(3.0, points[0]->e.value);
    EXPECT_EQ(1.5, points[1]->vb.value);
    EXPECT_EQ(200.0, points[1]->e.value);
    EXPECT_EQ(4.0, points[2]->vb.value);
    EXPECT_EQ(55.0, points[2]->e.value);
    EXPECT_EQ(12.5, points[3]->vb.value);
    EXPECT_EQ(-7.0, points[3]->e.value);
}

TEST_F(DataFile, DescendingAndRepeatedVolumesEndSortedNewestFirst) {
    Write("2 20\n2 30\n1 10\n");
    ASSERT_TRUE(ReadBack());
    ASSERT_EQ(3, points.size());
    EXPECT_EQ(10.0, points[0]->e.value);
    EXPECT_EQ(30.0, points[1]->e.value);
    EXPECT_EQ(20.0, points[2]->e.value);
}

TEST_F(DataFile, ScrambledFileGivesTheOrderOfInsertingPointByPoint) {
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> volume(0, 40);
    std::string text;
    dyn_array_direct<ext_float_pair> expected(10, 10, nullptr);
    for (int i = 0; i < 500; ++i) {
        const int vb = volume(rng);
        text += std::to_string(vb) + " " + std::to_string(i) + "\n";
        expected.insert_sorted(ext_float_pair(vb, i));
    }
    Write(text);
    ASSERT_TRUE(ReadBack());
    ASSERT_EQ(expected.size(), points.size());
    for (int i = 0; i < points.size(); ++i) {
        EXPECT_EQ(expected[i]->vb.value, points[i]->vb.value) << i;
        EXPECT_EQ(expected[i]->e.value, points[i]->e.value) << i;
    }
}

TEST_F(DataFile, BadLinesStopWithFalseKeepingWhatCameBefore) {
    for (const char* bad : {"1 2\n1,5 ;\n3 4\n", "1 2\n7\n", "1 2\n7   \r\n", "1 2\nabc 5\n", "1 2\n5 inf\n",
                            "1 2\n0x10 5\n"}) {
        Write(bad);
        EXPECT_FALSE(ReadBack()) << bad;
        ASSERT_EQ(1, points.size()) << bad;
        EXPECT_EQ(2.0, points[0]->e.value);
    }
    Write("");
    EXPECT_TRUE(ReadBack());
    EXPECT_EQ(0, points.size());
}

TEST_F(DataFile, LongLinesAreReadInPiecesOf254Bytes) {
    // 254 bytes: a comment piece; the rest of the line is a piece of its own.
    std::string line = "#" + std::string(253, 'x') + "1 2\n";
    Write(line);
    ASSERT_TRUE(ReadBack());
    ASSERT_EQ(1, points.size());
    EXPECT_EQ(1.0, points[0]->vb.value);
    // A long trailing remark splits into a piece that is not a point.
    Write("1 2 " + std::string(260, 'r') + "\n");
    EXPECT_FALSE(ReadBack());
    // Exactly 254 bytes before the LF: the LF alone is an empty piece.
    Write(std::string(250, ' ') + "1 2\r\n");
    EXPECT_TRUE(ReadBack());
    EXPECT_EQ(1, points.size());
}

TEST_F(DataFile, MissingFileLeavesTargetUntouched) {
    Add(5, 6);
    EXPECT_FALSE(internal_read((dir / "none.tid").string().c_str(), points));
    ASSERT_EQ(1, points.size());
    EXPECT_EQ(5.0, points[0]->vb.value);
}

// Each number is printf's %.<p>g with the least p from 6 on that reads back exactly, so
// that numbers of six digits or fewer are written as %g wrote them before.
TEST_F(DataFile, SavedNumbersAreTheShortestPrintfTextsThatReadBackExactly) {
    std::mt19937_64 rng(1234);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-300, 300);
    std::vector<double> values = {5e-324, 1.7976931348623157e308, -0.0, -2.2250738585072014e-308, 0.1, 1e23,
                                  999999.5, 9.999995e-5, 1e-5, 123456e20, 1.5e-200, 2.5e300};
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
        ASSERT_GE(points.insert_sorted(ext_float_pair(values[i], values[values.size() - 1 - i])), 0);
    const auto text = [](double v) {
        char t[32];
        for (int p = 6;; ++p) {
            std::snprintf(t, sizeof t, "%.*g", p, v);
            const double back = std::strtod(t, nullptr);
            if (p == 17 || std::memcmp(&back, &v, sizeof v) == 0) return std::string(t);
        }
    };
    std::string expected = "# Titrionika 2.0\r\n\r\n";
    for (int i = 0; i < points.size(); ++i)
        expected += text(points[i]->vb.value) + "\t" + text(points[i]->e.value) + "\r\n";
    ASSERT_TRUE(internal_save(path.c_str(), points));
    EXPECT_EQ(expected, Read());
    dyn_array_direct<ext_float_pair> back(10, 10, nullptr);
    ASSERT_TRUE(internal_read(path.c_str(), back));
    ASSERT_EQ(points.size(), back.size());
    for (int i = 0; i < points.size(); ++i) {
        EXPECT_EQ(0, std::memcmp(&points[i]->vb.value, &back[i]->vb.value, sizeof(double))) << i;
        EXPECT_EQ(0, std::memcmp(&points[i]->e.value, &back[i]->e.value, sizeof(double))) << i;
    }
}

// The samples carry comments the program does not keep; every point line comes back
// byte for byte, and a file the program wrote opens and saves to the same bytes.
// The samples are files as the program writes them, with a description of the curve.
TEST_F(DataFile, SamplesKeepEveryByteThroughReadAndSave) {
    for (const char* name : {"hcl-naoh.tid", "uhlicitan-hcl.tid", "zelezo-cer.tid"}) {
        const std::string sample = std::string(TITRION_EXAMPLES_DIR) + "/" + name;
        std::ifstream in(sample, std::ios::binary);
        const std::string expected((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GT(expected.size(), 100u) << name;
        std::string description;
        ASSERT_TRUE(internal_read(sample.c_str(), points, &description)) << name;
        EXPECT_EQ(std::count(description.begin(), description.end(), '\n'), 3) << description;
        ASSERT_TRUE(internal_save(path.c_str(), points, description)) << name;
        EXPECT_EQ(expected, Read()) << name;
    }
}

// Comment lines before the first point describe the curve; later ones, blank lines and the
// header do not. A description line that is no comment is saved as one.
TEST_F(DataFile, DescriptionIsTheCommentsBeforeTheFirstPoint) {
    Write("# Titrionika 2.0\r\n\r\n  # HCl 0,1 M\r\n#\n\n1 2\r\n# later\r\n3 4\r\n");
    std::string description = "old";
    ASSERT_TRUE(internal_read(path.c_str(), points, &description));
    EXPECT_EQ(description, "  # HCl 0,1 M\n#\n");
    ASSERT_TRUE(internal_save(path.c_str(), points, description + "pH 7"));
    EXPECT_EQ(Read(), "# Titrionika 2.0\r\n  # HCl 0,1 M\r\n#\r\n# pH 7\r\n\r\n1\t2\r\n3\t4\r\n");
    Write("# Titrionika 2.1\n1 2\n");
    ASSERT_TRUE(internal_read(path.c_str(), points, &description));
    EXPECT_EQ(description, "# Titrionika 2.1\n");
}

TEST_F(DataFile, SaveReplacesTheWholeOldFile) {
    Write(std::string(5000, 'o'));
    Add(1, 2);
    ASSERT_TRUE(internal_save(path.c_str(), points));
    EXPECT_EQ("# Titrionika 2.0\r\n\r\n1\t2\r\n", Read());
    int files = 0;
    for (auto& entry : fs::directory_iterator(dir)) files += entry.is_regular_file();
    EXPECT_EQ(1, files) << "no scratch file is left behind";
}

TEST_F(DataFile, SaveThatCannotCreateItsFileFailsAndKeepsTheOldOne) {
    Write("old");
    fs::create_directory(path + ".~tmp");  // the scratch name is taken by a folder
    Add(1, 2);
    EXPECT_FALSE(internal_save(path.c_str(), points));
    EXPECT_EQ("old", Read());
    EXPECT_FALSE(internal_save((dir / "no" / "such" / "folder.tid").string().c_str(), points));
}

#ifndef _WIN32
TEST_F(DataFile, FullDiskIsAFailureAndTheOldFileStays) {
    const std::string old = "# Titrionika 2.0\r\n\r\n1\t1\r\n";
    Write(old);
    for (int i = 0; i < 1000; ++i) Add(i * 0.01, i * 1.5);
    // A file size limit makes the writes fail as a full disk would.
    struct rlimit saved;
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
    struct rlimit small = saved;
    small.rlim_cur = 100;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
    const bool saved_ok = internal_save(path.c_str(), points);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(old, Read());
    EXPECT_FALSE(fs::exists(path + ".~tmp"));
}
#endif
