// Hit testing of the painted caption, frame and link.
#include "chrome/CaptionHitTest.h"

CaptionRegion CaptionHitTest(const RECT& client, POINT pt, const RECT& rectLink, const RECT& rectStatus)
{
    const int w = client.right - client.left;
    // The button rectangles sit on the faces of the 79x15 strip drawn at
    // (w - 79, 0); the close face's hot area runs one pixel past the edge.
    const RECT minimize = { w - 78, 0, w - 53, 13 };
    const RECT middle = { w - 52, 0, w - 27, 13 };
    const RECT close = { w - 26, 0, w + 1, 13 };
    const RECT caption = { 0, 0, w, 20 };
    if (::PtInRect(&minimize, pt))
        return RegionMinimize;
    if (::PtInRect(&middle, pt))
        return RegionMiddle;
    if (::PtInRect(&close, pt))
        return RegionClose;
    if (::PtInRect(&caption, pt))
        return RegionCaption;
    if (::PtInRect(&rectLink, pt))
        return RegionLink;
    if (::PtInRect(&rectStatus, pt))
        return RegionStatus;
    return RegionNone;
}
