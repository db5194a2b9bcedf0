#include "Wnd.h"
#include "Seams.h"
#include "WinApp.h"
#include <unordered_map>

namespace {

// Windows whose procedure an object owns, per thread (windows belong to the
// thread that created them, and so do their messages).
thread_local std::unordered_map<HWND, CWnd*> t_handleMap;
// Windows whose object detached while another procedure was stacked above
// ours: StdWndProc stays in their chain and must still forward.
thread_local std::unordered_map<HWND, WNDPROC> t_orphans;

thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hCreateHook = nullptr;

}  // namespace

CWnd::~CWnd()
{
    // No message may reach a half-destroyed object: give the procedure back.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        UnsubclassWindow();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = t_handleMap.find(hWnd);
    return it == t_handleMap.end() ? nullptr : it->second;
}

const MsgMap* CWnd::GetThisMessageMap()
{
    static const MsgMapEntry s_entries[] = { { 0, 0, 0, 0, nullptr } };
    static const MsgMap s_map = { nullptr, s_entries };
    return &s_map;
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    t_handleMap[hWnd] = this;
    t_orphans.erase(hWnd);
    m_pfnSuper = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)StdWndProc);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    m_hWnd = hWnd;
    PreSubclassWindow();
    Attach(hWnd);
    return TRUE;
}

HWND CWnd::UnsubclassWindow()
{
    HWND hWnd = m_hWnd;
    if (!hWnd)
        return nullptr;
    if ((WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == StdWndProc)
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    else if (m_pfnSuper)
        t_orphans[hWnd] = m_pfnSuper;  // someone subclassed after us
    t_handleMap.erase(hWnd);
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    return hWnd;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CALLBACK CWnd::CreateHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_pWndInit) {
        // Only the first window of the call is ours (a dialog creates its
        // controls afterwards).
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->Attach((HWND)wParam);
    }
    return ::CallNextHookEx(t_hCreateHook, code, wParam, lParam);
}

HWND CWnd::CreateHooked(HWND (*create)(void*), void* param)
{
    HHOOK previousHook = t_hCreateHook;
    CWnd* previousInit = t_pWndInit;
    t_hCreateHook = ::SetWindowsHookExA(WH_CBT, CreateHookProc, nullptr, ::GetCurrentThreadId());
    t_pWndInit = this;
    HWND hWnd = create(param);
    ::UnhookWindowsHookEx(t_hCreateHook);
    t_hCreateHook = previousHook;
    t_pWndInit = previousInit;
    if (!hWnd && m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // Creation failed after the hook attached us (e.g. WM_CREATE said -1).
        t_handleMap.erase(m_hWnd);
        m_hWnd = nullptr;
    }
    return hWnd;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, HWND hParent, UINT nID)
{
    struct Args {
        DWORD ex; LPCSTR cls; LPCSTR name; DWORD style; RECT rc; HWND parent; UINT id;
    } args = { dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect, hParent, nID };
    HWND hWnd = CreateHooked([](void* p) -> HWND {
        Args& a = *static_cast<Args*>(p);
        return ::CreateWindowExA(a.ex, a.cls, a.name, a.style, a.rc.left, a.rc.top,
                                 a.rc.right - a.rc.left, a.rc.bottom - a.rc.top, a.parent,
                                 (a.style & WS_CHILD) ? (HMENU)(UINT_PTR)a.id : nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
    }, &args);
    return hWnd != nullptr;
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (!pWnd) {
        auto it = t_orphans.find(hWnd);
        if (it == t_orphans.end())
            return ::DefWindowProcA(hWnd, message, wParam, lParam);
        WNDPROC super = it->second;
        if (message == WM_NCDESTROY)
            t_orphans.erase(it);
        return ::CallWindowProcA(super, hWnd, message, wParam, lParam);
    }

    MSG saved = pWnd->m_curMsg;
    pWnd->m_curMsg = { hWnd, message, wParam, lParam, 0, { 0, 0 } };
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through USER32: the message counts as handled
        // and the program carries on.
        result = 0;
    }
    pWnd->m_curMsg = saved;
    if (message == WM_NCDESTROY && pWnd->m_hWnd == hWnd)
        pWnd->UnsubclassWindow();
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_curMsg.message, m_curMsg.wParam, m_curMsg.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

const MsgMapEntry* CWnd::FindEntry(const MsgMap* map, UINT message, UINT code, UINT id)
{
    for (; map; map = map->base)
        for (const MsgMapEntry* e = map->entries; e->handler; ++e)
            if (e->message == message && e->code == code && id >= e->firstId && id <= e->lastId)
                return e;
    return nullptr;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    UINT code = 0;
    if (message == WM_COMMAND)
        code = HIWORD(wParam);
    else if (message == WM_NOTIFY)
        code = ((NMHDR*)lParam)->code;
    const MsgMapEntry* e = FindEntry(GetMessageMap(), WM_REFLECT_BASE + message, code, 0);
    return e && e->handler(this, WM_REFLECT_BASE + message, wParam, lParam, *pResult);
}

namespace {

// The child window a parent-bound message is about, if it is one we reflect.
HWND ReflectionTarget(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        return (HWND)lParam;
    case WM_NOTIFY:
        return ((NMHDR*)lParam)->hwndFrom;
    case WM_DRAWITEM:
        return wParam ? ((DRAWITEMSTRUCT*)lParam)->hwndItem : nullptr;  // 0: a menu
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return (HWND)lParam;
    default:
        return nullptr;
    }
}

}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (HWND hChild = ReflectionTarget(message, wParam, lParam)) {
        CWnd* pChild = FromHandlePermanent(hChild);
        if (pChild && pChild != this && pChild->OnChildNotify(message, wParam, lParam, pResult))
            return TRUE;
    }

    UINT code = 0, id = 0;
    if (message == WM_COMMAND) {
        code = HIWORD(wParam);
        id = LOWORD(wParam);
    } else if (message == WM_NOTIFY) {
        const NMHDR* nm = (const NMHDR*)lParam;
        code = nm->code;
        id = (UINT)nm->idFrom;
    }
    const MsgMapEntry* e = FindEntry(GetMessageMap(), message, code, id);
    if (!e)
        return FALSE;
    *pResult = 0;
    return e->handler(this, message, wParam, lParam, *pResult);
}

