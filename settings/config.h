// The persistent settings: one table of global variables, read from the INI file beside the
// program at start and written back at exit.
#pragma once
#include <windows.h>

#include <climits>

enum {
    CONFIG_END = -1,
    CONFIG_INT = 1,   // target: int
    CONFIG_STR = 2,   // target: char[size]
    CONFIG_BOOL = 3,  // target: bool
    CONFIG_OPTIONAL_STR = 4,  // target: char[size]; while empty its key is left out of the file
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
// The graph window's view: 0 E, 1 E', 2 E'' (the default); other values read as 2.
extern int graph_view;
// The last determination used, the default of new and imported documents: its comment lines
// joined by tabs (empty for none); and the date a series last stored its titer there.
constexpr int DEFAULT_DETERMINATION_SIZE = 2048;
constexpr int DEFAULT_TITER_DATE_SIZE = 32;
extern const char sect_determination[];
extern char default_determination[DEFAULT_DETERMINATION_SIZE];
extern char default_titer_date[DEFAULT_TITER_DATE_SIZE];

// Read or write every row of `table` up to its CONFIG_END row; `file_name` lies beside the
// program. A missing file or key, or a number row whose text is no number, leaves the
// variable as it is (a string row becomes empty); a number beyond its row's range reads, and
// is written, as the nearest end of the range.
void LoadConfig(const char* file_name, CONFIG_ITEM* table);
void SaveConfig(const char* file_name, CONFIG_ITEM* table);

// One row; `path` is the full path of the INI file.
void ConfigLoadInt(const char* path, CONFIG_ITEM* row);
void ConfigLoadStr(const char* path, CONFIG_ITEM* row);
void ConfigLoadBool(const char* path, CONFIG_ITEM* row);
void ConfigSaveInt(const char* path, CONFIG_ITEM* row);
void ConfigSaveStr(const char* path, CONFIG_ITEM* row);
void ConfigSaveBool(const char* path, CONFIG_ITEM* row);

// Writes `value` as unsigned decimal (-1 as 4294967295, which reads back as -1).
BOOL WritePrivateProfileInt(const char* path, const char* section, const char* key, int value);
