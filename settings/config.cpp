#include "settings/config.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "controls/cmndlgex.h"
#include "core/calc.h"

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

// Every key is named after its variable.
#define CONFIG_ROW(type, section, var) {type, section, #var, &var, 0}
#define CONFIG_RANGE(section, var, low, high) {CONFIG_INT, section, #var, &var, 0, low, high}
// The Options dialog takes any whole number from 0 as a precision or a steepness; the colour
// selectors give RGB values, the graph's menu one of its three views.
constexpr int NOT_NEGATIVE = 0;
constexpr int RGB_WHITE = 0xFFFFFF;
constexpr int LAST_VIEW = 2;

CONFIG_ITEM config[] = {
    CONFIG_ROW(CONFIG_BOOL, sect_main, use_comma),
    CONFIG_RANGE(sect_main, vb_precis, NOT_NEGATIVE, INT_MAX),
    CONFIG_RANGE(sect_main, e_precis, NOT_NEGATIVE, INT_MAX),
    CONFIG_RANGE(sect_main, de_precis, NOT_NEGATIVE, INT_MAX),
    CONFIG_RANGE(sect_main, d2e_precis, NOT_NEGATIVE, INT_MAX),
    CONFIG_RANGE(sect_main, res_precis, NOT_NEGATIVE, INT_MAX),
    // Newer keys: a file without them gives the defaults, and older readers ignore them.
    CONFIG_RANGE(sect_main, recognition, RECOGNIZE_ALL, RECOGNIZE_STEEPEST),
    CONFIG_RANGE(sect_main, min_steepness, NOT_NEGATIVE, INT_MAX),
    CONFIG_RANGE(sect_graph, graph_precis, NOT_NEGATIVE, INT_MAX),
    CONFIG_RANGE(sect_graph, graph_bkg, 0, RGB_WHITE),
    CONFIG_RANGE(sect_graph, graph_line, 0, RGB_WHITE),
    CONFIG_RANGE(sect_graph, graph_axes, 0, RGB_WHITE),
    CONFIG_RANGE(sect_graph, graph_labels, 0, RGB_WHITE),
    CONFIG_ROW(CONFIG_BOOL, sect_graph, graph_show_labels),
    CONFIG_ROW(CONFIG_BOOL, sect_graph, graph_show_axes),
    CONFIG_ROW(CONFIG_BOOL, sect_graph, graph_show_scale),
    CONFIG_RANGE(sect_graph, graph_view, 0, LAST_VIEW),
    {CONFIG_OPTIONAL_STR, sect_determination, "default_determination", default_determination, DEFAULT_DETERMINATION_SIZE},
    {CONFIG_OPTIONAL_STR, sect_determination, "default_titer_date", default_titer_date, DEFAULT_TITER_DATE_SIZE},
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

void ConfigSaveInt(const char* path, CONFIG_ITEM* row) {
    WritePrivateProfileInt(path, row->section, row->key_name, Clamp(*static_cast<int*>(row->target), row->low, row->high));
}

void ConfigSaveStr(const char* path, CONFIG_ITEM* row) {
    WritePrivateProfileStringA(row->section, row->key_name, static_cast<const char*>(row->target),
                               path);
}

void ConfigSaveBool(const char* path, CONFIG_ITEM* row) {
    WritePrivateProfileInt(path, row->section, row->key_name,
                           *static_cast<bool*>(row->target) ? 1 : 0);
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
        default: break;
        }
    }
}

void SaveConfig(const char* file_name, CONFIG_ITEM* table) {
    char path[CONFIG_PATH];
    if (!ConfigPath(path, file_name)) return;
    for (CONFIG_ITEM* row = table; row->type != CONFIG_END; ++row) {
        switch (row->type) {
        case CONFIG_INT: ConfigSaveInt(path, row); break;
        case CONFIG_STR: ConfigSaveStr(path, row); break;
        case CONFIG_OPTIONAL_STR:
            // A null value removes the key, so a file of a program that never set one stays as it was.
            if (*static_cast<const char*>(row->target)) ConfigSaveStr(path, row);
            else WritePrivateProfileStringA(row->section, row->key_name, nullptr, path);
            break;
        case CONFIG_BOOL: ConfigSaveBool(path, row); break;
        default: break;
        }
    }
}

BOOL WritePrivateProfileInt(const char* path, const char* section, const char* key, int value) {
    char text[40];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
    return WritePrivateProfileStringA(section, key, text, path);
}
