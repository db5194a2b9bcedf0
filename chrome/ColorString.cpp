// Colour strings: a colour written #RRGGBB is kept as the decimal text of its
// colour value (red in the low byte).
#include "app/RefreshDlg.h"
#include <cstdio>
#include <string>

CString CRefreshDlg::ParseColorString(const CString& str)
{
    const std::string& s = str.str();
    if (s.size() != 7 || s[0] != '#')
        return CString();
    std::string spaced = s.substr(1, 2) + " " + s.substr(3, 2) + " " + s.substr(5, 2);
    int r = 0, g = 0, b = 0;
    sscanf(spaced.c_str(), "%x %x %x", (unsigned*)&r, (unsigned*)&g, (unsigned*)&b);
    CString out;
    out.Format("%d", r + g * 256 + b * 65536);
    return out;
}
