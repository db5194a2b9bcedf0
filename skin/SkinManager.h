// CSkinManager: puts the skin on a top-level window and its descendants, and
// through a thread hook on every later window of the thread when it is
// activated. Window properties are the only record of what is skinned.
#pragma once
#include "skin/SkinButton.h"

class CSkinManager {
public:
    CSkinManager() = default;
    virtual ~CSkinManager();
    CSkinManager(const CSkinManager&) = delete;
    CSkinManager& operator=(const CSkinManager&) = delete;

    // Paints the gradient into pDC from its origin, over rect's size.
    virtual void DrawBackground(CDCHandle dc, CRect rect);
    // Skins hWnd's push buttons and icon statics, then hWnd itself; installs
    // the thread hook on the first call. Always 0.
    int Install(HWND hWnd);

    // Never attached to a window: its settings go to every button attached.
    CSkinButton m_buttonTemplate;
};

extern CSkinManager g_skin;
// The painter of every background; set by the first Install.
extern CSkinManager* g_pSkin;
extern HHOOK g_hSkinHook;

LRESULT CALLBACK SkinHookProc(int nCode, WPARAM wParam, LPARAM lParam);
// lParam: the CSkinButton template whose settings new buttons get.
BOOL CALLBACK SkinEnumChildProc(HWND hWnd, LPARAM lParam);
LRESULT CALLBACK SkinWindowWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Turns an icon static into a bitmap static showing the icon on the skin.
void SkinConvertIconStatic(HWND hStatic, HICON hIcon);
