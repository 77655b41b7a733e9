// The export commands: HTML through a dialog that asks for the file and the title, CSV
// through the file picker alone.
#include "app/Titrionika_dialogs.h"

#include <commdlg.h>

#include <cstring>

#include "app/main_window.h"
#include "controls/cmndlgex.h"
#include "core/calc.h"
#include "export/csv_export.h"
#include "export/html_export.h"
#include "resources/resource.h"
#include "settings/syncdlg.h"

namespace {

constexpr int FILE_SIZE = 260;
constexpr int HEADING_SIZE = 256;

const char html_filter[] = "Soubory HTML (*.html)\0*.html\0Všechny soubory (*.*)\0*.*\0";
const char csv_filter[] = "Soubory CSV (*.csv)\0*.csv\0Všechny soubory (*.*)\0*.*\0";
const char msg_export_error[] = "Chyba při zápisu do souboru.";
const char caption_html[] = "Export do HTML";
const char caption_csv[] = "Export do CSV";

BOOL OnInitDialog(HWND dialog, tag_CTL_SYNC* table) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(table));
    SyncOut(dialog, table, true);
    return TRUE;
}

void OnBrowse(HWND dialog) {
    char name[FILE_SIZE] = "";
    GetDlgItemTextA(dialog, IDC_HTML_FILE, name, FILE_SIZE);
    if (GetFileName(dialog, html_filter, "Exportovat HTML", name, FILE_SIZE, 1))
        SetDlgItemTextA(dialog, IDC_HTML_FILE, name);
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK: {
        auto* table = reinterpret_cast<tag_CTL_SYNC*>(GetWindowLongPtrA(dialog, DWLP_USER));
        // Without a file the dialog stays, and so does the title typed in it.
        if (GetWindowTextLengthA(GetDlgItem(dialog, IDC_HTML_FILE)) == 0) {
            MessageBoxA(dialog, ResourceString(IDS_HTML_NO_NAME).c_str(), caption_html, MB_OK | MB_ICONWARNING);
            SetFocus(GetDlgItem(dialog, IDC_HTML_BROWSE));
        } else if (SyncIn(dialog, table, true)) {
            EndDialog(dialog, 1);
        }
        break;
    }
    case IDCANCEL:
        EndDialog(dialog, 2);
        break;
    case IDC_HTML_BROWSE:
        OnBrowse(dialog);
        break;
    }
    return TRUE;
}

} // namespace

INT_PTR CALLBACK ExportHTMLDlgProc(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<tag_CTL_SYNC*>(lparam));
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wparam));
    }
    return FALSE;
}

void ExportHTML() {
    if (main_window.document.points.is_empty()) {
        MessageBoxA(main_window.dialog, "Dokument je prázdný", caption_html, MB_ICONWARNING);
        return;
    }
    char file[FILE_SIZE] = "";
    char heading[HEADING_SIZE] = "";
    int include_graph = 0;
    // The document's name without its folder and extension proposes the title.
    if (GetFileTitleA(main_window.document.file_name.c_str(), heading, HEADING_SIZE - 1) != 0) heading[0] = '\0';
    if (char* dot = std::strrchr(heading, '.')) *dot = '\0';

    tag_CTL_SYNC table[] = {
        {SYNC_STR_EDIT, nullptr, IDC_HTML_FILE, file, FILE_SIZE, nullptr, nullptr, nullptr},
        {SYNC_STR_EDIT, nullptr, IDC_HTML_TITLE, heading, HEADING_SIZE - 1, nullptr, nullptr, nullptr},
        {SYNC_CHECKBOX, nullptr, IDC_HTML_GRAPH, &include_graph, 0, nullptr, nullptr, nullptr},
        {SYNC_END, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr},
    };
    if (DialogBoxParamA(main_window.instance, MAKEINTRESOURCEA(IDD_HTMLEXPORT), main_window.dialog, ExportHTMLDlgProc,
                        reinterpret_cast<LPARAM>(table)) != 1)
        return;
    WriteFailure failure;
    if (!internal_export_html(main_window.document, file, heading, include_graph == 1, &failure))
        MessageBoxA(main_window.dialog, WriteErrorText(msg_export_error, file, failure).c_str(), caption_html, MB_ICONERROR);
}

void ExportCSV() {
    if (main_window.document.points.is_empty()) {
        MessageBoxA(main_window.dialog, "Dokument je prázdný", caption_csv, MB_ICONWARNING);
        return;
    }
    char file[FILE_SIZE] = "";
    if (!GetFileName(main_window.dialog, csv_filter, "Exportovat CSV", file, FILE_SIZE, 1)) return;
    WriteFailure failure;
    if (!internal_export_csv(main_window.document, file, &failure))
        MessageBoxA(main_window.dialog, WriteErrorText(msg_export_error, file, failure).c_str(), caption_csv, MB_ICONERROR);
}
