#include "app/RefreshDlg.h"
#include "chrome/AboutDlg.h"
#include "framework/Seams.h"
#include "skin/SkinManager.h"
#include <new>
#include <vector>

namespace {
const char kTitle[] = "Veskar -- Tolvane工作室 v1.2";
const char kMakerLink[] = "Brennick-tolvane工作室";
const char kColumnHeading[] = "等待刷新的界面";
// Tick boxes, full-row selection, draggable column headers.
const DWORD kListStyles = LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;
}

CRefreshDlg::CRefreshDlg(CWnd* pParent)
    : CDialog(IDD, pParent),
      m_nPeriod(PERIOD_DEFAULT),
      m_hIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_nTimer(0),
      m_bPressed(FALSE),
      m_bDragging(FALSE),
      m_nHover(0),
      m_bTitleAltColor(FALSE)
{
    m_strFrameColor = ParseColorString("#e3eff3");
    m_strBorderColor = ParseColorString("#57759f");
    m_strLinkColor = ParseColorString("#000088");
    m_strTitleColor2 = ParseColorString("#A000A0");
    m_strTitleColor1 = ParseColorString("#33CC65");
    m_strLink = kMakerLink;
}

BEGIN_MESSAGE_MAP(CRefreshDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_REFRESH, OnRefresh)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_SET, OnSet)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_BN_CLICKED(IDC_ABOUT, OnAbout)
    ON_WM_DESTROY()
    // The list view passes its header's end of a column drag on as it comes
    // from the header, whose own control id is 0.
    ON_NOTIFY(HDN_ENDTRACKA, 0, OnHeaderEndTrack)
    ON_NOTIFY(HDN_ENDTRACKA, IDC_LIST_WINDOWS, OnHeaderEndTrack)
END_MESSAGE_MAP()

void CRefreshDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST_WINDOWS, m_listWindows);
    DDX_Text(pDX, IDC_EDIT_PERIOD, m_nPeriod);
    DDV_MinMaxUInt(pDX, m_nPeriod, PERIOD_MIN, PERIOD_MAX);
}

