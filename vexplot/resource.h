// Resource identifiers of vexplot3.dll.
#pragma once

#define IDI_VEXPLOT 101
#define IDD_ABOUT 102
#define IDC_ABOUT_TITLE 1000
