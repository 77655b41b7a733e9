#include "app/outside.h"

#include <shlobj.h>

#include <cstring>

#include "app/main_window.h"
#include "resources/resource.h"
#include "settings/config.h"

namespace {

std::string Utf8(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], length, nullptr, nullptr);
    out.pop_back();
    return out;
}

// The menu item's text: "&" in a path would underline the next letter.
std::string RecentItemText(int k, const std::string& path) {
    std::string text = "&" + std::to_string(k + 1) + " ";
    for (char c : path) text += c == '&' ? "&&" : std::string(1, c);
    return text;
}

bool SetValue(const std::wstring& key, const std::wstring& value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &out[0], length);
    out.resize(wcslen(out.c_str()));
    return out;
}

}  // namespace

std::vector<std::string> CommandLineArguments() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> out;
    for (int i = 1; args && i < count; ++i) out.push_back(Utf8(args[i]));
    LocalFree(args);
    return out;
}

bool IsDocumentFile(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    return dot != std::string::npos && lstrcmpiA(path.c_str() + dot, ".tid") == 0;
}

std::string DroppedFile(HDROP drop) {
    wchar_t path[MAX_PATH] = L"";
    const bool named = DragQueryFileW(drop, 0, path, MAX_PATH) > 0;
    DragFinish(drop);
    return named ? Utf8(path) : std::string();
}

void UpdateRecentMenu() {
    HMENU file = GetSubMenu(GetMenu(main_window.dialog), 0);
    if (!file) return;
    for (int k = 0; k < RECENT_FILES; ++k) DeleteMenu(file, IDM_RECENT_FIRST + k, MF_BYCOMMAND);
    // The separator of the list stands right above "Konec", after a separator of its own.
    int exit_at = GetMenuItemCount(file) - 1;
    if (exit_at >= 2 && GetMenuItemID(file, exit_at - 1) == 0 && GetMenuItemID(file, exit_at - 2) == 0)
        DeleteMenu(file, static_cast<UINT>(--exit_at), MF_BYPOSITION);
    for (size_t k = 0; k < recent_files.size(); ++k)
        InsertMenuA(file, static_cast<UINT>(exit_at++), MF_BYPOSITION | MF_STRING, IDM_RECENT_FIRST + k,
                    RecentItemText(static_cast<int>(k), recent_files[k]).c_str());
    if (!recent_files.empty()) InsertMenuA(file, static_cast<UINT>(exit_at), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

bool RegisterFileType(const std::wstring& exe) {
    const std::wstring type = L"Titrion.Document";
    const bool written = SetValue(L".tid", type) && SetValue(type, Wide(ResourceString(IDS_FILE_TYPE))) &&
                         SetValue(type + L"\\DefaultIcon", L"\"" + exe + L"\",0") &&
                         SetValue(type + L"\\shell\\open\\command", L"\"" + exe + L"\" \"%1\"");
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return written;
}
