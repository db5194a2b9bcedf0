// Resource identifiers of the program.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX            100
#define IDD_REFRESH_DIALOG      102

// Strings
#define IDS_ABOUTBOX            101

// The window-menu item that opens the About box
#define IDM_ABOUTBOX            0x0010

// Icons
#define IDR_MAINFRAME           128

// Controls of the main dialog
#define IDC_REFRESH             1000
#define IDC_ABOUT               1001
#define IDC_LIST_WINDOWS        1003
#define IDC_EDIT_PERIOD         1004
#define IDC_SET                 1005
#define IDC_STATIC_USAGE        1012
#define IDC_STATIC_HEADING      1015

// The About box: pictures and link buttons
#define IDI_WEB                 129
#define IDI_MAIL                130
#define IDC_CURSOR_HAND         133
#define IDI_MESSENGER           134
#define IDC_MAIL_FIRST          1007
#define IDC_MAIL_SECOND         1008
#define IDC_WEB_PAGE            1009
#define IDC_SUPPORT             1010
#define IDC_CHAT_FIRST          1011
#define IDC_CHAT_SECOND         1013
#define IDC_STATIC_VERSION      1015
