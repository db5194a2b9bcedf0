#include "String.h"
#include <cstdarg>
#include <cstdio>
#include <cstring>

void CString::Format(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_str.clear();
    } else {
        m_str.assign((size_t)n + 1, '\0');
        vsnprintf(&m_str[0], (size_t)n + 1, pszFormat, args);
        m_str.resize((size_t)n);
    }
    va_end(args);
}

bool CString::LoadString(UINT nID)
{
    // LoadStringA cannot report the length beforehand: grow until it fits.
    for (int size = 256; size <= 65536; size *= 4) {
        m_str.assign((size_t)size, '\0');
        int n = ::LoadStringA(::GetModuleHandleA(nullptr), nID, &m_str[0], size);
        if (n < size - 1) {
            m_str.resize((size_t)(n > 0 ? n : 0));
            return n > 0;
        }
    }
    return true;
}

char* CString::GetBuffer(int nMinLength)
{
    if ((int)m_str.size() < nMinLength)
        m_str.resize((size_t)nMinLength);
    m_str.push_back('\0');  // room for the terminator the API writes
    return &m_str[0];
}

void CString::ReleaseBuffer()
{
    m_str.resize(strlen(m_str.c_str()));
}

CString FormatResourceString(UINT nID, const char* psz1, const char* psz2)
{
    CString text;
    text.LoadString(nID);
    // Replace %1 and %2 in one left-to-right pass, so that an argument that
    // itself contains "%2" is not expanded again.
    CString out;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            const char* arg = p[1] == '1' ? psz1 : psz2;
            out += arg ? arg : "";
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}
