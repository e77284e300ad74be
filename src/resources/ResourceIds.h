#pragma once
// Resource numbers of the library, shared by the resource script and the code (plain macros, which
// the resource compiler understands). Control numbers are unique within their page only.

#define IDI_PLUGIN 106       // the plug-in's icon: bar window class, property sheet, version page
#define IDC_PICK_CURSOR 104  // the window-pick cursor

// Property page dialog templates.
#define IDD_DISPLAY 101
#define IDD_POSITION 103
#define IDD_COLOUR 104
#define IDD_PATHS 105
#define IDD_DISPLAY2 107
#define IDD_VERSION 109
#define IDD_FADE 110

// The bar's command that opens the property sheet (right-click menu, config entry).
#define IDM_SETTINGS 40003
// The bar's timing commands (right-click menu; "[" and "]" step too).
#define IDM_SHIFT_EARLIER 40010
#define IDM_SHIFT_LATER 40011
#define IDM_SHIFT_EARLIER_LARGE 40012
#define IDM_SHIFT_LATER_LARGE 40013
#define IDM_SHIFT_RESET 40014
#define IDM_SAVE_TIMING 40015

// Position page: four edits; the scroll bars beside them stay hidden (the page makes up-downs).
#define IDC_LEFT_EDIT 1005
#define IDC_LEFT_SCROLL 1006
#define IDC_TOP_EDIT 1007
#define IDC_TOP_SCROLL 1008
#define IDC_WIDTH_EDIT 1009
#define IDC_WIDTH_SCROLL 1010
#define IDC_HEIGHT_EDIT 1011
#define IDC_HEIGHT_SCROLL 1012
#define IDC_WIDTH_UPDOWN 1013  // the up-downs of the size, made by the page
#define IDC_HEIGHT_UPDOWN 1014
// Position page, the desktop window: Window and Locked as check boxes, its place, width and
// background opacity as edits with up-downs.
#define IDC_DESKTOP_WINDOW 1060
#define IDC_DESKTOP_LOCKED 1061
#define IDC_DESKTOP_X_EDIT 1062
#define IDC_DESKTOP_Y_EDIT 1063
#define IDC_DESKTOP_WIDTH_EDIT 1064
#define IDC_DESKTOP_BACK_EDIT 1065

// Colour page: one push button per colour setting, the font list and the pick-up.
#define IDC_AFTER_MIDDLE 1008   // ColorA2
#define IDC_AFTER_INNER 1009    // ColorA3
#define IDC_BEFORE_OUTER 1010   // ColorB1
#define IDC_BEFORE_MIDDLE 1011  // ColorB2
#define IDC_BEFORE_INNER 1012   // ColorB3
#define IDC_COLOUR_SPARE 1014
#define IDC_LINE_OUTER 1015   // ColorL1
#define IDC_LINE_MIDDLE 1016  // ColorL2
#define IDC_FONT_LIST 1017
#define IDC_LINE_INNER 1018   // ColorL3
#define IDC_AFTER_OUTER 1019  // ColorA1
#define IDC_ROW_FRAME 1020
#define IDC_BACK_COLOUR 1025
#define IDC_TITLE_COLOUR 1026
#define IDC_PICK_UP 1027

// Paths page.
#define IDC_LYRICS_BROWSE 1007
#define IDC_SKIN_BROWSE 1008
#define IDC_LYRICS_PATH 1015
#define IDC_SKIN_PATH 1016
#define IDC_DOWNLOAD_PATH 1054  // DownloadPath
#define IDC_DOWNLOAD_BROWSE 1055
#define IDC_ONLINE_LYRICS 1056  // OnlineLyrics
#define IDC_ONLINE_NOTE 1057    // what a lookup sends, or why LyricsServer cannot be used

// Display page.
#define IDC_WAIT_VSYNC 1000
#define IDC_FADE_IN 1001
#define IDC_RED_LINE 1002
#define IDC_DISP_KRA 1003
#define IDC_NOT_DISP_NOKRA 1004
#define IDC_MOVE_WITH_WINDOW 1005
#define IDC_DIRECT 1006
#define IDC_NOT_DISP_NOKRA_TAIL 1016
#define IDC_STANDARD_TIME 1024
#define IDC_PLAYER_TIME 1025
#define IDC_TWO_ROWS 1060          // Rows
#define IDC_SECOND_ROW_FIRST 1061  // SecondRow: three radio buttons
#define IDC_SECOND_ROW_SIZE 1064   // SecondRowSize

// Second display page: two sets of three radio buttons (Lset, Wset) and the window pick.
#define IDC_LSET_FIRST 1040
#define IDC_WSET_FIRST 1043
#define IDC_PICK_WINDOW 1053

// Fade page: sliders and their number edits, in the order fade-in start, fade-in end, fade-out
// start, fade-out end.
#define IDC_FIN_START_SLIDER 1031
#define IDC_FIN_END_SLIDER 1032
#define IDC_FOUT_START_SLIDER 1033
#define IDC_FOUT_END_SLIDER 1034
#define IDC_FIN_START_EDIT 1035
#define IDC_FIN_END_EDIT 1036
#define IDC_FOUT_START_EDIT 1037
#define IDC_FOUT_END_EDIT 1038
#define IDC_FADE_DEFAULTS 1039
#define IDC_GLOBAL_OFFSET_EDIT 1040  // GlobalOffset, in ms

// Version page controls.
#define IDC_WEB_ADDRESS 1026
#define IDC_MAIL_ADDRESS 1027
#define IDC_VERSION_TEXT 1028
#define IDC_LANGUAGE 1029       // the Language setting
#define IDC_SETTINGS_FILE 1030  // where the settings file lies
