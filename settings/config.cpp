#include "settings/config.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "controls/cmndlgex.h"
#include "core/calc.h"
#include "core/gran.h"

const char sect_main[] = "Main";
const char sect_graph[] = "Graph";
const char config_file[] = "titrion2.ini";

COLORREF graph_bkg = RGB(0, 0, 0);
COLORREF graph_line = RGB(0, 0, 255);
COLORREF graph_axes = RGB(255, 0, 0);
COLORREF graph_labels = RGB(0, 255, 0);
bool graph_show_labels = true;
bool graph_show_axes = true;
bool graph_show_scale = true;
int graph_view = 2;
const char sect_determination[] = "Determination";
char default_determination[DEFAULT_DETERMINATION_SIZE] = "";
char default_titer_date[DEFAULT_TITER_DATE_SIZE] = "";
const char sect_calibration[] = "Calibration";
char calibration_buffers[CALIBRATION_BUFFERS_SIZE] = "";
char calibration_date[CALIBRATION_DATE_SIZE] = "";

// Every key is named after its variable.
#define CONFIG_ROW(type, section, var) {type, section, #var, &var, 0}
#define CONFIG_RANGE(section, var, low, high) {CONFIG_INT, section, #var, &var, 0, low, high}
// The Options dialog takes any whole number from 0 as a precision, a steepness up to 100 %; the colour
// selectors give RGB values, the graph's menu one of its three views.
constexpr int NOT_NEGATIVE = 0;
constexpr int RGB_WHITE = 0xFFFFFF;
constexpr int LAST_VIEW = 3;

CONFIG_ITEM config[] = {
    CONFIG_ROW(CONFIG_BOOL, sect_main, use_comma),
    CONFIG_RANGE(sect_main, vb_precis, NOT_NEGATIVE, INT_MAX),
    CONFIG_RANGE(sect_main, e_precis, NOT_NEGATIVE, INT_MAX),
    CONFIG_RANGE(sect_main, de_precis, NOT_NEGATIVE, INT_MAX),
    CONFIG_RANGE(sect_main, d2e_precis, NOT_NEGATIVE, INT_MAX),
    CONFIG_RANGE(sect_main, res_precis, NOT_NEGATIVE, INT_MAX),
    // Newer keys: a file without them gives the defaults, and older readers ignore them.
    CONFIG_RANGE(sect_main, recognition, RECOGNIZE_ALL, RECOGNIZE_STEEPEST),
    CONFIG_RANGE(sect_main, min_steepness, NOT_NEGATIVE, 100),
    CONFIG_RANGE(sect_graph, graph_precis, NOT_NEGATIVE, INT_MAX),
    CONFIG_RANGE(sect_graph, graph_bkg, 0, RGB_WHITE),
    CONFIG_RANGE(sect_graph, graph_line, 0, RGB_WHITE),
    CONFIG_RANGE(sect_graph, graph_axes, 0, RGB_WHITE),
    CONFIG_RANGE(sect_graph, graph_labels, 0, RGB_WHITE),
    CONFIG_ROW(CONFIG_BOOL, sect_graph, graph_show_labels),
    CONFIG_ROW(CONFIG_BOOL, sect_graph, graph_show_axes),
    CONFIG_ROW(CONFIG_BOOL, sect_graph, graph_show_scale),
    CONFIG_RANGE(sect_graph, graph_view, 0, LAST_VIEW),
    {CONFIG_GRAN, sect_graph, "gran", &gran_options, 0},
    {CONFIG_OPTIONAL_STR, sect_determination, "default_determination", default_determination, DEFAULT_DETERMINATION_SIZE},
    {CONFIG_OPTIONAL_STR, sect_determination, "default_titer_date", default_titer_date, DEFAULT_TITER_DATE_SIZE},
    {CONFIG_OPTIONAL_STR, sect_calibration, "calibration_buffers", calibration_buffers, CALIBRATION_BUFFERS_SIZE},
    {CONFIG_OPTIONAL_STR, sect_calibration, "calibration_date", calibration_date, CALIBRATION_DATE_SIZE},
    {CONFIG_END, nullptr, nullptr, nullptr, 0},
};

