// CWnd: a window object around an HWND. Objects that own their window's
// procedure (created here, subclassed, or dialogs) are found through a
// per-thread handle map; their messages go through the class's message map,
// and everything else gets the previous procedure's default processing.
#pragma once
#include <windows.h>
#include "MessageMap.h"
#include "String.h"
#include "Types.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }

    // The object that owns hWnd's procedure on this thread, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Creates a window whose messages reach this object from the first one on.
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, HWND hParent, UINT nID);
    // Takes over an existing window's procedure; calls PreSubclassWindow first.
    BOOL SubclassWindow(HWND hWnd);
    // Gives the procedure back and forgets the window.
    HWND UnsubclassWindow();
    BOOL DestroyWindow();

    virtual void PreSubclassWindow() {}
    // Offered each message of a modal loop before it is dispatched, from the
    // target window up to the dialog; true means it has been handled.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // A parent offers notifications of this control back to it first.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Default processing of the message being handled.
    LRESULT Default();

    // One-line wrappers.
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageA(m_hWnd, msg, wp, lp); }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, nIDEvent, nElapse, proc); }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    void SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }
    CString GetWindowText() const;
    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HMENU GetSystemMenu(BOOL bRevert) const { return ::GetSystemMenu(m_hWnd, bRevert); }
    void GetClientRect(LPRECT r) const { ::GetClientRect(m_hWnd, r); }
    void GetWindowRect(LPRECT r) const { ::GetWindowRect(m_hWnd, r); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    HWND SetCapture() { return ::SetCapture(m_hWnd); }
    void ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
    void ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
    BOOL SetWindowPos(HWND hAfter, int x, int y, int cx, int cy, UINT flags) { return ::SetWindowPos(m_hWnd, hAfter, x, y, cx, cy, flags); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    // Centres on the owner, or on the work area when there is none.
    void CenterWindow();
    // A message box owned by this window; no caption means the application name.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);
    // Enables each push button among the children whose command pTarget
    // handles; with bDisableIfNoHndler, disables those it does not handle.
    void UpdateDialogControls(CWnd* pTarget, BOOL bDisableIfNoHndler);

protected:
    // Dispatch through the message maps; false if no entry took the message.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    static const MsgMap* GetThisMessageMap();
    virtual const MsgMap* GetMessageMap() const { return GetThisMessageMap(); }

    WNDPROC m_pfnSuper = nullptr;   // procedure to forward default processing to

    // The window procedure shared by every object-owned window.
    static LRESULT CALLBACK StdWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Runs `create` with this object hooked to the first window it creates.
    HWND CreateHooked(HWND (*create)(void*), void* param);

private:
    void Attach(HWND hWnd);
    static LRESULT CALLBACK CreateHookProc(int code, WPARAM wParam, LPARAM lParam);
    static const MsgMapEntry* FindEntry(const MsgMap* map, UINT message, UINT code, UINT id);

    MSG m_curMsg = {};               // the message being dispatched, for Default()
};
