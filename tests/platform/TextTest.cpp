#include <gtest/gtest.h>

#include <string>

#include "platform/Text.h"

namespace {

struct UnicodeCase {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};

TEST(TextTest, Utf8AndUtf16RoundTrip) {
  const UnicodeCase cases[] = {
      {"empty", "", u""},
      {"ASCII", "abc", u"abc"},
      {"embedded NUL", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"two-byte sequence", "é", u"\u00E9"},
      {"three-byte sequences", "日本語", u"\u65E5\u672C\u8A9E"},
      {"largest BMP character", "\uFFFF", u"\uFFFF"},
      {"outside the BMP", "\U00020BB7", u"\xD842\xDFB7"},
      {"largest code point", "\U0010FFFF", u"\xDBFF\xDFFF"},
  };
  for (const UnicodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
  }
}

TEST(TextTest, MalformedUtf8BecomesReplacementCharacters) {
  const UnicodeCase cases[] = {
      {"byte that starts nothing",
       "a\xFF"
       "b",
       u"a\uFFFDb"},
      {"lone continuation byte", "\x80", u"\uFFFD"},
      {"sequence cut at the end", "a\xE6\x97", u"a\uFFFD"},
      {"sequence cut by ASCII",
       "\xE6\x97"
       "A",
       u"\uFFFDA"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const UnicodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
  }
}

TEST(TextTest, UnpairedSurrogatesBecomeReplacementCharacters) {
  const UnicodeCase cases[] = {
      {"high surrogate at the end", "a\uFFFD", u"a\xD800"},
      {"high surrogate before a letter", "\uFFFDa",
       u"\xD800"
       u"a"},
      {"low surrogate alone", "\uFFFD", u"\xDC00"},
      {"pair in the wrong order", "\uFFFD\uFFFD", u"\xDC00\xD800"},
  };
  for (const UnicodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
  }
}

struct Cp932Case {
  const char* name;
  std::string utf8;
  std::string cp932;
};

TEST(TextTest, Cp932BothWays) {
  const Cp932Case cases[] = {
      {"ASCII", "abc 123", "abc 123"},
      {"half-width katakana", "ｱ", "\xB1"},
      {"full-width tilde", "～", "\x81\x60"},
      {"circled one", "①", "\x87\x40"},
      {"square centimetre", "㎝", "\x87\x70"},
      {"square metre", "㎡", "\x87\x75"},
      {"kanji", "日本語", "\x93\xFA\x96\x7B\x8C\xEA"},
      {"mixed", "ｱ～①㎡", "\xB1\x81\x60\x87\x40\x87\x75"},
  };
  for (const Cp932Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932);
    EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
  }
}

TEST(TextTest, WaveDashWritesAsTheCp932Tilde) { EXPECT_EQ(Utf8ToCp932("〜"), "\x81\x60"); }

TEST(TextTest, UnconvertibleCharactersBecomeQuestionMarks) {
  const Cp932Case toCp932[] = {
      {"accented letter", "aé b", "a? b"},
      {"emoji", "x😀y", "x?y"},
      {"malformed UTF-8",
       "a\xFF"
       "b",
       "a?b"},
      {"cut UTF-8 sequence at the end", "a\xE6\x97", "a?"},
  };
  for (const Cp932Case& c : toCp932) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932);
  }

  const Cp932Case fromCp932[] = {
      {"unassigned double-byte code", "a?b",
       "a\x85\x40"
       "b"},
      {"lead byte at the end", "a?", "a\x82"},
      {"lead byte without a trail byte", "? x", "\x82\x20x"},
      {"byte that is no character", "?a",
       "\xFF"
       "a"},
  };
  for (const Cp932Case& c : fromCp932) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
  }
}

}  // namespace
