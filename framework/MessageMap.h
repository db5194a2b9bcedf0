// Declared message maps. A class lists its messages and handlers in one table
// (BEGIN_MESSAGE_MAP ... END_MESSAGE_MAP); each entry cracks the message's
// arguments once and calls a typed member. Dispatch walks the tables from the
// most derived class to the base; a message that no table takes gets default
// processing.
#pragma once
#include <windows.h>
#include "Types.h"

class CWnd;
class CDC;

// Returns true when the message was handled; `result` is its return value.
using MsgHandler = bool (*)(CWnd* self, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

struct MsgMapEntry {
    UINT message;    // window message; WM_COMMAND/WM_NOTIFY entries also match code and id
    UINT code;       // notification code (WM_COMMAND, WM_NOTIFY)
    UINT firstId;    // control id range (WM_COMMAND, WM_NOTIFY)
    UINT lastId;
    MsgHandler handler;
};

struct MsgMap {
    const MsgMap* base;
    const MsgMapEntry* entries;  // ends with a null handler
};

// Messages a parent reflects back to the child that sent them are looked up
// under this offset in the child's table (outside the range of real messages).
constexpr UINT WM_REFLECT_BASE = 0x10000;

#define DECLARE_MESSAGE_MAP()                                  \
protected:                                                     \
    static const MsgMap* GetThisMessageMap();                  \
    const MsgMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                   \
    const MsgMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MsgMap* theClass::GetThisMessageMap()                                  \
    {                                                                            \
        using ThisClass = theClass;                                              \
        using TheBase = baseClass;                                               \
        static const MsgMapEntry s_entries[] = {

#define END_MESSAGE_MAP()                                              \
            { 0, 0, 0, 0, nullptr } };                                 \
        static const MsgMap s_map = { TheBase::GetThisMessageMap(), s_entries }; \
        return &s_map;                                                 \
    }

#define VESKAR_ENTRY(msg, code, id1, id2, body)                                        \
    { msg, code, id1, id2,                                                             \
      [](CWnd* w_, UINT m_, WPARAM wp_, LPARAM lp_, LRESULT& r_) -> bool {            \
          ThisClass* self_ = static_cast<ThisClass*>(w_); (void)self_; (void)m_;      \
          (void)wp_; (void)lp_; (void)r_; body; return true; } },

// ---- commands and notifications --------------------------------------------
#define ON_COMMAND(id, fn)            VESKAR_ENTRY(WM_COMMAND, 0, id, id, self_->fn())
#define ON_BN_CLICKED(id, fn)         VESKAR_ENTRY(WM_COMMAND, BN_CLICKED, id, id, self_->fn())
// void fn(NMHDR*, LRESULT*)
#define ON_NOTIFY(code, id, fn)       VESKAR_ENTRY(WM_NOTIFY, (UINT)(code), id, id, self_->fn((NMHDR*)lp_, &r_))
// Reflected to the control that sent it: void fn(NMHDR*, LRESULT*)
#define ON_NOTIFY_REFLECT(code, fn)   VESKAR_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, (UINT)(code), 0, 0xFFFFFFFF, self_->fn((NMHDR*)lp_, &r_))
// LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(msg, fn)           VESKAR_ENTRY(msg, 0, 0, 0, r_ = self_->fn(wp_, lp_))

// ---- window messages, arguments cracked -------------------------------------
#define ON_WM_PAINT()         VESKAR_ENTRY(WM_PAINT, 0, 0, 0, self_->OnPaint())
#define ON_WM_TIMER()         VESKAR_ENTRY(WM_TIMER, 0, 0, 0, self_->OnTimer((UINT_PTR)wp_))
#define ON_WM_SYSCOMMAND()    VESKAR_ENTRY(WM_SYSCOMMAND, 0, 0, 0, self_->OnSysCommand((UINT)wp_, lp_))
#define ON_WM_QUERYDRAGICON() VESKAR_ENTRY(WM_QUERYDRAGICON, 0, 0, 0, r_ = (LRESULT)self_->OnQueryDragIcon())
#define ON_WM_DESTROY()       VESKAR_ENTRY(WM_DESTROY, 0, 0, 0, self_->OnDestroy())
#define ON_WM_MOUSEMOVE()     VESKAR_ENTRY(WM_MOUSEMOVE, 0, 0, 0, self_->OnMouseMove((UINT)wp_, CPoint(lp_)))
#define ON_WM_LBUTTONDOWN()   VESKAR_ENTRY(WM_LBUTTONDOWN, 0, 0, 0, self_->OnLButtonDown((UINT)wp_, CPoint(lp_)))
#define ON_WM_LBUTTONUP()     VESKAR_ENTRY(WM_LBUTTONUP, 0, 0, 0, self_->OnLButtonUp((UINT)wp_, CPoint(lp_)))
#define ON_WM_LBUTTONDBLCLK() VESKAR_ENTRY(WM_LBUTTONDBLCLK, 0, 0, 0, self_->OnLButtonDblClk((UINT)wp_, CPoint(lp_)))
#define ON_WM_ERASEBKGND()    VESKAR_ENTRY(WM_ERASEBKGND, 0, 0, 0, r_ = self_->OnEraseBkgnd((HDC)wp_))
#define ON_WM_SETCURSOR()     VESKAR_ENTRY(WM_SETCURSOR, 0, 0, 0, r_ = self_->OnSetCursor((HWND)wp_, LOWORD(lp_), HIWORD(lp_)))
#define ON_WM_KILLFOCUS()     VESKAR_ENTRY(WM_KILLFOCUS, 0, 0, 0, self_->OnKillFocus((HWND)wp_))
#define ON_WM_CAPTURECHANGED() VESKAR_ENTRY(WM_CAPTURECHANGED, 0, 0, 0, self_->OnCaptureChanged((HWND)lp_))
#define ON_WM_CANCELMODE()    VESKAR_ENTRY(WM_CANCELMODE, 0, 0, 0, self_->OnCancelMode())
#define ON_WM_MOUSEWHEEL()    VESKAR_ENTRY(WM_MOUSEWHEEL, 0, 0, 0, r_ = self_->OnMouseWheel((UINT)LOWORD(wp_), (short)HIWORD(wp_), CPoint(lp_)))
// LRESULT fn(BOOL bCalcValidRects, NCCALCSIZE_PARAMS*)
#define ON_WM_NCCALCSIZE()    VESKAR_ENTRY(WM_NCCALCSIZE, 0, 0, 0, r_ = self_->OnNcCalcSize((BOOL)wp_, (NCCALCSIZE_PARAMS*)lp_))
// Reflected colour request: HBRUSH fn(HDC, UINT ctlType); a null brush lets the parent answer.
#define ON_WM_CTLCOLOR_REFLECT()                                                     \
    { WM_REFLECT_BASE + WM_CTLCOLORBTN, 0, 0, 0,                                     \
      [](CWnd* w_, UINT m_, WPARAM wp_, LPARAM, LRESULT& r_) -> bool {              \
          HBRUSH b = static_cast<ThisClass*>(w_)->CtlColor((HDC)wp_, m_ - WM_REFLECT_BASE - WM_CTLCOLORMSGBOX); \
          r_ = (LRESULT)b; return b != nullptr; } },                                 \
    { WM_REFLECT_BASE + WM_CTLCOLORSTATIC, 0, 0, 0,                                  \
      [](CWnd* w_, UINT m_, WPARAM wp_, LPARAM, LRESULT& r_) -> bool {              \
          HBRUSH b = static_cast<ThisClass*>(w_)->CtlColor((HDC)wp_, m_ - WM_REFLECT_BASE - WM_CTLCOLORMSGBOX); \
          r_ = (LRESULT)b; return b != nullptr; } },
