// The settings table against a real INI file beside the test program.
#include "settings/config.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "core/calc.h"

namespace {

using Lines = std::vector<std::string>;
const char kFile[] = "settings_test.ini";

class ConfigFile : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileA(path.c_str()), Defaults(); }
    void TearDown() override { DeleteFileA(path.c_str()), Defaults(); }
    static void Defaults() {
        use_comma = graph_show_labels = graph_show_axes = true;
        vb_precis = 3, e_precis = de_precis = d2e_precis = res_precis = graph_precis = 4;
        graph_bkg = 0, graph_line = 0xFF0000, graph_axes = 0xFF, graph_labels = 0xFF00;
    }
    Lines Read() const {  // the non-empty lines without their line ends
        std::ifstream in(path, std::ios::binary);
        Lines lines;
        for (std::string line; std::getline(in, line);)
            if (line.erase(line.find_last_not_of("\r ") + 1); !line.empty()) lines.push_back(line);
        return lines;
    }
    const std::string path = [] {  // beside the program, where LoadConfig looks
        char p[MAX_PATH];
        std::string s(p, GetModuleFileNameA(nullptr, p, MAX_PATH));
        return s.substr(0, s.rfind('\\') + 1) + kFile;
    }();
};

TEST_F(ConfigFile, SavingWritesBothSectionsInTableOrderAndOnlyKeysInTheFileAreLoaded) {
    vb_precis = 7, graph_line = 0x123456, graph_show_axes = false;
    LoadConfig(kFile, config);  // no file: nothing changes
    LoadConfig(nullptr, config);
    EXPECT_TRUE(vb_precis == 7 && graph_line == 0x123456u && !graph_show_axes);
    Defaults();
    e_precis = -1, res_precis = -2147483647 - 1;  // written unsigned, read back unchanged
    SaveConfig(kFile, config);
    EXPECT_EQ(Read(), (Lines{"[Main]", "use_comma=1", "vb_precis=3", "e_precis=4294967295", "de_precis=4", "d2e_precis=4",
                             "res_precis=2147483648", "[Graph]", "graph_precis=4", "graph_bkg=0", "graph_line=16711680",
                             "graph_axes=255", "graph_labels=65280", "graph_show_labels=1", "graph_show_axes=1"}));
    Defaults();
    LoadConfig(kFile, config);
    EXPECT_TRUE(e_precis == -1 && res_precis == -2147483647 - 1);

    std::ofstream(path, std::ios::binary | std::ios::trunc) << "[Main]\r\nuse_comma=5\r\nvb_precis=2\r\n[Graph]\r\ngraph_show_labels=0\r\ngraph_show_axes=x\r\n";
    Defaults();
    use_comma = false;
    LoadConfig(kFile, config);  // text that is no number reads as 0
    EXPECT_TRUE(use_comma && vb_precis == 2 && e_precis == 4 && !graph_show_labels && !graph_show_axes && graph_line == 0xFF0000u);
    CONFIG_ITEM none[] = {{CONFIG_END, nullptr, nullptr, nullptr, 0}};
    SaveConfig(kFile, none);
    graph_show_labels = true;
    SaveConfig(kFile, config);  // keys in place, booleans as 1 or 0
    const Lines lines = Read();
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 3), (Lines{"[Main]", "use_comma=1", "vb_precis=2"}));
    EXPECT_EQ(Lines(lines.begin() + 7, lines.begin() + 10), (Lines{"[Graph]", "graph_show_labels=1", "graph_show_axes=0"}));
}

TEST_F(ConfigFile, StringRowsDefaultToEmptyAndAreCutAtTheirSize) {
    char name[8] = "keep", other[8] = "old";
    int number = 9;
    CONFIG_ITEM table[] = {{CONFIG_STR, "Texts", "name", name, sizeof name}, {CONFIG_STR, "Texts", "other", other, sizeof other},
                           {42, "Texts", "unknown", &number, 0},  // a type neither pass knows is skipped
                           {CONFIG_END, nullptr, nullptr, nullptr, 0}};
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "[Texts]\r\nname=abcdefghijk\r\nunknown=5\r\n";
    LoadConfig(kFile, table);
    EXPECT_TRUE(!std::strcmp(name, "abcdefg") && !other[0] && number == 9) << name;
    SaveConfig(kFile, table);
    EXPECT_EQ(Read(), (Lines{"[Texts]", "name=abcdefg", "unknown=5", "other="}));
}

}  // namespace
