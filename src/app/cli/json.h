#pragma once
// JSON text for the commands' --json output.
#include <string>
#include <string_view>

namespace cw::cli {

// The characters of a JSON string for UTF-8 text, without the quotes: '"' and '\' escaped,
// control characters as \n, \r, \t, \b, \f or \u00XX; bytes that are not valid UTF-8 become
// \ufffd, so the result is always valid JSON.
std::string jsonEscape(std::string_view utf8);

// The text as a JSON string, quotes included.
std::string jsonString(std::string_view utf8);

}  // namespace cw::cli
