// Resource identifiers shared by HostApp.rc and HostApp.cpp.
#pragma once
#define IDM_HOSTAPP_MENU 100
#define IDC_GREET 1001
#define IDC_QUIT 1002
