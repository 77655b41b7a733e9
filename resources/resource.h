// Resource identifiers of titrion3.exe: dialogs, menus, icons, bitmaps, strings, controls
// and commands. Included by the resource scripts and by the code.
#pragma once

// Dialogs
#define IDD_MAIN            101
#define IDD_ADDEDIT         107
#define IDD_ABOUT           110
#define IDD_HELPERROR       111
#define IDD_OPTIONS         112
#define IDD_DETAILS         113
#define IDD_HTMLEXPORT      114
#define IDD_IMPORT          115
#define IDD_GRAPHOPTIONS    121

// Menus and the accelerator table
#define IDR_MAINMENU        102
#define IDR_ACCEL           104
#define IDR_GRAPHMENU       111
#define IDR_RESULTSMENU     117
#define IDR_LISTMENU        120

// Icons and bitmaps
#define IDI_TITRION         103
#define IDB_HEADERS         105
#define IDB_TOOLBAR         106
#define IDI_VB              108
#define IDI_E               109
#define IDI_E_PH            113
#define IDI_ABOUT           110

// String table: the toolbar labels
#define IDS_TB_NEW          1
#define IDS_TB_OPEN         2
#define IDS_TB_SAVE         3
#define IDS_TB_ADD          4
#define IDS_TB_EDIT         5
#define IDS_TB_DELETE       6
#define IDS_TB_ABOUT        7

// Controls of the main window
#define IDC_TOOLBAR         1000
#define IDC_STATUS          1002
#define IDC_LIST            1004
#define IDC_RESULTS         1006

// Point entry
#define IDC_VB              1005
#define IDC_E               1006
#define IDC_E_ICON          1620

// About box and help error box
#define IDC_ABOUT_TITLE     1007
#define IDC_LINK            1008

// Options
#define IDC_USE_COMMA       1011
#define IDC_VB_PRECIS       1005
#define IDC_E_PRECIS        1006
#define IDC_DE_PRECIS       1014
#define IDC_D2E_PRECIS      1015
#define IDC_RES_PRECIS      1016
#define IDC_GRAPH_PRECIS    1017
#define IDC_RECOGNIZE_ALL   1030
#define IDC_RECOGNIZE_STEEPEST 1031
#define IDC_MIN_STEEPNESS   1032

// Details
#define IDC_DETAIL_VB       1005
#define IDC_DETAIL_X1       1006
#define IDC_DETAIL_Y1       1007
#define IDC_DETAIL_X2       1008
#define IDC_DETAIL_Y2       1009
#define IDC_DETAIL_STEEPNESS 1033
#define IDC_DETAIL_SMOOTHING 1034
#define IDC_DETAIL_SMOOTHING_LABEL 1035

// HTML export
#define IDC_HTML_FILE       1015
#define IDC_HTML_BROWSE     1016
#define IDC_HTML_GRAPH      1017
#define IDC_HTML_TITLE      1019

// Import
#define IDC_IMPORT_FORMAT   1050
#define IDC_IMPORT_PREVIEW  1051
#define IDC_IMPORT_VOLUME   1052
#define IDC_IMPORT_POTENTIAL 1053
#define IDC_IMPORT_COUNT    1054
#define IDC_IMPORT_BAD      1055

// Graph options
#define IDC_SHOW_AXES       1020
#define IDC_SHOW_LABELS     1021
#define IDC_CLR_BKG         1022
#define IDC_CLR_LINE        1023
#define IDC_CLR_AXES        1024
#define IDC_CLR_LABELS      1025
#define IDC_SHOW_SCALE      1040

