// Every resource, command, control, string and help id of Peerix. Included by the resource
// script and by the code, so it holds nothing but #defines.
#ifndef PEERIX_RESOURCE_H
#define PEERIX_RESOURCE_H

// Resources: dialogs, cursors, the icon, accelerators, bitmaps and the context menu.
#define IDD_ABOUT 103
#define IDCUR_HAND 104
#define IDCUR_MARKER 106
#define IDI_PEERIX 107
#define IDR_ACCELERATORS 134
#define IDB_TOOLBAR 135
#define IDD_SAVE_TEMPLATE 138
#define IDR_CONTEXT_MENU 141
#define IDD_OPTIONS 142
#define IDB_ANTS_HORZ 144
#define IDB_ANTS_VERT 145
// The help texts (RCDATA): each popup's text and each topic's page, by help id (res/helptexts.h).
#define IDR_HELP_TEXTS 160

// System-menu item (arrives as WM_SYSCOMMAND).
#define IDM_SYS_ABOUT 16

// Commands. The string whose id equals a command's id holds its tooltip, then "\n", then its
// status-bar help.
#define ID_EXIT 105
#define ID_ALWAYS_ON_TOP 112
#define ID_FOLLOW_MOUSE 4009
#define ID_ZOOM_2X 4011
#define ID_ZOOM_4X 4012
#define ID_WHATS_THIS 4013
#define ID_HELP 4014
#define ID_TOGGLE_TOOLBAR 4015
#define ID_TOGGLE_STATUSBAR 4016
#define ID_OPTIONS 4017
#define ID_SEL_COPY_ORIGINAL 4018
#define ID_SEL_SAVE 4020
#define ID_SEL_COPY_ZOOMED 4021
#define ID_CONTEXT_MENU 4022
#define ID_SEL_CANCEL 4023
#define ID_SEL_ZOOM_TO 4024
#define ID_HIGHLIGHT 4026
#define ID_COPY_COLOUR 4027
#define ID_PIXEL_GRID 4028
#define ID_FOLLOW_KEYBOARD 4029
#define ID_COPY_ZOOMED 32771
#define ID_COPY_SCREEN 32772
#define ID_SAVE_AS 32774
#define ID_ZOOM_IN 32775
#define ID_ZOOM_OUT 32776
#define ID_ABOUT 32779
#define ID_RATE_UP 32780
#define ID_RATE_DOWN 32781

// Strings that are not command strings.
#define IDS_SAVE_FILTER 4001
#define IDS_AUTO_UPDATE 4002
#define IDS_TITLE 4003
#define IDS_WRITE_FAILED 4004
#define IDS_CAPTURE_FAILED 4005
#define IDS_ZOOM_LEVEL 4006
#define IDS_HIGHLIGHT_HELP 4025
#define IDS_RESTORE_HELP 4040  // status help of the system menu's own items
#define IDS_MOVE_HELP 4041
#define IDS_SIZE_HELP 4042
#define IDS_MINIMIZE_HELP 4043
#define IDS_MAXIMIZE_HELP 4044
#define IDS_CLOSE_HELP 4045
#define IDS_EMAIL_TARGET 32783
#define IDS_WEB_TARGET 32784
#define IDS_PRESS_F1 32785
#define IDS_WIDEST_COLOUR 32786
#define IDS_RGB_FORMAT 32787
#define IDS_WIDEST_COORDS 32788
#define IDS_COORDS_FORMAT 32789
#define IDS_INVALID_UPDATE 32790
#define IDS_HEX_FORMAT 32791
#define IDS_SELECTED_SIZE 32792
#define IDS_SYS_ABOUT 32793
#define IDS_HELP_MISSING 32794
#define IDS_SOURCE_COORDS_FORMAT 32800
#define IDS_COPY_COLOUR_ITEM 32801
#define IDS_COPIED_PIXELS 32802
#define IDS_COPIED_COLOUR 32803
#define IDS_SAVED 32804
#define IDS_CLIPBOARD_BUSY 32805

// Child controls of the main window.
#define IDC_REBAR 1
#define IDC_STATUSBAR 3
#define IDC_TOOLBAR 115

// Dialog controls: About (103), Save template (138), Options (142).
#define IDC_EMAIL_LINK 1000
#define IDC_WEB_LINK 1001
#define IDC_SAVE_ZOOMED 1002
#define IDC_RGB 1003
#define IDC_HEX 1004
#define IDC_SLOW 1005
#define IDC_SLOW_SPIN 1006
#define IDC_MEDIUM 1007
#define IDC_MEDIUM_SPIN 1008
#define IDC_FAST 1009
#define IDC_FAST_SPIN 1010
#define IDC_SHOW_CURSOR 1011
#define IDC_SINGLE_INSTANCE 1013
#define IDC_VERSION 1017
// The copy formats' buttons in the order of their values (#RRGGBB, rgb(), decimal).
#define IDC_COPY_HASH 1018
#define IDC_COPY_FUNCTION 1019
#define IDC_COPY_DECIMAL 1020

// Context-help ids of the main window's areas (a toolbar button uses its command id).
#define HID_MAIN_TOPIC 1
#define HID_ZOOM_TRACK 113
#define HID_RATE_TRACK 114
#define HID_TOOLBAR 115
#define HID_VIEW 116
#define HID_STATUS_MENU_HELP 118
#define HID_STATUS_COLOUR 119
#define HID_STATUS_SWATCH 120
#define HID_STATUS_COORDS 121
#define HID_SAVE_ZOOMED 2
// Options dialog controls carry 0x80000000 | (142 << 16) | control id.
#define HID_OPTIONS_BASE 0x808E0000

#endif
