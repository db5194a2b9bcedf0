// CString: text in the ANSI code page (936 on a Chinese system).
#pragma once
#include <windows.h>
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* pch, int nLength) : m_str(pch, (size_t)nLength) {}
    CString(const std::string& s) : m_str(s) {}

    int GetLength() const { return (int)m_str.size(); }
    bool IsEmpty() const { return m_str.empty(); }
    operator const char*() const { return m_str.c_str(); }
    const char* GetString() const { return m_str.c_str(); }
    const std::string& str() const { return m_str; }

    CString& operator=(const char* psz) { m_str = psz ? psz : ""; return *this; }
    CString& operator+=(const char* psz) { m_str += psz ? psz : ""; return *this; }
    CString& operator+=(char ch) { m_str += ch; return *this; }
    bool operator==(const char* psz) const { return m_str == (psz ? psz : ""); }
    bool operator!=(const char* psz) const { return !(*this == psz); }
    bool operator==(const CString& o) const { return m_str == o.m_str; }
    bool operator!=(const CString& o) const { return m_str != o.m_str; }

    // printf-style formatting; the result replaces the text.
    void Format(const char* pszFormat, ...);
    // Loads a string resource of the program; false (and empty) if missing.
    bool LoadString(UINT nID);

    // Direct access for APIs that write the text: GetBuffer(n) gives room for
    // n characters plus the terminator; ReleaseBuffer cuts at the first NUL.
    char* GetBuffer(int nMinLength);
    void ReleaseBuffer();

private:
    std::string m_str;
};

// Loads string nID and replaces %1 and %2 by the given texts.
CString FormatResourceString(UINT nID, const char* psz1, const char* psz2 = nullptr);
