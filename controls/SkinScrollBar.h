// CSkinScrollBar: what the two bitmap-drawn scroll bars beside the skinned
// list have in common. A bar keeps no range of its own: it reads the list's
// position and limit whenever it needs them, scrolls the list with scroll
// messages and then recomputes its thumb.
#pragma once
#include "framework/Controls.h"
#include "framework/Gdi.h"

class CSkinListCtrl;

// The constants of one bar's axis.
struct ScrollAxis {
    int nBar;            // SB_VERT or SB_HORZ of the list
    UINT scrollMsg;      // WM_VSCROLL or WM_HSCROLL
    int base;            // thumb position for scroll position 0, before clamping
    int span;            // deducted from the bar's extent to give the track length
    int thumbLength;     // along the axis
    int endArrow;        // the thumb may not reach into the last this many pixels
    int lowest;          // lowest thumb position after clamping
    int highestFromEnd;  // highest thumb position is the extent minus this
    int dragOffset;      // from the pointer to the thumb's edge while dragging
    int dragUnit;        // pixels per scroll unit when a drag scrolls the list
};

class CSkinScrollBar : public CStatic {
public:
    explicit CSkinScrollBar(const ScrollAxis& axis, int nThumbPos);
    ~CSkinScrollBar() override;

    // Thumb edge for the list's position, not yet clamped. With nothing to
    // scroll (limit 0 or less) it is the base position.
    static int ThumbFromScroll(const ScrollAxis& axis, int extent, int pos, int limit);
    // Keeps a thumb edge inside the track; in a bar too short for its track
    // the lower bound wins.
    static int ClampThumbPos(const ScrollAxis& axis, int thumb, int extent);
    // The scroll position a thumb dragged to `thumb` stands for; false when
    // there is nothing to scroll or no track to drag along.
    static bool DragTarget(const ScrollAxis& axis, int thumb, int extent, int limit, int* pTarget);
    // The list's scroll limit: the range's maximum less the page size minus one.
    static int ScrollLimit(HWND hList, int nBar);

    void UpdateThumb();
    void ClampThumb();
    virtual void DrawBar() = 0;

    CSkinListCtrl* m_pList = nullptr;
    int m_nThumbPos;
    bool m_bThumbGrabbed = false;
    bool m_bBackHeld = false;     // up or left arrow pressed
    bool m_bForwardHeld = false;  // down or right arrow pressed

    // Timer ids on the bar's own window.
    enum : UINT_PTR { TIMER_REPEAT = 1, TIMER_DELAY = 2 };
    enum : UINT { DELAY_MS = 250, REPEAT_MS = 50 };

protected:
    // Sends one scroll request (SB_LINEUP, SB_PAGEDOWN, ...) to the list,
    // then follows the list's new position.
    void Scroll(UINT nCode);
    int Extent() const;
    // Back to idle: no timer, nothing held or grabbed.
    void StopTracking();

    // Where the thumb and the arrows are drawn, in client coordinates. A
    // press or release is on whatever is drawn under it; the thumb is drawn
    // last, so where it overlaps an arrow it wins.
    virtual CRect ThumbRect() const = 0;
    virtual CRect ForwardRect() const = 0;
    virtual CRect BackRect() const = 0;
    bool InThumb(CPoint pt) const { return ThumbRect().PtInRect(pt); }
    bool InForward(CPoint pt) const { return ForwardRect().PtInRect(pt) && !InThumb(pt); }
    bool InBack(CPoint pt) const { return BackRect().PtInRect(pt) && !InThumb(pt); }
    // Whether a release over an arrow steps although the press was elsewhere.
    virtual bool StepsOnUnheldRelease() const = 0;

    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint pt);
    // The second press of a quick pair comes as a double click (the static
    // class has CS_DBLCLKS): it is a press like the first.
    void OnLButtonDblClk(UINT nFlags, CPoint pt) { OnLButtonDown(nFlags, pt); }
    void OnMouseMove(UINT nFlags, CPoint pt);
    void OnLButtonUp(UINT nFlags, CPoint pt);
    void OnTimer(UINT_PTR nIDEvent);
    void OnCaptureChanged(HWND hNewCapture);
    void OnCancelMode();
    DECLARE_MESSAGE_MAP()

    // A bitmap resource loaded and selected into a context for one scope;
    // deselected before it is deleted.
    class CPiece {
    public:
        CPiece(HDC hBitmapDC, UINT nID);
        CBitmap m_bitmap;
    private:
        CSelectObject m_select;
    };

    const ScrollAxis& m_axis;
};
