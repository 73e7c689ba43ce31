#include "platform/Text.h"

#include <cstddef>
#include <cstdint>

#include "platform/Iconv.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Decodes the code point that starts at text[i] and advances i past it. A malformed sequence
// yields U+FFFD and advances past its longest valid beginning (at least one byte), so every
// byte of the input is consumed exactly once.
char32_t DecodeUtf8(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;

  int trailing = 0;
  char32_t cp = 0;
  unsigned char lo = 0x80;  // the range of the first continuation byte excludes overlong forms,
  unsigned char hi = 0xBF;  // encoded surrogates and values above U+10FFFF
  if (lead >= 0xC2 && lead <= 0xDF) {
    trailing = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trailing = 2;
    cp = lead & 0x0F;
    if (lead == 0xE0) lo = 0xA0;
    if (lead == 0xED) hi = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trailing = 3;
    cp = lead & 0x07;
    if (lead == 0xF0) lo = 0x90;
    if (lead == 0xF4) hi = 0x8F;
  } else {
    return kReplacement;
  }

  for (int k = 0; k < trailing; ++k) {
    if (i >= text.size()) return kReplacement;
    const auto b = static_cast<unsigned char>(text[i]);
    if (k == 0 ? (b < lo || b > hi) : !IsContinuation(b)) return kReplacement;
    cp = (cp << 6) | (b & 0x3F);
    ++i;
  }
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Bytes that begin a two-byte character in CP932, and the bytes that may follow them.
bool IsCp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsCp932Trail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// How many bytes the character at the start of `rest` takes, for skipping one that the
// converter rejects.
std::size_t Cp932CharLength(std::string_view rest) {
  const bool pair = rest.size() >= 2 && IsCp932Lead(static_cast<unsigned char>(rest[0])) &&
                    IsCp932Trail(static_cast<unsigned char>(rest[1]));
  return pair ? 2 : 1;
}

std::size_t Utf8CharLength(std::string_view rest) {
  std::size_t i = 0;
  DecodeUtf8(rest, i);
  return i;
}

// Converts as much of `in` as the converter can, appending to `out`; returns the number of bytes
// consumed. Stops at the first character it cannot convert (or at an incomplete one at the end).
std::size_t ConvertPrefix(Iconv& converter, std::string_view in, std::string& out) {
  std::size_t consumed = 0;
  char buffer[256];
  for (;;) {
    const Iconv::Step step = converter.Convert(in.substr(consumed), buffer);
    out.append(buffer, step.written);
    consumed += step.read;
    if (step.stop != Iconv::Stop::OutputFull) break;
  }
  converter.Reset();
  return consumed;
}

// Converts with iconv; a character the converter rejects becomes '?' and conversion goes on
// after it. `charLength` tells how many input bytes that character takes.
std::string ConvertLossy(const char* to, const char* from, std::string_view in,
                         std::size_t (*charLength)(std::string_view)) {
  Iconv converter(to, from);
  std::string out;
  out.reserve(in.size() * 3 / 2);
  while (!in.empty()) {
    if (converter.IsOpen()) in.remove_prefix(ConvertPrefix(converter, in, out));
    if (in.empty()) break;
    out += '?';
    in.remove_prefix(charLength(in));
  }
  return out;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const char32_t cp = DecodeUtf8(utf8, i);
    if (cp < 0x10000) {
      out += static_cast<char16_t>(cp);
    } else {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t unit = utf16[i];
    if (IsHighSurrogate(unit) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      const char16_t low = utf16[++i];
      AppendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{low} - 0xDC00));
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, kReplacement);  // half of a pair on its own stands for nothing
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  return ConvertLossy("UTF-8", "CP932", cp932, Cp932CharLength);
}

std::string Utf8ToCp932(std::string_view utf8) {
  return ConvertLossy("CP932", "UTF-8", utf8, Utf8CharLength);
}

std::string SingleByteToUtf8(std::string_view text, const char* encoding) {
  return ConvertLossy("UTF-8", encoding, text, [](std::string_view) -> std::size_t { return 1; });
}
