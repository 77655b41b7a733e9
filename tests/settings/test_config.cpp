// The settings table against real INI files beside the test program.
#include "settings/config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/calc.h"

namespace {

const char kFile[] = "settings_test.ini";

std::string BesideProgram(const char* name) {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string p(path, n);
    return p.substr(0, p.rfind('\\') + 1) + name;
}

// The file's non-empty lines, line ends stripped.
std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

// section -> key -> value; a key that appears twice in a section is kept as "<twice>".
using Ini = std::map<std::string, std::map<std::string, std::string>>;

Ini Parse(const std::vector<std::string>& lines) {
    Ini ini;
    std::string section;
    for (const std::string& line : lines) {
        if (line.front() == '[') {
            section = line.substr(1, line.size() - 2);
            ini[section];
            continue;
        }
        const size_t eq = line.find('=');
        const std::string key = line.substr(0, eq);
        auto& keys = ini[section];
        keys[key] = keys.count(key) ? "<twice>" : line.substr(eq + 1);
    }
    return ini;
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

void SetDefaults() {
    use_comma = graph_show_labels = graph_show_axes = true;
    vb_precis = 3;
    e_precis = de_precis = d2e_precis = res_precis = graph_precis = 4;
    graph_bkg = 0;
    graph_line = 16711680;
    graph_axes = 255;
    graph_labels = 65280;
}

const std::vector<std::string> kDefaultFile = {
    "[Main]",
    "use_comma=1",
    "vb_precis=3",
    "e_precis=4",
    "de_precis=4",
    "d2e_precis=4",
    "res_precis=4",
    "[Graph]",
    "graph_precis=4",
    "graph_bkg=0",
    "graph_line=16711680",
    "graph_axes=255",
    "graph_labels=65280",
    "graph_show_labels=1",
    "graph_show_axes=1",
};

class ConfigFile : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = BesideProgram(kFile);
        DeleteFileA(path_.c_str());
        SetDefaults();
    }
    void TearDown() override {
        DeleteFileA(path_.c_str());
        SetDefaults();
    }
    std::string path_;
};

TEST_F(ConfigFile, NoFileKeepsEveryValueAndSavingWritesBothSectionsInTableOrder) {
    // Values other than the defaults show that a missing file touches nothing.
    vb_precis = 7;
    graph_line = 0x123456;
    graph_show_axes = false;
    LoadConfig(kFile, config);
    EXPECT_EQ(vb_precis, 7);
    EXPECT_EQ(graph_line, 0x123456u);
    EXPECT_FALSE(graph_show_axes);
    EXPECT_TRUE(use_comma);

    SetDefaults();
    SaveConfig(kFile, config);
    EXPECT_EQ(Lines(path_), kDefaultFile);
}

TEST_F(ConfigFile, KeysInTheFileChangeOnlyTheirVariablesAndBooleansAreWrittenAsOneOrZero) {
    use_comma = false;
    WriteFile(path_, "[Main]\r\nuse_comma=5\r\nvb_precis=2\r\n[Graph]\r\ngraph_show_labels=0\r\ngraph_show_axes=x\r\n");
    LoadConfig(kFile, config);
    EXPECT_TRUE(use_comma);
    EXPECT_EQ(vb_precis, 2);
    EXPECT_FALSE(graph_show_labels);
    EXPECT_FALSE(graph_show_axes);  // text that is no number reads as 0

    // The profile functions keep a key that exists in place and append the others.
    SaveConfig(kFile, config);
    Ini expected = Parse(kDefaultFile);
    expected["Main"]["vb_precis"] = "2";
    expected["Graph"]["graph_show_labels"] = expected["Graph"]["graph_show_axes"] = "0";
    EXPECT_EQ(Parse(Lines(path_)), expected);  // every other key at its default, use_comma=1
}

TEST_F(ConfigFile, NegativeIntegersAreWrittenUnsignedAndReadBackUnchanged) {
    e_precis = -1;
    res_precis = -2147483647 - 1;
    graph_labels = 0xFFFFFFFFu;
    SaveConfig(kFile, config);
    const std::vector<std::string> lines = Lines(path_);
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[3], "e_precis=4294967295");
    EXPECT_EQ(lines[6], "res_precis=2147483648");
    EXPECT_EQ(lines[12], "graph_labels=4294967295");

    SetDefaults();
    LoadConfig(kFile, config);
    EXPECT_EQ(e_precis, -1);
    EXPECT_EQ(res_precis, -2147483647 - 1);
    EXPECT_EQ(graph_labels, 0xFFFFFFFFu);
    EXPECT_EQ(vb_precis, 3);

    DeleteFileA(path_.c_str());
    EXPECT_TRUE(WritePrivateProfileInt(path_.c_str(), "S", "minus", -5));
    EXPECT_EQ(Lines(path_), (std::vector<std::string>{"[S]", "minus=4294967291"}));
}

TEST_F(ConfigFile, OtherTables) {
    // An end-row-only table touches no file.
    CONFIG_ITEM none[] = {{CONFIG_END, nullptr, nullptr, nullptr, 0}};
    SaveConfig(kFile, none);
    LoadConfig(kFile, none);
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);

    // String rows default to empty, not to what the buffer held, and cut at their size.
    char name[8] = "keep";
    char other[8] = "old";
    int number = 9;
    CONFIG_ITEM table[] = {
        {CONFIG_STR, "Texts", "name", name, sizeof name},
        {CONFIG_STR, "Texts", "other", other, sizeof other},
        {42, "Texts", "unknown", &number, 0},  // a type neither pass knows is skipped
        {CONFIG_END, nullptr, nullptr, nullptr, 0},
    };
    WriteFile(path_, "[Texts]\r\nname=abcdefghijk\r\nunknown=5\r\n");
    LoadConfig(kFile, table);
    EXPECT_STREQ(name, "abcdefg");
    EXPECT_STREQ(other, "");
    EXPECT_EQ(number, 9);

    std::snprintf(other, sizeof other, "x y");
    SaveConfig(kFile, table);
    EXPECT_EQ(Lines(path_), (std::vector<std::string>{"[Texts]", "name=abcdefg", "unknown=5", "other=x y"}));
}

}  // namespace
