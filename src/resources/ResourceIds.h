#pragma once
// Resource numbers of the library, shared by the resource script and the code (plain macros, which
// the resource compiler understands).

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

// Version page controls.
#define IDC_WEB_ADDRESS 1026
#define IDC_MAIL_ADDRESS 1027
#define IDC_VERSION_TEXT 1028
