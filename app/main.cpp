// Entry point of titrion3.exe. The command line and the show flag are not used: the program
// always starts with an untitled document in a window of its own size.
#include "app/Titrionika.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*command_line*/, int /*show*/) {
    return TitrionMain(instance);
}
