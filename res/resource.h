// Resource ids of Tintaro LE, shared by the resource script and the program.
#pragma once

#define IDC_STATIC (-1)

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_PICKER 102
#define IDD_ZOOM 129
#define IDD_SLIDERS 133
#define IDD_PALETTE 134

// The notation menu opened by a right click on the main window
#define IDR_FORMAT_MENU 134

// The application icon
#define IDR_MAINFRAME 128

// Strings
#define IDS_ABOUTBOX 102
#define IDS_WINDOW_TITLE 103

// System-menu command that opens the About box
#define IDM_ABOUTBOX 0x0010

// Main window controls; the two GET commands are sent by the slider and palette windows
#define IDC_READOUT 1000
#define IDC_STRIP 1001
#define IDC_ZOOM 1003
#define IDC_OUTPUT 1004
#define IDC_SLIDERS 1005
#define IDC_PALETTE 1006
#define IDC_LIVE_SWATCH 1008
#define IDC_GETCOLOR 1016
#define IDC_GETPALETTECOLOR 1017
#define IDC_COPY 1020

// Slider window controls. The value texts are not in channel order: green is 1019, blue 1018.
#define IDC_SLIDER_PREVIEW 1001
#define IDC_TRANSFER 1002
#define IDC_SLIDER_RED 1013
#define IDC_SLIDER_GREEN 1014
#define IDC_SLIDER_BLUE 1015
#define IDC_SLIDER_RED_TEXT 1017
#define IDC_SLIDER_BLUE_TEXT 1018
#define IDC_SLIDER_GREEN_TEXT 1019

// Palette window controls
#define IDC_PALETTE_COPY 1017
#define IDC_PALETTE_REGISTER 1018
#define IDC_PALETTE_BLUE_TEXT 1021
#define IDC_PALETTE_GREEN_TEXT 1022
#define IDC_PALETTE_RED_TEXT 1023

// Palette swatches, numbered by their place in the 7 x 7 grid in reading order. The ids skip
// those of the radio buttons and value texts: entries 17 and 18 are 1019 and 1020, and entries
// 19 to 48 are 1024 to 1053.
#define IDC_SWATCH_00 1000
#define IDC_SWATCH_01 1001
#define IDC_SWATCH_02 1002
#define IDC_SWATCH_03 1003
#define IDC_SWATCH_04 1004
#define IDC_SWATCH_05 1005
#define IDC_SWATCH_06 1006
#define IDC_SWATCH_07 1007
#define IDC_SWATCH_08 1008
#define IDC_SWATCH_09 1009
#define IDC_SWATCH_10 1010
#define IDC_SWATCH_11 1011
#define IDC_SWATCH_12 1012
#define IDC_SWATCH_13 1013
#define IDC_SWATCH_14 1014
#define IDC_SWATCH_15 1015
#define IDC_SWATCH_16 1016
#define IDC_SWATCH_17 1019
#define IDC_SWATCH_18 1020
#define IDC_SWATCH_19 1024
#define IDC_SWATCH_20 1025
#define IDC_SWATCH_21 1026
#define IDC_SWATCH_22 1027
#define IDC_SWATCH_23 1028
#define IDC_SWATCH_24 1029
#define IDC_SWATCH_25 1030
#define IDC_SWATCH_26 1031
#define IDC_SWATCH_27 1032
#define IDC_SWATCH_28 1033
#define IDC_SWATCH_29 1034
#define IDC_SWATCH_30 1035
#define IDC_SWATCH_31 1036
#define IDC_SWATCH_32 1037
#define IDC_SWATCH_33 1038
#define IDC_SWATCH_34 1039
#define IDC_SWATCH_35 1040
#define IDC_SWATCH_36 1041
#define IDC_SWATCH_37 1042
#define IDC_SWATCH_38 1043
#define IDC_SWATCH_39 1044
#define IDC_SWATCH_40 1045
#define IDC_SWATCH_41 1046
#define IDC_SWATCH_42 1047
#define IDC_SWATCH_43 1048
#define IDC_SWATCH_44 1049
#define IDC_SWATCH_45 1050
#define IDC_SWATCH_46 1051
#define IDC_SWATCH_47 1052
#define IDC_SWATCH_48 1053

// Notation menu commands
#define ID_FORMAT_RGB 32771
#define ID_FORMAT_COLOR 32772
#define ID_FORMAT_BASICHEX 32773
#define ID_FORMAT_HTMLHEX 32774
#define ID_ALWAYS_ON_TOP 32775
