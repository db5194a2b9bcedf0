// CRefreshDlg: the main dialog. Lists the browser windows of the Shell's
// window collection, one row each with a tick box, and reloads the ticked
// ones once per period.
#pragma once
#include "framework/Dialog.h"
#include "controls/SkinListCtrl.h"
#include "chrome/CaptionHitTest.h"
#include "res/resource.h"
#include <comdef.h>
#include <exdisp.h>
#include <string>

_COM_SMARTPTR_TYPEDEF(IDispatch, __uuidof(IDispatch));
_COM_SMARTPTR_TYPEDEF(IShellWindows, __uuidof(IShellWindows));
_COM_SMARTPTR_TYPEDEF(IWebBrowser2, __uuidof(IWebBrowser2));

// A location name in the given ANSI code page, up to its first NUL. Fails
// with the conversion's error, or E_OUTOFMEMORY.
HRESULT LocationNameToAnsi(const wchar_t* name, UINT codePage, std::string* pText);

class CRefreshDlg : public CDialog {
public:
    enum { IDD = IDD_REFRESH_DIALOG };
    // Timer ids on the dialog's window.
    enum : UINT_PTR { TIMER_REFRESH = 1, TIMER_HOVER = 2 };
    // Valid refresh periods, in seconds.
    enum : UINT { PERIOD_MIN = 1, PERIOD_MAX = 10000, PERIOD_DEFAULT = 5 };

    explicit CRefreshDlg(CWnd* pParent = nullptr);

    // Gives back every row's browser reference and deletes the rows.
    void ReleaseWindowList();
    // The window menu's Close: rows, collection and COM are let go.
    void ShutDown();
    // "#RRGGBB" -> decimal text of the colour value; anything else -> "".
    static CString ParseColorString(const CString& str);
    // Paint the caption tiles, frame and outline; then the button strip, icon,
    // title and link (which also stores m_rectLink and m_rectStatus).
    void DrawFrame(CDCHandle dc);
    void DrawCaption(CDCHandle dc);
    // The chrome region under a client point.
    int CaptionHitTest(CPoint point) const;

    CSkinListCtrl m_listWindows;
    UINT m_nPeriod;
    HICON m_hIcon;
    UINT_PTR m_nTimer;
    IShellWindowsPtr m_pShellWindows;
    CString m_strTitle;
    CRect m_rectLink;
    CString m_strLink;
    CRect m_rectStatus;
    CString m_strFrameColor;
    CString m_strBorderColor;
    CString m_strLinkColor;
    CPoint m_ptDragStart;
    BOOL m_bPressed;
    BOOL m_bDragging;
    int m_nHover;
    BOOL m_bTitleAltColor;
    CString m_strTitleColor2;
    CString m_strTitleColor1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnRefresh();
    void OnTimer(UINT_PTR nIDEvent);
    void OnSet();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnAbout();
    void OnDestroy();
    void OnHeaderEndTrack(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    void CreateShellWindows();
    // Lists the collection's browser windows; raises _com_error if it cannot
    // count them.
    void FillWindowList(IShellWindows* pShellWindows);
    // Adds the row of the collection's window `index`; raises _com_error.
    void AddBrowserRow(IShellWindows* pShellWindows, long index);
    void RefreshTickedWindows();
    void TrackCaptionHover();
};