#undef CONFIG_ROW
#undef CONFIG_RANGE

static_assert(sizeof(COLORREF) == sizeof(int), "colours are stored through CONFIG_INT rows");

namespace {

// The program's folder (at most MAX_PATH characters) plus a name of at most MAX_PATH.
constexpr size_t CONFIG_PATH = 2 * MAX_PATH + 2;

// False when the name would not fit beside the program's folder.
bool ConfigPath(char (&path)[CONFIG_PATH], const char* file_name) {
    if (file_name == nullptr || std::strlen(file_name) > MAX_PATH) return false;
    if (std::strpbrk(file_name, "\\/:"))
        std::snprintf(path, sizeof path, "%s", file_name);
    else
        GetLocalFileName(path, file_name);
    return true;
}

int Clamp(long long value, int low, int high) { return value < low ? low : value > high ? high : static_cast<int>(value); }

// The whole number that the key's text is, brought into [low, high]; false when the key is
// missing or its text is no number.
bool ReadNumber(const char* path, const CONFIG_ITEM* row, int low, int high, int* value) {
    char text[64];
    GetPrivateProfileStringA(row->section, row->key_name, "", text, sizeof text, path);
    char* end = nullptr;
    const long long number = std::strtoll(text, &end, 10);  // saturates beyond its range
    if (end == text || *end != '\0') return false;
    *value = Clamp(number, low, high);
    return true;
}

} // namespace

void ConfigLoadInt(const char* path, CONFIG_ITEM* row) {
    ReadNumber(path, row, row->low, row->high, static_cast<int*>(row->target));
}

void ConfigLoadStr(const char* path, CONFIG_ITEM* row) {
    if (row->size <= 0) return;
    GetPrivateProfileStringA(row->section, row->key_name, "", static_cast<char*>(row->target),
                             static_cast<DWORD>(row->size), path);
}

void ConfigLoadBool(const char* path, CONFIG_ITEM* row) {
    int number = 0;
    if (ReadNumber(path, row, INT_MIN, INT_MAX, &number)) *static_cast<bool*>(row->target) = number != 0;
}

BOOL ConfigSaveInt(const char* path, CONFIG_ITEM* row) {
    return WritePrivateProfileInt(path, row->section, row->key_name, Clamp(*static_cast<int*>(row->target), row->low, row->high));
}

BOOL ConfigSaveStr(const char* path, CONFIG_ITEM* row) {
    return WritePrivateProfileStringA(row->section, row->key_name, static_cast<const char*>(row->target),
                               path);
}

BOOL ConfigSaveBool(const char* path, CONFIG_ITEM* row) {
    return WritePrivateProfileInt(path, row->section, row->key_name,
                           *static_cast<bool*>(row->target) ? 1 : 0);
}

// Text that does not read keeps the options as they were, as a number row does.
void ConfigLoadGran(const char* path, CONFIG_ITEM* row) {
    char text[256];
    GetPrivateProfileStringA(row->section, row->key_name, "", text, sizeof text, path);
    ParseGranOptions(text, *static_cast<GranOptions*>(row->target));
}

BOOL ConfigSaveGran(const char* path, CONFIG_ITEM* row) {
    const std::string text = GranOptionsText(*static_cast<const GranOptions*>(row->target));
    if (text.empty()) {
        WritePrivateProfileStringA(row->section, row->key_name, nullptr, path);
        return TRUE;
    }
    return WritePrivateProfileStringA(row->section, row->key_name, text.c_str(), path);
}

void LoadConfig(const char* file_name, CONFIG_ITEM* table) {
    char path[CONFIG_PATH];
    if (!ConfigPath(path, file_name)) return;
    for (CONFIG_ITEM* row = table; row->type != CONFIG_END; ++row) {
        switch (row->type) {
        case CONFIG_INT: ConfigLoadInt(path, row); break;
        case CONFIG_STR:
        case CONFIG_OPTIONAL_STR: ConfigLoadStr(path, row); break;
        case CONFIG_BOOL: ConfigLoadBool(path, row); break;
        case CONFIG_GRAN: ConfigLoadGran(path, row); break;
        default: break;
        }
    }
}

