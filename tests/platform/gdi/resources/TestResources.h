// Identifiers of the resource tests' script.
#pragma once

#define IDB_PIC1 101
#define IDB_PIC4 102
#define IDB_PIC8 103
#define IDB_PIC24 104
#define IDB_PIC24_TOPDOWN 105
#define IDB_PIC32 106
#define IDB_LANGUAGE 107
#define IDI_TEST 201
#define IDS_HELLO 1
#define IDS_SECOND_BLOCK 17
#define IDS_ENGLISH_ONLY 40
#define IDM_MAIN 300
#define IDM_EXTENDED 301

#define IDM_OPEN 3001
#define IDM_EXIT 3002
#define IDM_HELP 3003
#define IDA_MAIN 400

// The menu flags the script uses (the C++ side has them from windows.h).
#ifdef RC_INVOKED
#define MFT_STRING 0
#define MFT_SEPARATOR 0x800
#define MFT_RADIOCHECK 0x200
#define MFS_ENABLED 0
#define MFS_CHECKED 8
#define MFS_GRAYED 3
#endif
