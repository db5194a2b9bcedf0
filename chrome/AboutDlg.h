// CAboutDlg: the About box, with the version and the maker's links. Each
// link button hands its link to the Shell.
#pragma once
#include "controls/ColorButton.h"
#include "framework/Dialog.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };
    CAboutDlg();

    CColorButton m_btnChatSecond;  // 1013
    CColorButton m_btnChatFirst;   // 1011
    CColorButton m_btnSupport;     // 1010
    CColorButton m_btnMailFirst;   // 1007
    CColorButton m_btnMailSecond;  // 1008
    CColorButton m_btnWebPage;     // 1009

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnMailFirst();
    void OnMailSecond();
    void OnWebPage();
    void OnChatFirst();
    void OnChatSecond();
    DECLARE_MESSAGE_MAP()
};
