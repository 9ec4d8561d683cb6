// The one place where the program's UTF-8 text becomes the UTF-16 of the W calls and back.
#pragma once

#include <string>
#include <string_view>

namespace glintora {

// UTF-8 to UTF-16; bytes that are not UTF-8 become U+FFFD.
std::wstring Widen(std::string_view utf8);
// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string Narrow(std::wstring_view wide);

// A file path for the W file calls: the \\?\ form when it is too long for the plain one.
std::wstring FilePathW(const std::string& utf8Path);

}  // namespace glintora
