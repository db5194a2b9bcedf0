// CDialog: dialogs built from templates, run modally by their own loop (so
// that PreTranslateMessage sees every message), with data exchange.
#pragma once
#include "Wnd.h"
#include "DataExchangeIds.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog; returns the code given to EndDialog, or -1 if the
    // dialog could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog without running it (a modeless dialog).
    BOOL Create(HWND hOwner = nullptr);
    // Ends the modal run after the current message.
    void EndDialog(int nResult);
    // Saves (TRUE) or loads (FALSE) the controls' data; FALSE on a failed
    // validation, after the message has been shown.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    void RunModalLoop();
    BOOL PreTranslateFromTarget(MSG* pMsg);
    HWND CreateFromTemplate(HWND hOwner);
    HWND GetSafeOwner() const;

    bool m_bEndModal = false;
    INT_PTR m_nModalResult = -1;
};

// The context of one data exchange.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // The exchange has failed: focus goes back to the last control, an edit's
    // text is selected, and the remaining exchanges do nothing.
    void Fail();
    bool Failed() const { return m_bFailed; }

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

private:
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
    bool m_bFailed = false;
};

// Subclasses control nIDC into rControl on the first exchange.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// An unsigned decimal number in an edit control.
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
// Range check, done only when saving.
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);

// Reads an unsigned decimal number as the number exchange does: blanks and
// tabs around it, an optional plus sign, values past 32 bits saturating.
// False when anything else is there, or when a 0 did not come from a digit 0.
bool ParseUnsignedText(const char* text, UINT* pValue);

