// The real titrion3.exe, started from a scratch folder with its vexplot3.dll and driven from
// this process; the saved document and the settings file are checked afterwards.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/driver.h"

namespace {

using namespace driver;

// The settings file written at exit, with every setting at its built-in value, in order.
void ExpectDefaultSettings(const std::string& ini) {
    const char* lines[] = {"[Main]",           "use_comma=1",         "vb_precis=3",        "e_precis=4",
                           "de_precis=4",      "d2e_precis=4",        "res_precis=4",       "[Graph]",
                           "graph_precis=4",   "graph_bkg=0",         "graph_line=16711680", "graph_axes=255",
                           "graph_labels=65280", "graph_show_labels=1", "graph_show_axes=1"};
    size_t at = 0;
    for (const char* line : lines) {
        const size_t found = ini.find(line, at);
        EXPECT_NE(found, std::string::npos) << line << " in\n" << ini;
        if (found != std::string::npos) at = found;
    }
}

TEST(EndToEnd, EnterEditCopyPasteSaveAndClose) {
    ProgramCopy folder;
    ASSERT_TRUE(folder.copied());
    Program titrion(folder.path("titrion3.exe"));
    ASSERT_TRUE(titrion.Start()) << "titrion3.exe did not start";
    EXPECT_EQ(Text(titrion.main()), "Titrion - Bez jména 1.tid");
    HWND list = titrion.list();

    // Points typed in: "p" on the list, then the menu command.
    titrion.Key(list, WM_CHAR, 'p');
    ASSERT_TRUE(titrion.EnterPoint("Přidat...", "2", "-20"));
    titrion.Command(IDM_ADD);
    ASSERT_TRUE(titrion.EnterPoint("Přidat...", "1,5", "-120"));
    titrion.Command(IDM_ADD);
    ASSERT_TRUE(titrion.EnterPoint("Přidat...", "3.25", "80"));

    // Home, Down, Enter: the second point (Vb 2) in the edit dialog.
    titrion.Key(list, WM_KEYDOWN, VK_HOME);
    titrion.Key(list, WM_KEYDOWN, VK_DOWN);
    titrion.Key(list, WM_KEYDOWN, VK_RETURN);
    HWND edit = titrion.WaitDialog("Upravit...");
    ASSERT_TRUE(edit);
    EXPECT_EQ(Text(GetDlgItem(edit, IDC_VB)), "2,000");
    EXPECT_EQ(Text(GetDlgItem(edit, IDC_E)), "-20,0000");
    ASSERT_TRUE(titrion.EnterPoint("Upravit...", "2", "-25,5"));

    // The edited point stays selected: copy it, and paste a point from here.
    titrion.Command(IDM_COPY);
    ASSERT_TRUE(titrion.Sync());
    EXPECT_EQ(ClipboardText(), "2.000000\t-25.500000");
    ASSERT_TRUE(PutClipboardText("4\t150\r\n"));
    titrion.Command(IDM_PASTE);
    ASSERT_TRUE(titrion.Sync());

    // Save: the untitled document asks for a name, proposing its own.
    titrion.Command(IDM_SAVE);
    HWND picker = titrion.WaitDialog("Uložit soubor");
    ASSERT_TRUE(picker);
    HWND field = Descendant(picker, FILE_NAME_FIELD);
    ASSERT_TRUE(field);
    HWND name = ClassOf(field) == "Edit" ? field : Descendant(field, 0, "Edit");
    ASSERT_TRUE(name);
    EXPECT_EQ(Text(name).substr(0, 12), "Bez jména 1");  // with or without the filter's extension
    const std::string saved = folder.path("titrace.tid");
    ASSERT_TRUE(titrion.ChooseFile("Uložit soubor", saved));
    EXPECT_EQ(Text(titrion.main()), "Titrion - titrace.tid");

    // One more point, then the close box: the prompt names the file; No discards the point.
    titrion.Key(list, WM_CHAR, 'P');
    ASSERT_TRUE(titrion.EnterPoint("Přidat...", "5", "160"));
    PostMessageA(titrion.main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND prompt = titrion.WaitDialog("Potvrďte");
    ASSERT_TRUE(prompt);
    EXPECT_EQ(DialogText(prompt), "Mají se změny provedené v dokumentu titrace.tid uložit?");
    Program::Press(prompt, IDNO);
    EXPECT_EQ(titrion.WaitExit(), 0u);

    EXPECT_EQ(ReadFile(saved), "# Titrionika 2.0\r\n\r\n1.5\t-120\r\n2\t-25.5\r\n3.25\t80\r\n4\t150\r\n");
    ExpectDefaultSettings(ReadFile(folder.path("titrion2.ini")));

    // Started again, the program opens the file with its first point selected.
    Program again(folder.path("titrion3.exe"));
    ASSERT_TRUE(again.Start());
    again.Command(IDM_OPEN);
    ASSERT_TRUE(again.ChooseFile("Otevřít soubor", saved));
    EXPECT_EQ(Text(again.main()), "Titrion - titrace.tid");
    again.Command(IDM_COPY);
    ASSERT_TRUE(again.Sync());
    EXPECT_EQ(ClipboardText(), "1.500000\t-120.000000");
    PostMessageA(again.main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(again.WaitExit(), 0u);
}

TEST(EndToEnd, EscAsksBeforeUnsavedPointsAreLostAndEndsAtOnceAfterASave) {
    ProgramCopy folder;
    ASSERT_TRUE(folder.copied());
    Program titrion(folder.path("titrion3.exe"));
    ASSERT_TRUE(titrion.Start()) << "titrion3.exe did not start";
    titrion.Command(IDM_ADD);
    ASSERT_TRUE(titrion.EnterPoint("Přidat...", "1", "10"));
    titrion.Key(titrion.list(), WM_KEYDOWN, VK_ESCAPE);
    HWND prompt = titrion.WaitDialog("Potvrďte");
    ASSERT_TRUE(prompt);
    Program::Press(prompt, IDCANCEL);
    ASSERT_TRUE(titrion.WaitGone(prompt));
    EXPECT_EQ(SendMessageA(titrion.list(), LVM_GETITEMCOUNT, 0, 0), 1);

    titrion.Command(IDM_SAVE);
    ASSERT_TRUE(titrion.ChooseFile("Uložit soubor", folder.path("bod.tid")));
    titrion.Key(titrion.list(), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(titrion.WaitExit(), 0u);  // a prompt would keep it running
    ExpectDefaultSettings(ReadFile(folder.path("titrion2.ini")));
}

TEST(EndToEnd, AProgramThatCannotStartFails) {
    ProgramCopy folder;
    DeleteFileA(folder.path("vexplot3.dll").c_str());
    Program titrion(folder.path("titrion3.exe"));
    EXPECT_FALSE(titrion.Start());
}

}  // namespace
