// The persistent settings: one table of global variables, read from the INI file beside the
// program at start and written back at exit.
#pragma once
#include <windows.h>

#include <climits>
#include <string>
#include <vector>

enum {
    CONFIG_END = -1,
    CONFIG_INT = 1,   // target: int
    CONFIG_STR = 2,   // target: char[size]
    CONFIG_BOOL = 3,  // target: bool
    CONFIG_OPTIONAL_STR = 4,  // target: char[size]; while empty its key is left out of the file
    CONFIG_GRAN = 5,  // target: GranOptions, in its text form; left out of the file at its defaults
};

struct CONFIG_ITEM {
    int type;
    const char* section;
    const char* key_name;
    void* target;
    int size;  // CONFIG_STR: buffer size in characters, NUL included; 0 otherwise
    // CONFIG_INT: the values the program's dialogs accept; others are brought into the range.
    int low = INT_MIN;
    int high = INT_MAX;
};

extern const char sect_main[];
extern const char sect_graph[];
extern const char config_file[];  // "titrion2.ini"

// The program's settings, in the order they are written.
extern CONFIG_ITEM config[];

// Colours (COLORREF) and switches of the graph window.
extern COLORREF graph_bkg;
extern COLORREF graph_line;
extern COLORREF graph_axes;
extern COLORREF graph_labels;
extern bool graph_show_labels;
extern bool graph_show_axes;
extern bool graph_show_scale;
// The graph window's view: 0 E, 1 E', 2 E'' (the default), 3 the Gran plot; other values read as 2.
extern int graph_view;
// The last determination used, the default of new and imported documents: its comment lines
// joined by tabs (empty for none); and the date a series last stored its titer there.
constexpr int DEFAULT_DETERMINATION_SIZE = 2048;
constexpr int DEFAULT_TITER_DATE_SIZE = 32;
extern const char sect_determination[];
extern char default_determination[DEFAULT_DETERMINATION_SIZE];
extern char default_titer_date[DEFAULT_TITER_DATE_SIZE];
// The electrode calibration: its buffers as core/ph_calibration.h writes them, and when it was
// made ("2026-12-07 11:30", local time); both empty until the first calibration.
constexpr int CALIBRATION_BUFFERS_SIZE = 512;
constexpr int CALIBRATION_DATE_SIZE = 32;
extern const char sect_calibration[];
extern char calibration_buffers[CALIBRATION_BUFFERS_SIZE];
extern char calibration_date[CALIBRATION_DATE_SIZE];

// Read or write every row of `table` up to its CONFIG_END row; `file_name` lies beside the
// program, or is a full path. A missing file or key, or a number row whose text is no number, leaves the
// variable as it is (a string row becomes empty); a number beyond its row's range reads, and
// is written, as the nearest end of the range.
void LoadConfig(const char* file_name, CONFIG_ITEM* table);
// False when a value could not be written.
bool SaveConfig(const char* file_name, CONFIG_ITEM* table);

// The settings file: beside the program while its folder is writable, as a portable program
// keeps it; under `appdata`\Titrion when that folder cannot be written or an ini is already
// there (the folder made when missing).
std::string SettingsPath(const std::string& program_folder, const std::string& appdata);
std::string SettingsPath();  // of this program and user

// The documents last opened or saved, the newest first, kept in the [Recent] section.
constexpr int RECENT_FILES = 6;
extern std::vector<std::string> recent_files;
void LoadRecentFiles(const char* path);
bool SaveRecentFiles(const char* path);
void AddRecentFile(const std::string& file);
void RemoveRecentFile(const std::string& file);

// One row; `path` is the full path of the INI file.
void ConfigLoadInt(const char* path, CONFIG_ITEM* row);
void ConfigLoadStr(const char* path, CONFIG_ITEM* row);
void ConfigLoadBool(const char* path, CONFIG_ITEM* row);
BOOL ConfigSaveInt(const char* path, CONFIG_ITEM* row);
void ConfigLoadGran(const char* path, CONFIG_ITEM* row);
BOOL ConfigSaveGran(const char* path, CONFIG_ITEM* row);
BOOL ConfigSaveStr(const char* path, CONFIG_ITEM* row);
BOOL ConfigSaveBool(const char* path, CONFIG_ITEM* row);

// Writes `value` as unsigned decimal (-1 as 4294967295, which reads back as -1).
BOOL WritePrivateProfileInt(const char* path, const char* section, const char* key, int value);
