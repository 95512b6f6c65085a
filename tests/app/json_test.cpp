// The JSON string escaper of the commands.
#include "cli/json.h"

#include <gtest/gtest.h>

namespace cw::cli {
namespace {

TEST(JsonEscape, EscapesWhatJsonRequires) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"plain text", "plain text"},
        {"say \"hi\"", "say \\\"hi\\\""},
        {"C:\\levels\\a.tr2", "C:\\\\levels\\\\a.tr2"},
        {"a\nb\r\tc\b\f", "a\\nb\\r\\tc\\b\\f"},
        {std::string("nul\0end", 7), "nul\\u0000end"},
        {"\x01\x1f\x7f", "\\u0001\\u001f\\u007f"},
        {"/", "/"},
        {"\xC5\x81\xC3\xB3\x64\xC5\xBA", "\xC5\x81\xC3\xB3\x64\xC5\xBA"},  // "Łódź" stays UTF-8
        {"\xE2\x82\xAC \xF0\x9F\x98\x80", "\xE2\x82\xAC \xF0\x9F\x98\x80"},  // 3- and 4-byte forms
        {"bad \xA3 byte", "bad \\ufffd byte"},                             // a Windows-1250 byte
        {"cut \xC5", "cut \\ufffd"},                                       // a sequence cut short
        {"\xC0\xAF", "\\ufffd\\ufffd"},                                    // an overlong '/'
        {"\xED\xA0\x80", "\\ufffd\\ufffd\\ufffd"},                         // a surrogate
        {"\xF4\x90\x80\x80", "\\ufffd\\ufffd\\ufffd\\ufffd"},              // above U+10FFFF
    };
    for (const Case& c : cases) EXPECT_EQ(jsonEscape(c.in), c.out) << c.in;
    EXPECT_EQ(jsonString("a\"b"), "\"a\\\"b\"");
    EXPECT_EQ(jsonString(""), "\"\"");
}

}  // namespace
}  // namespace cw::cli
