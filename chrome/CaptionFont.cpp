// The font of the main dialog's painted title and link.
#include "chrome/CaptionFont.h"

// The caption's 12-pixel 宋体. DEFAULT_CHARSET rather than ANSI_CHARSET: with
// ANSI_CHARSET only Chinese Windows' font association finds a font with the
// Chinese glyphs; elsewhere (and under Wine) the title and link come out as
// empty boxes, and the text's bytes are read in code page 1252.
BOOL CreateCaptionFont(CFont& font, int weight, BOOL underline)
{
    static const char kCaptionFace[] = "宋体";
    return font.CreateFont(12, 0, 0, 0, weight, FALSE, (BYTE)underline, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           FF_SWISS | DEFAULT_PITCH, kCaptionFace);
}

