// Every resource of the program by name. The program, the resource scripts,
// the image generator and the tests use these names; no id is written as a
// number anywhere else.
#pragma once
// The messages of the framework's data exchange (strings 61714, 61719).
#include "framework/DataExchangeIds.h"

// ---- dialog templates ----------------------------------------------------
#define IDD_ABOUTBOX            100     // the About box
#define IDD_REFRESH_DIALOG      102     // the main dialog

// ---- strings ---------------------------------------------------------------
#define IDS_ABOUTBOX            101     // main dialog's window-menu item that opens the About box
#define IDM_ABOUTBOX            0x0010  // its command

// ---- controls of the main dialog ---------------------------------------------
#define IDC_REFRESH             1000    // 刷新(&R): rebuilds the list
#define IDC_ABOUT               1001    // 关于(&A)...: opens the About box
#define IDC_LIST_WINDOWS        1003    // the browser windows with their ticks
#define IDC_EDIT_PERIOD         1004    // the period in seconds
#define IDC_SET                 1005    // 设置(&S): applies the period
#define IDC_MAIN_USAGE          1012    // the usage note, drawn in blue by the skin
#define IDC_MAIN_USAGE_HEADING  1015    // its heading, drawn in red by the skin (as IDC_ABOUT_VERSION)
#define IDC_SKIN_SCROLLBAR      0xFFFF  // both scroll bars the list adds beside itself

// ---- controls of the About box -------------------------------------------------
#define IDC_MAIL_FIRST          1007    // the link buttons: mail, web page, messenger
#define IDC_MAIL_SECOND         1008
#define IDC_WEB_PAGE            1009
#define IDC_SUPPORT             1010
#define IDC_CHAT_FIRST          1011
#define IDC_CHAT_SECOND         1013
#define IDC_ABOUT_VERSION       1015    // the version line, drawn in red by the skin (as IDC_MAIN_USAGE_HEADING)

// ---- icons and cursors -------------------------------------------------------
#define IDR_MAINFRAME           128     // the program: window, caption, About box
#define IDI_WEB                 129     // About box: beside the web links
#define IDI_MAIL                130     // About box: beside the mail links
#define IDI_MESSENGER           134     // About box: on the messenger link buttons
#define IDC_CURSOR_HAND         133     // About box: over the link buttons

// ---- bitmaps: the main dialog's caption (79x15 strips, 117x23 bar) -------------
#define IDB_CAPTION_BAR         135     // the caption's tile
#define IDB_CAPTION_NORMAL      129     // the caption-button strip at rest
#define IDB_CAPTION_MIN_HOT     130     // ... minimise under the pointer
#define IDB_CAPTION_MIN_DOWN    131     // ... minimise pressed
#define IDB_CAPTION_MID_HOT     137     // ... middle button under the pointer
#define IDB_CAPTION_MID_DOWN    138     // ... middle button pressed
#define IDB_CAPTION_CLOSE_HOT   140     // ... close under the pointer
#define IDB_CAPTION_CLOSE_DOWN  141     // ... close pressed

// ---- bitmaps: the skin of every dialog ------------------------------------------
#define IDB_SKIN_BACKGROUND     147     // the gradient behind dialogs and message boxes
#define IDB_BUTTON_NORMAL       351     // push-button faces (nine slices of 73x21)
#define IDB_BUTTON_HOVER        156
#define IDB_BUTTON_FOCUS        157
#define IDB_BUTTON_PRESSED      352

// ---- bitmaps: the main dialog's list ----------------------------------------------
#define IDB_VBAR_TOP            356     // vertical bar: cap beside the header
#define IDB_VBAR_UP             146     // ... up arrow
#define IDB_VBAR_TRACK          150     // ... track, one row
#define IDB_VBAR_DOWN           151     // ... down arrow
#define IDB_VBAR_CORNER         357     // ... bottom piece beside the horizontal bar
#define IDB_VBAR_THUMB          148     // ... thumb
#define IDB_HBAR_LEFT           158     // horizontal bar: left arrow
#define IDB_HBAR_TRACK          153     // ... track, one column
#define IDB_HBAR_RIGHT          154     // ... right arrow
#define IDB_HBAR_THUMB          152     // ... thumb
#define IDB_HEADER_LEFT_CAP     159     // column header: first column's left end
#define IDB_HEADER_MIDDLE       160     // ... background and column middles
#define IDB_HEADER_RIGHT_CAP    161     // ... every column's right end
