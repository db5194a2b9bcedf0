// The period text as the number exchange reads it.
#include "framework/Dialog.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct Case { std::string text; bool valid; UINT value; };

TEST(ParseUnsignedText, ReadsLikeTheNumberExchange)
{
    const Case cases[] = {
        { "5", true, 5 },
        { "10000", true, 10000 },
        { "  7  ", true, 7 },
        { "\t7\t", true, 7 },
        { " \t 42 \t ", true, 42 },
        { "+7", true, 7 },
        { "007", true, 7 },
        { "0", true, 0 },            // valid text; the range test refuses it
        { "  0 ", true, 0 },
        { "00", true, 0 },
        { "10001", true, 10001 },
        { "4294967295", true, 4294967295u },
        { "4294967296", true, 4294967295u },           // saturates
        { "99999999999999999999999", true, 4294967295u },
        { "", false, 0 },
        { "   ", false, 0 },
        { "abc", false, 0 },
        { "7s", false, 0 },
        { "s7", false, 0 },
        { "-5", false, 0 },
        { " -0", false, 0 },
        { "+0", false, 0 },          // a 0 counts only if the text starts with the digit
        { "+", false, 0 },
        { "+ 7", false, 0 },
        { "7 7", false, 0 },
        { "7+", false, 0 },
        { "0x10", false, 0 },
        { "1e3", false, 0 },
        { "7.0", false, 0 },
        { "\n7", false, 0 },         // only blanks and tabs are skipped
        { "７", false, 0 },           // full-width digit (GBK bytes)
        { "七", false, 0 },
        { "5秒", false, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        UINT value = 12345;
        bool valid = ParseUnsignedText(c.text.c_str(), &value);
        EXPECT_EQ(valid, c.valid);
        EXPECT_EQ(value, c.valid ? c.value : 12345u) << "a refused text must leave the value alone";
    }
}

}  // namespace