bool SaveConfig(const char* file_name, CONFIG_ITEM* table) {
    char path[CONFIG_PATH];
    if (!ConfigPath(path, file_name)) return false;
    bool written = true;
    for (CONFIG_ITEM* row = table; row->type != CONFIG_END; ++row) {
        switch (row->type) {
        case CONFIG_INT: written = ConfigSaveInt(path, row) && written; break;
        case CONFIG_STR: written = ConfigSaveStr(path, row) && written; break;
        case CONFIG_OPTIONAL_STR:
            // A null value removes the key, so a file of a program that never set one stays as it was.
            if (*static_cast<const char*>(row->target))
                written = ConfigSaveStr(path, row) && written;
            else
                WritePrivateProfileStringA(row->section, row->key_name, nullptr, path);
            break;
        case CONFIG_BOOL: written = ConfigSaveBool(path, row) && written; break;
        case CONFIG_GRAN: written = ConfigSaveGran(path, row) && written; break;
        default: break;
        }
    }
    return written;
}

BOOL WritePrivateProfileInt(const char* path, const char* section, const char* key, int value) {
    char text[40];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
    return WritePrivateProfileStringA(section, key, text, path);
}

namespace {

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether a file can be made in `folder`: a probe that goes away when closed.
bool FolderWritable(const std::string& folder) {
    const std::string probe = folder + "\\titrion-probe.tmp";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::string Utf8(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(length > 0 ? static_cast<size_t>(length) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], length, nullptr, nullptr);
    out.resize(std::strlen(out.c_str()));
    return out;
}

const char sect_recent[] = "Recent";

}  // namespace

std::string SettingsPath(const std::string& program_folder, const std::string& appdata) {
    const std::string beside = program_folder + "\\" + config_file;
    const std::string own_folder = appdata + "\\Titrion";
    const std::string per_user = own_folder + "\\" + config_file;
    if (appdata.empty() || (!FileExists(per_user) && FolderWritable(program_folder) &&
                            (!FileExists(beside) || !(GetFileAttributesA(beside.c_str()) & FILE_ATTRIBUTE_READONLY))))
        return beside;
    CreateDirectoryA(own_folder.c_str(), nullptr);
    return per_user;
}

std::string SettingsPath() {
    char path[CONFIG_PATH];
    GetLocalFileName(path, "");
    std::string folder = path;
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    wchar_t appdata[MAX_PATH] = L"";
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", appdata, MAX_PATH);
    return SettingsPath(folder, length > 0 && length < MAX_PATH ? Utf8(appdata) : std::string());
}

std::vector<std::string> recent_files;

void LoadRecentFiles(const char* path) {
    recent_files.clear();
    for (int i = 1; i <= RECENT_FILES; ++i) {
        char key[16], file[CONFIG_PATH] = "";
        std::snprintf(key, sizeof key, "File%d", i);
        GetPrivateProfileStringA(sect_recent, key, "", file, sizeof file, path);
        if (file[0]) recent_files.push_back(file);
    }
}

bool SaveRecentFiles(const char* path) {
    bool written = true;
    for (int i = 1; i <= RECENT_FILES; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "File%d", i);
        const size_t k = static_cast<size_t>(i - 1);
        // Keys of no file are taken out, so that an empty list writes nothing.
        if (k < recent_files.size())
            written = WritePrivateProfileStringA(sect_recent, key, recent_files[k].c_str(), path) && written;
        else if (GetPrivateProfileIntA(sect_recent, key, -1, path) != UINT(-1))
            WritePrivateProfileStringA(sect_recent, key, nullptr, path);
    }
    return written;
}

void RemoveRecentFile(const std::string& file) {
    for (size_t k = 0; k < recent_files.size();)
        if (lstrcmpiA(recent_files[k].c_str(), file.c_str()) == 0)
            recent_files.erase(recent_files.begin() + static_cast<std::ptrdiff_t>(k));
        else
            ++k;
}

void AddRecentFile(const std::string& file) {
    RemoveRecentFile(file);
    recent_files.insert(recent_files.begin(), file);
    if (recent_files.size() > static_cast<size_t>(RECENT_FILES)) recent_files.resize(RECENT_FILES);
}
