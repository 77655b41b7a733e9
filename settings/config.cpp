#include "settings/config.h"

#include <cstdio>
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

// Every key is named after its variable.
#define CONFIG_ROW(type, section, var) {type, section, #var, &var, 0}

CONFIG_ITEM config[] = {
    CONFIG_ROW(CONFIG_BOOL, sect_main, use_comma),
    CONFIG_ROW(CONFIG_INT, sect_main, vb_precis),
    CONFIG_ROW(CONFIG_INT, sect_main, e_precis),
    CONFIG_ROW(CONFIG_INT, sect_main, de_precis),
    CONFIG_ROW(CONFIG_INT, sect_main, d2e_precis),
    CONFIG_ROW(CONFIG_INT, sect_main, res_precis),
    // Newer keys: a file without them gives the defaults, and older readers ignore them.
    CONFIG_ROW(CONFIG_INT, sect_main, recognition),
    CONFIG_ROW(CONFIG_INT, sect_main, min_steepness),
    CONFIG_ROW(CONFIG_INT, sect_graph, graph_precis),
    CONFIG_ROW(CONFIG_INT, sect_graph, graph_bkg),
    CONFIG_ROW(CONFIG_INT, sect_graph, graph_line),
    CONFIG_ROW(CONFIG_INT, sect_graph, graph_axes),
    CONFIG_ROW(CONFIG_INT, sect_graph, graph_labels),
    CONFIG_ROW(CONFIG_BOOL, sect_graph, graph_show_labels),
    CONFIG_ROW(CONFIG_BOOL, sect_graph, graph_show_axes),
    CONFIG_ROW(CONFIG_BOOL, sect_graph, graph_show_scale),
    CONFIG_ROW(CONFIG_INT, sect_graph, graph_view),
    {CONFIG_END, nullptr, nullptr, nullptr, 0},
};

#undef CONFIG_ROW

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

} // namespace

void ConfigLoadInt(const char* path, CONFIG_ITEM* row) {
    int* value = static_cast<int*>(row->target);
    *value = static_cast<int>(GetPrivateProfileIntA(row->section, row->key_name, *value, path));
}

void ConfigLoadStr(const char* path, CONFIG_ITEM* row) {
    if (row->size <= 0) return;
    GetPrivateProfileStringA(row->section, row->key_name, "", static_cast<char*>(row->target),
                             static_cast<DWORD>(row->size), path);
}

void ConfigLoadBool(const char* path, CONFIG_ITEM* row) {
    bool* value = static_cast<bool*>(row->target);
    *value = GetPrivateProfileIntA(row->section, row->key_name, *value ? 1 : 0, path) != 0;
}

void ConfigSaveInt(const char* path, CONFIG_ITEM* row) {
    WritePrivateProfileInt(path, row->section, row->key_name, *static_cast<int*>(row->target));
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
        case CONFIG_STR: ConfigLoadStr(path, row); break;
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
