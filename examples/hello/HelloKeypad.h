// Resource identifiers of the first host application.
#pragma once
#define IDM_HELLO_MENU 100
#define IDC_ROTATE 1001
#define IDC_COLOUR 1002
#define IDC_RETITLE 1003
#define IDC_QUIT 1004