CString CWnd::GetWindowText() const
{
    CString text;
    int n = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, text.GetBuffer(n), n + 1);
    text.ReleaseBuffer();
    return text;
}

void CWnd::CenterWindow()
{
    CRect rcWnd, rcArea;
    ::GetWindowRect(m_hWnd, &rcWnd);
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (hOwner && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner)) {
        ::GetWindowRect(hOwner, &rcArea);
    } else {
        MONITORINFO mi = { sizeof(mi), {}, {}, 0 };
        ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &mi);
        rcArea = mi.rcWork;
    }
    int x = rcArea.left + (rcArea.Width() - rcWnd.Width()) / 2;
    int y = rcArea.top + (rcArea.Height() - rcWnd.Height()) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    return g_pfnMessageBox(m_hWnd, lpszText, lpszCaption ? lpszCaption : GetAppName(), nType);
}

void CWnd::UpdateDialogControls(CWnd* pTarget, BOOL bDisableIfNoHndler)
{
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        // A control that handles its own commands is left to itself.
        CWnd* pChild = FromHandlePermanent(hChild);
        if (pChild && FindEntry(pChild->GetMessageMap(), WM_REFLECT_BASE + WM_COMMAND, BN_CLICKED, 0))
            continue;
        // Only push buttons: tick boxes, radio buttons and group boxes keep
        // their state whatever the target handles.
        if (!(::SendMessageA(hChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
            continue;
        LONG type = ::GetWindowLongA(hChild, GWL_STYLE) & BS_TYPEMASK;
        if (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_GROUPBOX || type == BS_AUTORADIOBUTTON)
            continue;
        UINT id = (UINT)::GetDlgCtrlID(hChild);
        bool handled = pTarget && FindEntry(pTarget->GetMessageMap(), WM_COMMAND, BN_CLICKED, id);
        if (handled) {
            ::EnableWindow(hChild, TRUE);
        } else if (bDisableIfNoHndler && ::IsWindowEnabled(hChild)) {
            // The focus must not stay on a control that cannot take it.
            if (::GetFocus() == hChild)
                ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, FALSE);
            ::EnableWindow(hChild, FALSE);
        }
    }
}
