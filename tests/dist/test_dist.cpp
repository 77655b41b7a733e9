// The unpacked release runs from its folder, opens a sample, shows its graph and keeps its settings there
// (check_release.sh checks its files and imports).
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <string>
#include "tests/e2e/driver.h"
TEST(Release, RunsFromItsFolderAndKeepsItsSettingsThere) {
    const char* env = std::getenv("TITRION_DIST_DIR");
    ASSERT_TRUE(env) << "TITRION_DIST_DIR is not set";
    std::string dir = env[0] == '/' ? std::string("Z:") + env : env;  // a host path under Wine
    std::replace(dir.begin(), dir.end(), '/', '\\');
    WIN32_FIND_DATAA sample;
    ASSERT_TRUE(FindClose(FindFirstFileA((dir + "\\priklady\\*.tid").c_str(), &sample)));
    driver::Program p(dir + "\\titrion3.exe");
    ASSERT_TRUE((DeleteFileA((dir + "\\titrion2.ini").c_str()), p.Start()));  // without settings
    EXPECT_EQ(driver::Text(p.main()).rfind("Titrion - ", 0), 0u);
    p.Command(IDM_OPEN);
    ASSERT_TRUE(p.ChooseFile("Otevřít soubor", dir + "\\priklady\\" + sample.cFileName));
    EXPECT_NE(driver::Text(p.main()).find(std::string(sample.cFileName).substr(0, 4)), std::string::npos);
    EXPECT_TRUE((p.Command(IDM_GRAPH), p.WaitGraph())) << "the graph window opens";
    EXPECT_FALSE(IsWindowEnabled(p.main())) << "the main window waits for it";
    p.Command(IDCANCEL);  // Esc ends the program, graph and all
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_NE(driver::ReadFile(dir + "\\titrion2.ini").find("[Graph]"), std::string::npos);
    DeleteFileA((dir + "\\titrion2.ini").c_str());
}
