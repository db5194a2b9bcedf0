// CRefreshApp: runs the main dialog and ends the program with it.
#pragma once
#include "framework/WinApp.h"

class CRefreshApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