// Commands (menus, accelerators, toolbar)
#define IDM_EXIT            40001
#define IDM_NEW             40002
#define IDM_OPEN            40003
#define IDM_SAVE            40004
#define IDM_SAVEAS          40005
#define IDM_ADD             40009
#define IDM_EDIT            40010
#define IDM_DELETE          40011
#define IDM_DELETEALL       40012
#define IDM_OPTIONS         40013
#define IDM_DETAILS         40014
#define IDM_GRAPH           40015
#define IDM_ABOUT           40018
#define IDM_EXPORTHTML      40021
#define IDM_COPY            40022
#define IDM_PASTE           40023
#define IDM_CUT             40024
#define IDM_HELP_RTF        40027
#define IDM_HELP_PDF        40028
#define IDM_GRAPH_OPTIONS   40029
#define IDM_EXPORTCSV       40050
#define IDM_IMPORT          40051
// The graph window's views, in the order of their keys 1, 2 and 3
#define IDM_VIEW_E          40040
#define IDM_VIEW_DE         40041
#define IDM_VIEW_D2E        40042
// The titles of the graph's axes (strings)
#define IDS_AXIS_VB         40045
#define IDS_AXIS_E          40046
#define IDS_AXIS_DE         40047
#define IDS_AXIS_D2E        40048
// A file that could not be written: the message naming it and the reason for a read-only one
#define IDS_WRITE_FAILED_FILE 40120
#define IDS_WRITE_READ_ONLY 40121
// The import's texts (strings); the names of an encoding, separator and decimal mark follow
// their first id in the order of ImportEncoding and of IMPORT_SEPARATORS, IMPORT_DECIMALS.
#define IDS_IMPORT_FROM_FILE 40060
#define IDS_IMPORT_FROM_CLIPBOARD 40061
#define IDS_IMPORT_NO_TEXT  40062
#define IDS_IMPORT_NO_NUMBERS 40063
#define IDS_IMPORT_NO_PAIRS 40064
#define IDS_IMPORT_FORMAT   40065
#define IDS_IMPORT_COUNT    40066
#define IDS_IMPORT_NO_BAD   40067
#define IDS_IMPORT_STATUS   40068
#define IDS_IMPORT_LINE     40069
#define IDS_IMPORT_COLUMN   40070
#define IDS_IMPORT_NAMED_COLUMN 40071
#define IDS_IMPORT_ENCODING 40080
#define IDS_IMPORT_SEPARATOR 40090
#define IDS_IMPORT_DECIMAL  40095
#define IDS_IMPORT_REPLACED 40110
#define IDS_IMPORT_DOUBTFUL   40111
#define IDS_IMPORT_MORE_COLUMNS 40112
// Why a file was not read: one string per ReadProblem after `none`, in its order.
#define IDS_READ_PROBLEM    40300
#define IDS_DETAIL_SMOOTHING 40130
// The main window's and the point entry's texts.
#define IDS_APP_TITLE       40200
#define IDS_READ_ERROR      40201
#define IDS_UNTITLED        40202
#define IDS_FILE_FILTER     40203
#define IDS_OLD_COMCTL      40204
#define IDS_OLD_WINDOWS     40205
#define IDS_SAVE_CHANGES    40206
#define IDS_WRITE_ERROR     40207
#define IDS_DELETE_ALL      40208
#define IDS_CAPTION_ERROR   40209
#define IDS_CAPTION_CONFIRM 40210
#define IDS_CAPTION_OPEN    40211
#define IDS_CAPTION_SAVE    40212
#define IDS_CAPTION_ADD     40213
#define IDS_CAPTION_EDIT    40214
#define IDS_BAD_VB          40215
#define IDS_BAD_E           40216
#define IDS_DUPLICATE_VB    40217
#define IDS_CAPTION_QUESTION 40218
#define IDS_IMPORT_FILTER   40219
#define IDS_CAPTION_IMPORT_FILE 40220
#define IDS_CAPTION_IMPORT  40221
// Undo, recent files, opening from outside and the settings' place (40400-40499).
#define IDM_UNDO            40400
#define IDM_REDO            40401
#define IDM_RECENT_FIRST    40410  // to IDM_RECENT_FIRST + 5
#define IDS_RECENT_MISSING  40420
#define IDS_SETTINGS_NOT_WRITTEN 40421
#define IDS_REGISTERED      40422
#define IDS_REGISTER_FAILED 40423
#define IDS_DELETE_SELECTED 40424
#define IDS_HTML_NO_NAME    40425
#define IDS_BAD_STEEPNESS   40426
#define IDS_COPY_HEADER     40427
#define IDS_FILE_TYPE       40428
// The determination and its series (dialogs, controls, commands and strings)
#define IDD_DETERMINATION   150
#define IDD_SERIES          151
#define IDC_DET_CONTENT     1500
#define IDC_DET_TITER_KIND  1501
#define IDC_DET_TITRANT     1502
#define IDC_DET_C           1503
#define IDC_DET_TITER       1504
#define IDC_DET_ANALYTE     1505
#define IDC_DET_M           1506
#define IDC_DET_Z           1507
#define IDC_DET_POINT       1508
#define IDC_DET_BLANK       1509
#define IDC_DET_VOLUME      1510
#define IDC_DET_MASS        1511
#define IDC_DET_SAMPLE      1512
#define IDC_DET_SAMPLE_UNIT 1513
#define IDC_DET_STANDARD    1514
#define IDC_DET_UNIT        1515
#define IDC_DET_DECIMALS    1516
#define IDC_DET_TITER_DATE  1517
#define IDC_DET_NONE        1518
#define IDC_DETAIL_CALCULATION 1520
#define IDC_DETAIL_CALCULATION_LABEL 1521
#define IDC_SERIES_LIST     1530
#define IDC_SERIES_ADD      1531
#define IDC_SERIES_ADD_OPEN 1532
#define IDC_SERIES_REMOVE   1533
#define IDC_SERIES_STATS    1534
#define IDC_SERIES_COPY     1535
#define IDC_SERIES_CSV      1536
#define IDC_SERIES_HTML     1537
#define IDC_SERIES_USE_TITER 1538
#define IDM_DETERMINATION   40500
#define IDM_SERIES          40501
#define IDS_DET_BAD_C       40510
#define IDS_DET_BAD_TITER   40511
#define IDS_DET_BAD_M       40512
#define IDS_DET_BAD_Z       40513
#define IDS_DET_BAD_POINT   40514
#define IDS_DET_BAD_BLANK   40515
#define IDS_DET_BAD_SAMPLE  40516
#define IDS_DET_BAD_STANDARD 40517
#define IDS_DET_BAD_UNIT    40518
#define IDS_DET_BAD_DECIMALS 40519
#define IDS_DET_STATUS      40520
#define IDS_DET_STATUS_NONE 40521
#define IDS_DET_DETAILS     40522
#define IDS_DET_TITER_DATE  40523
#define IDS_SERIES_FILE     40530
#define IDS_SERIES_SAMPLE   40531
#define IDS_SERIES_VOLUME   40532
#define IDS_SERIES_RESULT   40533
#define IDS_SERIES_NOTE     40534
#define IDS_SERIES_UNREADABLE 40535
#define IDS_SERIES_NO_DETERMINATION 40536
#define IDS_SERIES_MIXED    40537
#define IDS_SERIES_OUTLIER  40538
#define IDS_SERIES_STATS    40539
#define IDS_SERIES_EMPTY    40540
#define IDS_SERIES_OPEN_DOCUMENT 40541
#define IDS_SERIES_CSV_FILTER 40542
#define IDS_SERIES_HTML_FILTER 40543
#define IDS_SERIES_TITER_SET 40544
#define IDS_SERIES_NOT_TITER 40545
// pH titrations: the quantity, the set values, V0 and the half-neutralisation pKa.
#define IDC_DET_MV          1600
#define IDC_DET_PH          1601
#define IDC_DET_SET_VALUES  1602
#define IDC_DET_V0          1603
#define IDC_DETAIL_PKA      1604
#define IDC_DETAIL_PKA_LABEL 1605
#define IDS_AXIS_PH_E       40600
#define IDS_AXIS_PH_DE      40601
#define IDS_AXIS_PH_D2E     40602
#define IDB_HEADERS_PH      40603
#define IDS_COPY_HEADER_PH  40604
#define IDS_SET_VALUE_ROW   40605
#define IDS_SET_VALUE_NOT_REACHED 40606
#define IDS_DET_BAD_SET_VALUES 40607
#define IDS_DET_BAD_V0      40608
#define IDS_DETAIL_NOISE_PH 40611
// The Gran plot: the graph's fourth view and its options.
#define IDC_GRAN_FUNCTION   1700
#define IDC_GRAN_FROM       1701
#define IDC_GRAN_TO         1702
#define IDC_GRAN_CELSIUS    1703
#define IDM_VIEW_GRAN       40700
#define IDS_AXIS_GRAN       40701
#define IDS_GRAN_NOT_PH     40702
#define IDS_GRAN_NO_V0      40703
#define IDS_GRAN_NO_RANGE   40704
#define IDS_GRAN_NO_LINE    40705
#define IDS_GRAN_END_POINT  40706
#define IDS_GRAN_AFTER      40707
#define IDS_GRAN_BEFORE_STRONG 40708
#define IDS_GRAN_BEFORE_WEAK 40709
#define IDS_GRAN_BAD_RANGE  40710
#define IDS_GRAN_BAD_CELSIUS 40711
// The electrode calibration and the conversion to pH (controls 1650-1699, commands and strings
// 40650-40699); the dialog takes a number of that range too.
#define IDD_CALIBRATION     1650
#define IDC_CAL_PH1         1651  // to IDC_CAL_PH1 + 4, one row a buffer
#define IDC_CAL_PH2         1652
#define IDC_CAL_PH3         1653
#define IDC_CAL_PH4         1654
#define IDC_CAL_PH5         1655
#define IDC_CAL_MV1         1656  // to IDC_CAL_MV1 + 4
#define IDC_CAL_MV2         1657
#define IDC_CAL_MV3         1658
#define IDC_CAL_MV4         1659
#define IDC_CAL_MV5         1660
#define IDC_CAL_T1          1661  // to IDC_CAL_T1 + 4
#define IDC_CAL_T2          1662
#define IDC_CAL_T3          1663
#define IDC_CAL_T4          1664
#define IDC_CAL_T5          1665
#define IDC_CAL_COMPUTE     1666
#define IDC_CAL_RESULT      1667
#define IDM_CALIBRATION     40650
#define IDM_CONVERT_PH      40651
#define IDS_CAL_BAD_NUMBER  40652
#define IDS_CAL_BAD_TEMPERATURE 40653
#define IDS_CAL_INCOMPLETE  40654
#define IDS_CAL_TOO_FEW     40655
#define IDS_CAL_SAME_PH     40656
#define IDS_CAL_NO_SLOPE    40657
#define IDS_CAL_KEEP_ANYWAY 40658
#define IDS_CAL_STORED      40659
#define IDS_CAL_FIELD_PH    40660
#define IDS_CAL_FIELD_MV    40661
#define IDS_CAL_FIELD_T     40662
#define IDS_CONVERT_NO_CALIBRATION 40663
#define IDS_CONVERT_ALREADY_PH 40664
#define IDS_CONVERT_EMPTY   40665
#define IDS_CONVERT_DONE    40666
