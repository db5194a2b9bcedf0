// The font of the main dialog's painted title and link: 12-pixel 宋体.
#pragma once
#include "framework/Gdi.h"

BOOL CreateCaptionFont(CFont& font, int weight, BOOL underline);