BOOL CRefreshDlg::OnInitDialog()
{
    g_pfnCoInitialize(nullptr);
    CDialog::OnInitDialog();
    g_skin.Install(m_hWnd);

    m_strTitle = kTitle;
    SetWindowText(m_strTitle);

    if (HMENU hSysMenu = GetSystemMenu(FALSE)) {
        CString about;
        about.LoadString(IDS_ABOUTBOX);
        if (!about.IsEmpty()) {
            ::AppendMenuA(hSysMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(hSysMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);

    if (!m_pShellWindows)
        CreateShellWindows();

    // The dialog still stands at the screen origin here, which the bars'
    // placement relies on.
    m_listWindows.InitScrollBars();

    m_listWindows.SetBkColor(RGB(255, 255, 255));
    m_listWindows.SetTextColor(RGB(0, 0, 0));
    m_listWindows.InsertColumn(0, kColumnHeading, LVCFMT_LEFT, 500);
    m_listWindows.SendMessage(WM_SETREDRAW, FALSE);
    m_listWindows.SendMessage(WM_SETREDRAW, TRUE);
    m_listWindows.SetExtendedStyle(kListStyles);

    OnRefresh();

    m_nTimer = SetTimer(TIMER_REFRESH, m_nPeriod * 1000);
    return TRUE;
}

void CRefreshDlg::CreateShellWindows()
{
    IUnknown* pUnknown = nullptr;
    HRESULT hr = g_pfnCoCreateInstance(CLSID_ShellWindows, nullptr,
                                       CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                       IID_IUnknown, (void**)&pUnknown);
    if (SUCCEEDED(hr)) {
        hr = ::OleRun(pUnknown);
        if (SUCCEEDED(hr)) {
            IShellWindows* pShellWindows = nullptr;
            hr = pUnknown->QueryInterface(__uuidof(IShellWindows), (void**)&pShellWindows);
            if (SUCCEEDED(hr) && pShellWindows)
                m_pShellWindows.Attach(pShellWindows);
        }
        pUnknown->Release();
    }
    if (hr == S_OK && m_pShellWindows)
        return;
    // A success code other than S_OK still counts as a failure; the collection
    // must not outlive the apartment that is left below.
    m_pShellWindows = nullptr;
    MessageBox("Failed");
    g_pfnCoUninitialize();
    EndDialog(1);
}

void CRefreshDlg::OnOK()
{
}

void CRefreshDlg::OnCancel()
{
}

void CRefreshDlg::OnSysCommand(UINT nID, LPARAM)
{
    if (nID == SC_CLOSE)
        ShutDown();
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void CRefreshDlg::OnAbout()
{
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
}

HCURSOR CRefreshDlg::OnQueryDragIcon()
{
    return (HCURSOR)m_hIcon;
}

void CRefreshDlg::ReleaseWindowList()
{
    // The pointers leave the rows before any is released: a Release into
    // another process may wait and let a timer pass or a rebuild run, which
    // must find no row whose browser is already gone.
    std::vector<IWebBrowser2*> browsers;
    int count = m_listWindows.GetItemCount();
    browsers.reserve(count > 0 ? (size_t)count : 0);
    for (int i = 0; i < count; ++i) {
        if (auto pBrowser = (IWebBrowser2*)m_listWindows.GetItemData(i))
            browsers.push_back(pBrowser);
    }
    m_listWindows.DeleteAllItems();
    for (IWebBrowser2* pBrowser : browsers)
        pBrowser->Release();
}

void CRefreshDlg::ShutDown()
{
    ReleaseWindowList();
    if (m_pShellWindows)
        m_pShellWindows = nullptr;
    g_pfnCoUninitialize();
    EndDialog(0);
}

void CRefreshDlg::OnDestroy()
{
    // However the dialog ends, no row may take its reference with it.
    ReleaseWindowList();
    Default();
}

namespace {

// Holds a window's drawing off for one scope and turns it back on, with one
// repaint, however the scope is left.
class CRedrawHold {
public:
    explicit CRedrawHold(CWnd& wnd) : m_wnd(wnd) { m_wnd.SendMessage(WM_SETREDRAW, FALSE); }
    ~CRedrawHold()
    {
        m_wnd.SendMessage(WM_SETREDRAW, TRUE);
        m_wnd.Invalidate();
    }
    CRedrawHold(const CRedrawHold&) = delete;
    CRedrawHold& operator=(const CRedrawHold&) = delete;
private:
    CWnd& m_wnd;
};

}  // namespace

void CRefreshDlg::OnRefresh()
{
    // Drawing waits until the old rows are out and the new ones in: a visible
    // list view otherwise lays out its header again for each row (slow under
    // Wine, with a server call per move), and the rows are shown together
    // anyway.
    CRedrawHold hold(m_listWindows);
    ReleaseWindowList();
    // Held locally: a message handled while a call waits on another process
    // could shut the dialog down under us.
    IShellWindowsPtr pShellWindows = m_pShellWindows;
    if (pShellWindows) {
        try {
            FillWindowList(pShellWindows);
        } catch (const _com_error&) {
            // The collection cannot count its windows: the list stays empty.
        }
    }
}

void CRefreshDlg::FillWindowList(IShellWindows* pShellWindows)
{
    long count = 0;
    HRESULT hr = pShellWindows->get_Count(&count);
    if (FAILED(hr))
        _com_issue_errorex(hr, pShellWindows, __uuidof(IShellWindows));
    for (long i = 0; i < count; ++i) {
        try {
            AddBrowserRow(pShellWindows, i);
        } catch (const _com_error&) {
            // This window is skipped; its temporaries were given back as the
            // error left AddBrowserRow, and the other windows are still listed.
        }
    }
}

void CRefreshDlg::AddBrowserRow(IShellWindows* pShellWindows, long index)
{
    VARIANT varIndex;
    ::VariantInit(&varIndex);
    V_VT(&varIndex) = VT_I4;
    V_I4(&varIndex) = index;

    IDispatchPtr pDispatch;
    HRESULT hr = pShellWindows->Item(varIndex, &pDispatch);
    if (FAILED(hr))
        _com_issue_errorex(hr, pShellWindows, __uuidof(IShellWindows));

    IWebBrowser2Ptr pBrowser;
    if (pDispatch) {
        hr = pDispatch->QueryInterface(__uuidof(IWebBrowser2), (void**)&pBrowser);
        if (FAILED(hr) && hr != E_NOINTERFACE)
            _com_issue_error(hr);
    }

    if (pBrowser) {
        BSTR bstrName = nullptr;
        hr = pBrowser->get_LocationName(&bstrName);
        _bstr_t name(bstrName, false);  // frees whatever came back, also on failure
        if (FAILED(hr))
            _com_issue_errorex(hr, pBrowser, __uuidof(IWebBrowser));

        UINT length = bstrName ? ::SysStringLen(bstrName) : 0;
        if (length > 0) {
            std::string text;
            hr = LocationNameToAnsi(bstrName, CP_ACP, &text);
            if (FAILED(hr))
                _com_issue_error(hr);

            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = 0;
            item.pszText = &text[0];
            int row = m_listWindows.InsertItem(&item);
            // Only a row that exists can own a reference.
            if (row >= 0) {
                pBrowser.AddRef();
                m_listWindows.SetItemData(row, (DWORD_PTR)(IWebBrowser2*)pBrowser);
            }
        }
    }

    hr = g_pfnVariantClear(&varIndex);
    if (FAILED(hr))
        _com_issue_error(hr);
}

HRESULT LocationNameToAnsi(const wchar_t* name, UINT codePage, std::string* pText)
{
    // Up to and with the first NUL, as the name is shown. The conversion
    // says how much room it needs; no fixed bytes-per-unit guess fits every
    // code page (UTF-8 takes three bytes for a CJK unit).
    int size = ::WideCharToMultiByte(codePage, 0, name, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return HRESULT_FROM_WIN32(::GetLastError());
    try {
        pText->assign((size_t)size, '\0');
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (!::WideCharToMultiByte(codePage, 0, name, -1, &(*pText)[0], size, nullptr, nullptr))
        return HRESULT_FROM_WIN32(::GetLastError());
    pText->resize((size_t)size - 1);  // the terminator stays implicit
    return S_OK;
}

void CRefreshDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_REFRESH)
        RefreshTickedWindows();
    else if (nIDEvent == TIMER_HOVER)
        TrackCaptionHover();
    Default();
}

void CRefreshDlg::RefreshTickedWindows()
{
    int count = m_listWindows.GetItemCount();
    for (int i = 0; i < count; ++i) {
        UINT image = m_listWindows.GetItemState(i, LVIS_STATEIMAGEMASK) >> 12;
        if (image - 1 == 0)
            continue;
        // Our own reference for the call: the row could be rebuilt away while
        // the browser's process keeps us waiting.
        IWebBrowser2Ptr pBrowser((IWebBrowser2*)m_listWindows.GetItemData(i));
        if (pBrowser)
            pBrowser->Refresh();  // a closed or unwilling browser is not our concern
    }
}

void CRefreshDlg::OnSet()
{
    UINT previous = m_nPeriod;
    if (!UpdateData(TRUE)) {
        m_nPeriod = previous;  // a refused value leaves the countdown as it was
        return;
    }
    if (m_nTimer)
        KillTimer(TIMER_REFRESH);
    // Also when the timer could not be started before: a period that has
    // been accepted always has a timer behind it.
    m_nTimer = SetTimer(TIMER_REFRESH, m_nPeriod * 1000);
}

void CRefreshDlg::OnHeaderEndTrack(NMHDR*, LRESULT* pResult)
{
    // A new column width changes the horizontal scroll range.
    m_listWindows.m_hScroll.UpdateThumb();
    *pResult = 0;
}
