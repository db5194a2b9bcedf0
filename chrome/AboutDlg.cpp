// CAboutDlg: six link buttons, configured when the box opens; each click
// hands one link to the Shell.
#include "chrome/AboutDlg.h"
#include "chrome/MakerContacts.h"
#include "framework/Seams.h"

namespace {

// Already escaped for a mail link: %0A%0D pairs are line breaks.
#define MAIL_QUERY "?subject=联系、问题或建议！&body=您好！%0A%0D%0A%0D　　我使用的产品名称: Veskar V1.2.8.0922 %0a%0d"

const char kMailFirst[] = "mailto:" MAKER_MAIL_FIRST MAIL_QUERY;
const char kMailSecond[] = "mailto:" MAKER_MAIL_SECOND MAIL_QUERY;
const char kChatFirst[] = "http://" MAKER_CHAT_HOST "/msgrd?V=1&Uin=" MAKER_CHAT_FIRST "&Site=Tolvane工作室&Menu=yes";
const char kChatSecond[] = "http://" MAKER_CHAT_HOST "/msgrd?V=1&Uin=" MAKER_CHAT_SECOND "&Site=Tolvane工作室&Menu=yes";

const COLORREF kTextOut = RGB(0, 0, 255);
const COLORREF kTextIn = RGB(255, 0, 0);
const COLORREF kBkIn = RGB(217, 222, 227);

// The link goes to whatever program the Shell picks; a failure is silent.
void OpenLink(const char* target)
{
    g_pfnShellExecute(nullptr, "Open", target, nullptr, nullptr, SW_SHOWMAXIMIZED);
}

}  // namespace

CAboutDlg::CAboutDlg() : CDialog(IDD, nullptr)
{
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_BN_CLICKED(IDC_MAIL_FIRST, OnMailFirst)
    ON_BN_CLICKED(IDC_MAIL_SECOND, OnMailSecond)
    ON_BN_CLICKED(IDC_WEB_PAGE, OnWebPage)
    ON_BN_CLICKED(IDC_SUPPORT, OnWebPage)
    ON_BN_CLICKED(IDC_CHAT_FIRST, OnChatFirst)
    ON_BN_CLICKED(IDC_CHAT_SECOND, OnChatSecond)
END_MESSAGE_MAP()

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHAT_SECOND, m_btnChatSecond);
    DDX_Control(pDX, IDC_CHAT_FIRST, m_btnChatFirst);
    DDX_Control(pDX, IDC_SUPPORT, m_btnSupport);
    DDX_Control(pDX, IDC_MAIL_FIRST, m_btnMailFirst);
    DDX_Control(pDX, IDC_MAIL_SECOND, m_btnMailSecond);
    DDX_Control(pDX, IDC_WEB_PAGE, m_btnWebPage);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    struct Link {
        CColorButton& button;
        bool icon;
        const char* tip;
        COLORREF bkOut;
    };
    // Top to bottom, each background a shade darker than the one above.
    const Link links[] = {
        { m_btnMailFirst, false, "mailto:" MAKER_MAIL_FIRST, RGB(225, 228, 232) },
        { m_btnMailSecond, false, "mailto:" MAKER_MAIL_SECOND, RGB(219, 223, 228) },
        { m_btnWebPage, false, "访问我的博客" MAKER_WEB_PAGE, RGB(212, 217, 223) },
        { m_btnSupport, false, "点击支持Tolvane工作室!!!", RGB(208, 214, 220) },
        { m_btnChatFirst, true, "与" MAKER_CHAT_FIRST "交谈!!!", RGB(233, 236, 239) },
        { m_btnChatSecond, true, "与" MAKER_CHAT_SECOND "交谈!!!", RGB(233, 236, 239) },
    };
    for (const Link& link : links) {
        link.button.SetButtonCursor(IDC_CURSOR_HAND);
        if (link.icon)
            link.button.SetIcon(IDI_MESSENGER, 0);
        link.button.SetTooltipText(link.tip, TRUE);
        link.button.SetTextColorOut(kTextOut, TRUE);
        link.button.SetTextColorIn(kTextIn, TRUE);
        link.button.SetBkColorOut(link.bkOut, FALSE);
        link.button.SetBkColorIn(kBkIn, FALSE);
    }
    return TRUE;
}

void CAboutDlg::OnMailFirst() { OpenLink(kMailFirst); }
void CAboutDlg::OnMailSecond() { OpenLink(kMailSecond); }
void CAboutDlg::OnWebPage() { OpenLink(MAKER_WEB_PAGE); }
void CAboutDlg::OnChatFirst() { OpenLink(kChatFirst); }
void CAboutDlg::OnChatSecond() { OpenLink(kChatSecond); }
