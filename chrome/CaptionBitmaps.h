// Bitmap resources of the main dialog's caption: the bar's tile and the
// caption-button strip in each of its states (79x15 each).
#pragma once
#include <windows.h>

enum : UINT {
    IDB_CAPTION_BAR = 135,
    IDB_CAPTION_NORMAL = 129,
    IDB_CAPTION_MIN_HOT = 130,
    IDB_CAPTION_MIN_DOWN = 131,
    IDB_CAPTION_MID_HOT = 137,
    IDB_CAPTION_MID_DOWN = 138,
    IDB_CAPTION_CLOSE_HOT = 140,
    IDB_CAPTION_CLOSE_DOWN = 141,
};
