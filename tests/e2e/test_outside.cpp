// The real titrion3.exe opens the file named on its command line, and a file dropped on it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <fstream>
#include "tests/e2e/driver.h"
namespace {
int Rows(const driver::Program& p) { return int(SendMessageA(p.list(), LVM_GETITEMCOUNT, 0, 0)); }
TEST(FromOutside, TheFileOnTheCommandLineAndADroppedFileOpen) {
    driver::ProgramCopy copy;
    const std::string named = copy.path("první.tid"), dropped = copy.path("druhý.tid");
    std::ofstream(named, std::ios::binary) << "1\t10\r\n2\t20\r\n";
    std::ofstream(dropped, std::ios::binary) << "1\t10\r\n2\t20\r\n3\t30\r\n";
    driver::Program p(copy.exe(), "\"" + named + "\"");
    ASSERT_TRUE(copy.copied() && p.Start() && p.Settle());
    EXPECT_EQ(driver::Text(p.main()), "Titrion - první.tid");
    EXPECT_EQ(Rows(p), 3);
    p.Drop(dropped);
    ASSERT_TRUE(p.Settle());
    EXPECT_EQ(driver::Text(p.main()), "Titrion - druhý.tid");
    EXPECT_EQ(Rows(p), 5);
    p.Command(IDM_EXIT);
    EXPECT_EQ(p.WaitExit(), 0u);
}
}  // namespace
