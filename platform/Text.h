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
