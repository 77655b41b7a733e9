#include "controls/cmndlgex.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstring>

namespace {

// The largest path the dialogs handle, with its NUL.
const int PATH_SIZE = MAX_PATH + 1;

// Where the next file dialog starts: the folder of the last file chosen. Shared by all
// dialogs of the run.
char dir[PATH_SIZE] = "";

// Cuts `path` right after its last backslash; false when it has none.
bool KeepFolder(char* path) {
    char* slash = std::strrchr(path, '\\');
    if (!slash) return false;
    slash[1] = '\0';
    return true;
}

void SetInitialFolder(const char* name) {
    char full[PATH_SIZE];
    if (name[0]) {
        char* file_part = nullptr;
        const DWORD n = GetFullPathNameA(name, PATH_SIZE, full, &file_part);
        if (n > 0 && n < static_cast<DWORD>(PATH_SIZE) && KeepFolder(full)) lstrcpynA(dir, full, PATH_SIZE);
    } else if (!dir[0]) {
        const DWORD n = GetModuleFileNameA(nullptr, full, PATH_SIZE);
        if (n > 0 && n < static_cast<DWORD>(PATH_SIZE) && KeepFolder(full)) lstrcpynA(dir, full, PATH_SIZE);
    }
}

// The 1-based filter index for the extension of `work`; a matching extension is cut off
// `work`, so that the dialog shows the bare name under its filter.
int SelectFilter(const char* filter, char* work) {
    // Only a dot in the file name itself starts an extension, not one in a folder name.
    char* name_part = work;
    for (char* p = work; *p; ++p)
        if (*p == '\\' || *p == '/') name_part = p + 1;
    char* dot = std::strrchr(name_part, '.');
    if (!dot) return 1;
    const char* ext = dot + 1;
    int index = 1;
    for (const char* desc = filter; *desc; ++index) {
        const char* pattern = desc + std::strlen(desc) + 1;
        if (!*pattern) return 1;
        if (std::strlen(pattern) >= 2 && lstrcmpiA(pattern + 2, ext) == 0) {
            *dot = '\0';
            return index;
        }
        desc = pattern + std::strlen(pattern) + 1;
    }
    return index > 1 ? index - 1 : 1;
}

// The extension of the first pattern ("*.tid" gives "tid"); none when it is a wildcard, so
// that a name typed under "*.*" is never given an extension such as ".*".
const char* DefaultExtension(const char* filter) {
    if (!*filter) return nullptr;
    const char* pattern = filter + std::strlen(filter) + 1;
    if (pattern[0] != '*' || pattern[1] != '.') return nullptr;
    const char* ext = pattern + 2;
    if (!*ext || std::strpbrk(ext, "*?;")) return nullptr;
    return ext;
}

}  // namespace

int GetFileName(HWND owner, const char* filter, const char* caption, char* name, int size, int save) {
    if (size < 1) return 0;
    SetInitialFolder(name);
    char work[PATH_SIZE];
    lstrcpynA(work, name, PATH_SIZE);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = SelectFilter(filter, work);
    ofn.lpstrFile = work;
    ofn.nMaxFile = size < PATH_SIZE ? size : PATH_SIZE;
    ofn.lpstrInitialDir = dir[0] ? dir : nullptr;
    ofn.lpstrTitle = caption;
    ofn.lpstrDefExt = DefaultExtension(filter);
    ofn.Flags = save ? OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN
                     : OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    const BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok) return 0;
    lstrcpynA(name, work, size);
    char folder[PATH_SIZE];
    lstrcpynA(folder, work, PATH_SIZE);
    if (char* slash = std::strrchr(folder, '\\')) {
        *slash = '\0';
        lstrcpynA(dir, folder, PATH_SIZE);
    }
    return ok;
}

char* GetLocalFileName(char* path, const char* file) {
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || !KeepFolder(path)) path[0] = '\0';
    std::strcat(path, file);
    return path;
}

int CALLBACK BrowseCallbackProc(HWND wnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED) SendMessageA(wnd, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

int BrowseForFolder(HWND owner, const char* caption, char* path) {
    IMalloc* malloc = nullptr;
    if (FAILED(SHGetMalloc(&malloc))) return 0;
    char display[MAX_PATH];
    BROWSEINFOA bi{};
    bi.hwndOwner = owner;
    bi.pszDisplayName = display;
    bi.lpszTitle = caption;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    if (path[0]) {
        bi.lpfn = BrowseCallbackProc;
        bi.lParam = reinterpret_cast<LPARAM>(path);
    }
    int chosen = 0;
    if (LPITEMIDLIST item = SHBrowseForFolderA(&bi)) {
        char folder[MAX_PATH];
        if (SHGetPathFromIDListA(item, folder)) {
            lstrcpynA(path, folder, MAX_PATH);
            chosen = 1;
        }
        malloc->Free(item);
    }
    malloc->Release();
    return chosen;
}
