// Resource and control identifiers of the notebook, shared by Notebook.rc and the screens.
#pragma once

// Soft-key menus, one per screen.
#define IDM_LIST_MENU 100
#define IDM_EDITOR_MENU 101
#define IDM_SETTINGS_MENU 102
#define IDM_ABOUT_MENU 103

// The about screen and its statics.
#define IDD_ABOUT 200
#define IDC_ABOUT_NAME 201
#define IDC_ABOUT_VERSION 202
#define IDC_ABOUT_TEXT 203
#define IDC_ABOUT_KEYS 204

// Menu commands.
#define IDC_OPEN 1001
#define IDC_NEW 1002
#define IDC_TOGGLE_DONE 1003
#define IDC_DELETE 1004
#define IDC_SETTINGS 1005
#define IDC_ABOUT 1006
#define IDC_QUIT 1007
#define IDC_SAVE 1008
#define IDC_BACK 1009
#define IDC_CLOSE 1010

// Controls.
#define IDC_NOTE_LIST 2001
#define IDC_SORT_SPIN 2002
#define IDC_THEME_SPIN 2003
#define IDC_ROTATION_SPIN 2004
#define IDC_SAVE_BUTTON 2005
#define IDC_ABOUT_BUTTON 2006
#define IDC_DONE_KEY_SPIN 2007
