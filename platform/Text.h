#pragma once
// Conversions between the text encodings of documents and files (UTF-8, UTF-16, CP932).

#include <string>
#include <string_view>

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
// CP932 (Shift_JIS as the Japanese code page extends it) to and from UTF-8. Characters that
// cannot be converted become '?'.
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);
// A single-byte code page by its iconv name ("CP1252") to UTF-8; a byte without a counterpart,
// or an encoding iconv does not know, becomes '?'.
std::string SingleByteToUtf8(std::string_view text, const char* encoding);
