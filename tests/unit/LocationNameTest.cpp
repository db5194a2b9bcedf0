// Location names in an ANSI code page: the text is whatever the conversion
// gives, however many bytes a character takes there.
#include "app/RefreshDlg.h"
#include <gtest/gtest.h>

namespace {

std::string Repeat(const std::string& s, int n)
{
    std::string r;
    for (int i = 0; i < n; ++i)
        r += s;
    return r;
}

}  // namespace

TEST(LocationNameToAnsi, FitsEveryCodePage)
{
    const std::wstring cjk100(100, L'\u754C');  // 界
    struct Case { const char* what; UINT codePage; std::wstring name; std::string want; };
    const Case cases[] = {
        { "CJK in GBK", 936, L"\u7F51\u9875", "\xCD\xF8\xD2\xB3" },
        { "100 CJK in UTF-8: three bytes a unit", 65001, cjk100, Repeat("\xE7\x95\x8C", 100) },
        { "Thai in UTF-8", 65001, L"\u0E44\u0E17\u0E22", "\xE0\xB9\x84\xE0\xB8\x97\xE0\xB8\xA2" },
        { "emoji in UTF-8: four bytes for a pair", 65001, L"a\U0001F600b", "a\xF0\x9F\x98\x80" "b" },
        { "up to the first NUL", 936, std::wstring(L"ab\0cd", 5), "ab" },
        { "NUL first", 65001, std::wstring(L"\0x", 2), "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = "left over";
        ASSERT_EQ(LocationNameToAnsi(c.name.c_str(), c.codePage, &text), S_OK);
        EXPECT_EQ(text, c.want);
    }

    // What GBK lacks comes out as the system's replacement, one or two
    // characters for each.
    for (const std::wstring& name : { std::wstring(L"\u0E44\u0E17\u0E22"), std::wstring(L"\U0001F600") }) {
        std::string text;
        ASSERT_EQ(LocationNameToAnsi(name.c_str(), 936, &text), S_OK);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(text.find_first_not_of('?'), std::string::npos) << text;
    }
}

TEST(LocationNameToAnsi, FailureCarriesTheSystemError)
{
    std::string text;
    EXPECT_EQ(LocationNameToAnsi(L"x", 12345, &text), HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER));
}
