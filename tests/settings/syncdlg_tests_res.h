// Dialogs of the synchronised-dialog tests.
#pragma once

#define IDD_SYNC_EMPTY   200
#define IDD_SYNC_FIELDS  201
#define IDD_SYNC_COLOURS 203

#define IDC_TEMPLATE_EDIT 1000
#define IDC_STR           1001
#define IDC_INT_A         1002
#define IDC_INT_B         1003
#define IDC_CHECK         1004
#define IDC_FLOAT         1005
#define IDC_MISSING       4242

// The colour dialog, laid out as the graph options.
#define IDC_AXES   1020
#define IDC_LABELS 1021
#define IDC_BKG    1022
#define IDC_LINE   1023
#define IDC_AXES_C 1024
#define IDC_LABELS_C 1025
