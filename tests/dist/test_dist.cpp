// The unpacked release: every file is there, the program and its library need nothing but
// the system, and the program runs from that folder and keeps its settings there.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"

namespace {

// The folder named by the test's environment, as this process sees it.
std::string ReleaseDir() {
    const char* dir = std::getenv("TITRION_DIST_DIR");
    if (!dir) return "";
    std::string path = dir;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;  // a host path under Wine
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The DLLs a module imports, read from its import table without loading them.
std::vector<std::string> Imports(const std::string& path) {
    std::vector<std::string> names;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!module) return names;
    auto* base = reinterpret_cast<const BYTE*>(module);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         dir.VirtualAddress && d->Name; ++d)
        names.push_back(Lower(reinterpret_cast<const char*>(base + d->Name)));
    FreeLibrary(module);
    return names;
}

class Release : public ::testing::Test {
protected:
    void SetUp() override {
        dir = ReleaseDir();
        ASSERT_FALSE(dir.empty()) << "TITRION_DIST_DIR is not set";
        ASSERT_TRUE(Exists(dir + "\\titrion3.exe")) << dir;
    }
    std::string dir;
};

TEST_F(Release, HoldsTheProgramTheManualTheSamplesAndTheReadMe) {
    for (const char* file : {"titrion3.exe", "vexplot3.dll", "titrion2.pdf", "titrion2.rtf", "README.txt"})
        EXPECT_TRUE(Exists(dir + "\\" + file)) << file;
    int samples = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir + "\\priklady\\*.tid").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do ++samples;
        while (FindNextFileA(find, &found));
        FindClose(find);
    }
    EXPECT_GE(samples, 1);
    // No settings file is shipped: the program writes its own.
    EXPECT_FALSE(Exists(dir + "\\titrion2.ini"));
    const std::string readme = driver::ReadFile(dir + "\\README.txt");
    EXPECT_NE(readme.find("titrion3.exe"), std::string::npos);
    EXPECT_NE(readme.find("\r\n"), std::string::npos);
}

TEST_F(Release, NeedsNoLibraryBesideTheSystemsAndItsOwn) {
    const std::set<std::string> system = {
        "kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "shell32.dll",
        "advapi32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "shlwapi.dll", "ucrtbase.dll"};
    const std::vector<std::string> program = Imports(dir + "\\titrion3.exe");
    const std::vector<std::string> library = Imports(dir + "\\vexplot3.dll");
    ASSERT_FALSE(program.empty());
    ASSERT_FALSE(library.empty());
    EXPECT_NE(std::find(program.begin(), program.end(), "vexplot3.dll"), program.end());
    for (const auto& name : program)
        EXPECT_TRUE(system.count(name) || name == "vexplot3.dll" || name.rfind("api-ms-win-", 0) == 0) << name;
    for (const auto& name : library)
        EXPECT_TRUE(system.count(name) || name.rfind("api-ms-win-", 0) == 0) << name;
}

TEST_F(Release, RunsFromItsFolderAndKeepsItsSettingsThere) {
    const std::string ini = dir + "\\titrion2.ini";
    DeleteFileA(ini.c_str());
    driver::Program p(dir + "\\titrion3.exe");
    ASSERT_TRUE(p.Start());
    EXPECT_EQ(driver::Text(p.main()).rfind("Titrion - ", 0), 0u);
    // A sample opens, and its graph shows.
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir + "\\priklady\\*.tid").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    p.Command(IDM_OPEN);
    ASSERT_TRUE(p.ChooseFile("Otevřít soubor", dir + "\\priklady\\" + found.cFileName));
    EXPECT_NE(driver::Text(p.main()).find(std::string(found.cFileName).substr(0, 4)), std::string::npos);
    p.Command(IDM_GRAPH);
    ASSERT_TRUE(p.Sync());
    EXPECT_FALSE(IsWindowEnabled(p.main()));
    p.Command(IDCANCEL);  // Esc ends the program, graph and all
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_TRUE(Exists(ini));
    EXPECT_NE(driver::ReadFile(ini).find("[Graph]"), std::string::npos);
    DeleteFileA(ini.c_str());
}

}  // namespace
