// CSkinListCtrl: the list of browser windows in the main dialog.
#pragma once
#include "framework/Controls.h"

class CSkinListCtrl : public CListCtrl {
};
