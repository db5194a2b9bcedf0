// Regions of the main dialog's painted chrome and the test that finds the
// region under a point.
#pragma once
#include <windows.h>

enum CaptionRegion : int {
    RegionNone = 0,
    RegionMinimize = 1,
    RegionMiddle = 2,
    RegionClose = 3,
    RegionCaption = 4,
    RegionStatus = 5,
    RegionLink = 6,
};

inline bool IsCaptionButton(int region)
{
    return region == RegionMinimize || region == RegionMiddle || region == RegionClose;
}

// The region of the client point `pt` in a client area `client`, given where
// the last paint put the link and the status area. Edges follow PtInRect:
// left and top inside, right and bottom outside. Buttons win over the caption
// bar, the link over the status area.
CaptionRegion CaptionHitTest(const RECT& client, POINT pt, const RECT& rectLink, const RECT& rectStatus);
