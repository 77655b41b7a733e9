// Help: the manual beside the program, opened by the shell.
#include "app/Titrionika_dialogs.h"

#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/main_window.h"
#include "resources/resource.h"

HelpShellExecute help_shell_execute = ShellExecuteA;

namespace {

// The shell's failure, as the user reads it.
void ShowShellError(HINSTANCE result) {
    const auto code = static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(result));
    char unknown[64];
    const char* reason;
    switch (code & 0xFFFF) {
    case 0: reason = "Nedostatek paměti/systémových prostředků"; break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: reason = "Soubor nápovědy nenalezen"; break;
    case ERROR_BAD_FORMAT: reason = "Chyba v prohlížeči PDF dokumentů, přeinstalujte jej"; break;
    case SE_ERR_SHARE: reason = "Narušení sdílení"; break;
    case SE_ERR_ASSOCINCOMPLETE: reason = "asociace soubaru je špatná"; break;
    case SE_ERR_DDETIMEOUT: reason = "DDE transakce neprovedena, protože vypršel čas"; break;
    case SE_ERR_DDEFAIL: reason = "DDE transakce se nezdařila"; break;
    case SE_ERR_DDEBUSY: reason = "DDE transakce neprovedena, protože byly prováděny jiné DDE transakce"; break;
    default:
        // The two words are joined by a no-break space.
        std::snprintf(unknown, sizeof unknown, "Neznámá\u00A0chyba #%08lx", code);
        reason = unknown;
        break;
    }
    char message[256];
    std::snprintf(message, sizeof message, "Chyba při otevírání souboru nápovědy (%s)", reason);
    MessageBoxA(main_window.dialog, message, "Chyba", MB_ICONERROR);
}

} // namespace

void ShowHelp(int kind) {
    char folder[MAX_PATH + 2];
    const DWORD length = GetModuleFileNameA(nullptr, folder, MAX_PATH + 1);
    char* slash = length > 0 && length < MAX_PATH + 1 ? std::strrchr(folder, '\\') : nullptr;
    if (!slash) {
        MessageBoxA(main_window.dialog, "Systémová chyba", "Chyba", MB_ICONERROR);
        return;
    }
    slash[1] = '\0';
    char document[MAX_PATH + 16];
    std::snprintf(document, sizeof document, "%s%s", folder, kind == 1 ? "titrion2.pdf" : "titrion2.rtf");

    const HINSTANCE result = help_shell_execute(nullptr, nullptr, document, nullptr, folder, SW_SHOW);
    const auto code = reinterpret_cast<std::uintptr_t>(result);
    if (code > 32) return;
    if ((code & 0xFFFF) != SE_ERR_NOASSOC) {
        ShowShellError(result);
    } else if (kind == 1) {
        DialogBoxParamA(main_window.instance, MAKEINTRESOURCEA(IDD_HELPERROR), main_window.dialog, DummyDlgProc, 0);
    } else {
        MessageBoxA(main_window.dialog, "Není nainstalován žádný prohlížeč dokumentů RTF.", "Chyba", MB_ICONERROR);
    }
}
