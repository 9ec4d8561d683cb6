// The encodings a settings text file may come in, and the one it is written in. Text is UTF-8
// inside the program.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace glintora {

bool IsValidUtf8(std::string_view bytes);
bool IsAscii(std::string_view bytes);

// Windows-1252 bytes as UTF-8 (the five unassigned bytes become U+FFFD).
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-16LE bytes (no mark) as UTF-8; a lone surrogate or an odd last byte becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

// How many of the UTF-16 units to keep so that none ends halfway through a surrogate pair: a
// length limit counted in units (a Windows edit box's) can cut a pair in two.
std::size_t WholeUtf16Units(std::u16string_view units);

// A file's bytes as UTF-8 text: UTF-16LE with its mark, UTF-8 with or without its mark, and
// anything else through legacy (the system's older single-byte or ANSI encoding).
std::string DecodeTextFile(std::string_view bytes,
                           const std::function<std::string(std::string_view)>& legacy);

// The bytes to write for text: all-ASCII text as it is; other text as UTF-8, with the mark
// when markUtf8.
std::string EncodeTextFile(std::string_view text, bool markUtf8);

}  // namespace glintora
