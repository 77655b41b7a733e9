// Document commands: untitled names, the unsaved-changes prompt, New, Open, Save, Save As.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "core/calc.h"
#include "resources/resource.h"
#include "tests/app/app_test.h"
#include "tests/support/testui.h"

namespace apptest {
namespace {

using Documents = AppTest;

using driver::ExeDir;
using driver::FILE_NAME_FIELD;

unsigned UntitledNumber() {
    const std::string prefix = "Bez jména ";
    const std::string name = fname;
    EXPECT_EQ(name.compare(0, prefix.size(), prefix), 0) << name;
    return static_cast<unsigned>(std::strtoul(name.c_str() + prefix.size(), nullptr, 10));
}

void Command(UINT id) {
    SendMessageA(hwndMain, WM_COMMAND, id, 0);
}

TEST_F(Documents, UntitledDocumentsAreNumberedThroughTheRun) {
    const unsigned first = UntitledNumber();
    EXPECT_EQ(Title(), "Titrion - Bez jména " + std::to_string(first) + ".tid");
    Command(IDM_NEW);
    EXPECT_EQ(Title(), "Titrion - Bez jména " + std::to_string(first + 1) + ".tid");
    Command(IDM_NEW);
    EXPECT_EQ(UntitledNumber(), first + 2);
    EXPECT_TRUE(fname_auto);
    EXPECT_FALSE(dirty);
}

TEST_F(Documents, NewAndOpenAskAboutChangesAndCancelKeepsEverything) {
    Load({{1, 10}, {2, 20}});
    dirty = true;
    const std::string title = Title();
    testui::ModalScript ui;
    ui.press(IDCANCEL).press(IDNO).press(IDCANCEL).press(IDNO);
    Command(IDM_NEW);
    // No, then a cancelled picker: the changed document stays too.
    EXPECT_FALSE(OpenFile());
    EXPECT_EQ(Title(), title);
    EXPECT_EQ(Document().size(), 2u);
    EXPECT_TRUE(dirty);

    Command(IDM_NEW);
    ASSERT_EQ(ui.seen().size(), 4u);
    EXPECT_EQ(ui.seen()[3].caption, "Potvrďte");
    EXPECT_TRUE(Document().empty());
    EXPECT_FALSE(dirty);
    EXPECT_NE(Title(), title);
    EXPECT_EQ(Rows(hwndList), 0);
}

TEST_F(Documents, DeleteAllThenNewOrOpenAsksNothing) {
    Load({{1, 10}});
    testui::ModalScript ui;
    ui.press(IDYES).press(IDCANCEL);
    Command(IDM_DELETEALL);
    Command(IDM_OPEN);  // straight to the picker, cancelled
    Command(IDM_NEW);
    ASSERT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.seen()[1].caption, "Otevřít soubor");
    EXPECT_EQ(ui.unexpected(), 0);
}

TEST_F(Documents, OpeningASampleShowsItsEquivalenceVolumes) {
    const std::string path = ExeDir() + "\\examples\\uhlicitan-hcl.tid";
    testui::ModalScript ui;
    ui.type(FILE_NAME_FIELD, path, IDOK);
    Command(IDM_OPEN);
    ASSERT_EQ(ui.seen().size(), 1u);
    EXPECT_EQ(ui.seen()[0].caption, "Otevřít soubor");
    EXPECT_EQ(Title(), "Titrion - uhlicitan-hcl.tid");
    EXPECT_STREQ(fname, path.c_str());
    EXPECT_FALSE(fname_auto);
    EXPECT_FALSE(dirty);
    EXPECT_EQ(SelectedRow(hwndList), 0);
    ASSERT_EQ(Document().size(), 47u);
    EXPECT_EQ(Rows(hwndList), 93);

    // Both equivalence points (10.00 and 20.00 ml) are among the results; the other sign
    // changes are the flat inflections of the two buffer regions.
    int equivalences = 0;
    for (int k = 0; k < arr_res.size(); ++k) {
        const sorted_struct* r = arr_res[k];
        const double e2 = std::fabs(r->data.y1.value) + std::fabs(r->data.y2.value);
        if (e2 > 100) {
            ++equivalences;
            EXPECT_TRUE(std::fabs(r->key.value - 10.0) < 0.05 || std::fabs(r->key.value - 20.0) < 0.05)
                << r->key.value;
        }
    }
    EXPECT_EQ(equivalences, 2);
    EXPECT_EQ(Column(hwndResults, 0).size(), static_cast<size_t>(arr_res.size()));

    // Closing right after asks nothing.
    SendMessageA(hwndMain, WM_CLOSE, 0, 0);
    EXPECT_TRUE(RunQueue());
    EXPECT_EQ(ui.unexpected(), 0);
}

// Saved again, a sample keeps every byte, its description included; a new document has none.
TEST_F(Documents, TheOtherSamplesFindTheirEquivalenceVolumeAndSaveUnchanged) {
    ScratchDir scratch;
    for (const char* sample : {"hcl-naoh.tid", "zelezo-cer.tid"}) {
        const std::string path = ExeDir() + "\\examples\\" + sample;
        testui::ModalScript ui;
        ui.type(FILE_NAME_FIELD, path, IDOK);
        ui.type(FILE_NAME_FIELD, scratch.path(sample), IDOK);
        Command(IDM_OPEN);
        ASSERT_EQ(arr_res.size(), 1) << sample;
        EXPECT_NEAR(arr_res[0]->key.value, 25.0, 0.02) << sample;
        EXPECT_EQ(Cell(hwndResults, 0, 0), "25,0000") << sample;
        Command(IDM_SAVEAS);
        EXPECT_EQ(ReadFile(scratch.path(sample)), ReadFile(path)) << sample;
    }
    testui::ModalScript ui;
    ui.type(FILE_NAME_FIELD, scratch.path("new.tid"), IDOK);
    Command(IDM_NEW);
    arr_vb.append(ext_float_pair(1.5, 2));
    Command(IDM_SAVEAS);
    EXPECT_EQ(ReadFile(scratch.path("new.tid")), "# Titrionika 2.0\r\n\r\n1.5\t2\r\n");
}

TEST_F(Documents, AnUnreadableFileLeavesTheDocumentAsItWas) {
    ScratchDir dir;
    std::ofstream(dir.path("bad.tid"), std::ios::binary) << "# Titrionika 2.0\r\n\r\n1,5\t;\r\n";
    Load({{1, 10}, {2, 20}});
    dirty = true;
    const std::string title = Title();
    const std::string name = fname;

    testui::ModalScript ui;
    ui.press(IDNO).type(FILE_NAME_FIELD, dir.path("bad.tid"), IDOK).press(IDOK);
    Command(IDM_OPEN);
    ASSERT_EQ(ui.seen().size(), 3u);
    EXPECT_EQ(ui.seen()[2].text, "Chyba při načítání souboru.");
    EXPECT_EQ(ui.seen()[2].icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(Document(), (Points{{1, 10}, {2, 20}}));
    EXPECT_EQ(Title(), title);
    EXPECT_EQ(fname, name);
    EXPECT_TRUE(fname_auto);
    EXPECT_TRUE(dirty);
    EXPECT_EQ(Rows(hwndList), 3);
}

TEST_F(Documents, SavingAnUntitledDocumentProposesItsNameAndNamesIt) {
    ScratchDir dir;
    Load({{1.5, -120}, {2, 20.25}});
    dirty = true;
    // The picker may show the name without the extension of its selected filter.
    const std::string proposed = std::string(fname).substr(0, std::strlen(fname) - 4);
    const std::string path = dir.path("titrace.tid");
    testui::ModalScript ui;
    ui.call([&](HWND dlg) {
        EXPECT_EQ(testui::ItemText(dlg, FILE_NAME_FIELD).substr(0, proposed.size()), proposed);
        testui::SetText(dlg, FILE_NAME_FIELD, path);
        testui::Press(dlg, IDOK);
    });
    EXPECT_TRUE(SaveFile());
    ASSERT_EQ(ui.seen().size(), 1u);
    EXPECT_EQ(ui.seen()[0].caption, "Uložit soubor");
    EXPECT_EQ(ReadFile(path), "# Titrionika 2.0\r\n\r\n1.5\t-120\r\n2\t20.25\r\n");
    EXPECT_EQ(Title(), "Titrion - titrace.tid");
    EXPECT_FALSE(fname_auto);
    EXPECT_FALSE(dirty);

    // A named document is saved without a picker.
    SelectListItem(0);
    Command(IDM_DELETE);
    ASSERT_TRUE(dirty);
    Command(IDM_SAVE);
    EXPECT_EQ(ui.seen().size(), 1u);
    EXPECT_FALSE(dirty);
    EXPECT_EQ(ReadFile(path), "# Titrionika 2.0\r\n\r\n2\t20.25\r\n");
}

TEST_F(Documents, AFailedSaveKeepsTheNameAndTheChangedState) {
    ScratchDir dir;
    Load({{1, 10}});
    const std::string missing = dir.path("chybí\\titrace.tid");
    std::snprintf(fname, sizeof fname, "%s", missing.c_str());
    fname_auto = false;
    SetTitle();
    dirty = true;

    testui::ModalScript ui;
    ui.press(IDOK);
    EXPECT_FALSE(SaveFile());
    ASSERT_EQ(ui.seen().size(), 1u);
    EXPECT_EQ(ui.seen()[0].text, "Chyba při ukládaní souboru.");
    EXPECT_EQ(ui.seen()[0].icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_TRUE(dirty);
    EXPECT_EQ(fname, missing);
    EXPECT_EQ(Title(), "Titrion - titrace.tid");

    // Closing with Yes and the failing save keeps the window.
    ui.press(IDYES).press(IDOK);
    SendMessageA(hwndMain, WM_CLOSE, 0, 0);
    EXPECT_FALSE(RunQueue());
    EXPECT_TRUE(IsWindow(hwndMain));
    EXPECT_EQ(ui.seen().size(), 3u);
}

// Stands in for the file system refusing to put the new file in place.
BOOL WINAPI RefuseMove(LPCSTR, LPCSTR, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

TEST_F(Documents, AFailedSaveAsKeepsTheOldNameAndTitle) {
    ScratchDir dir;
    Load({{1, 10}});
    dirty = true;
    const std::string title = Title();
    const std::string name = fname;
    testui::ImportHook refuse("kernel32.dll", "MoveFileExA", reinterpret_cast<void*>(RefuseMove));
    ASSERT_GT(refuse.patched(), 0);

    testui::ModalScript ui;
    ui.type(FILE_NAME_FIELD, dir.path("nová.tid"), IDOK).press(IDOK);
    SendMessageA(hwndMain, WM_COMMAND, IDM_SAVEAS, 0);
    ASSERT_EQ(ui.seen().size(), 2u);
    EXPECT_EQ(ui.seen()[0].caption, "Uložit soubor");
    EXPECT_EQ(ui.seen()[1].text, "Chyba při ukládaní souboru.");
    EXPECT_EQ(Title(), title);
    EXPECT_EQ(fname, name);
    EXPECT_TRUE(fname_auto);
    EXPECT_TRUE(dirty);
    EXPECT_EQ(GetFileAttributesA(dir.path("nová.tid").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace apptest
