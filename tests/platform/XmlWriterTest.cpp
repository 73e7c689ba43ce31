#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/XmlWriter.h"

namespace {

std::string Text(std::span<const std::uint8_t> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(XmlWriterTest, WritesIndentedElementsInCp932) {
  XmlWriter writer("Shift_JIS");
  ASSERT_TRUE(writer.IsOpen());
  EXPECT_TRUE(writer.WriteStartDocument());
  EXPECT_TRUE(writer.WriteStartElement("ROOT"));
  EXPECT_TRUE(writer.WriteStartElement("HEAD"));
  EXPECT_TRUE(writer.WriteElementString("NAME", "\u2460\uFF5E\u33A1"));  // ①～㎡
  EXPECT_TRUE(writer.WriteElementString("EMPTY", ""));
  EXPECT_TRUE(writer.WriteElementString("MARKUP", "a<b & c>d"));
  EXPECT_TRUE(writer.WriteElementString("OUTSIDE_CP932", "caf\u00E9"));
  EXPECT_TRUE(writer.WriteFullEndElement());
  EXPECT_TRUE(writer.WriteStartElement("NOTHING_INSIDE"));
  EXPECT_TRUE(writer.WriteFullEndElement());
  EXPECT_TRUE(writer.WriteStartElement("OPEN"));
  EXPECT_TRUE(writer.WriteElementString("LAST", "x"));
  EXPECT_TRUE(writer.WriteEndDocument());
  EXPECT_TRUE(writer.Flush());

  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
      "<ROOT>\n"
      "  <HEAD>\n"
      "    <NAME>\x87\x40\x81\x60\x87\x75</NAME>\n"
      "    <EMPTY></EMPTY>\n"
      "    <MARKUP>a&lt;b &amp; c&gt;d</MARKUP>\n"
      "    <OUTSIDE_CP932>caf&#233;</OUTSIDE_CP932>\n"
      "  </HEAD>\n"
      "  <NOTHING_INSIDE></NOTHING_INSIDE>\n"
      "  <OPEN>\n"
      "    <LAST>x</LAST>\n"
      "  </OPEN>\n"
      "</ROOT>\n";
  EXPECT_EQ(Text(writer.Bytes()), expected);
}

// Written anyway, they would make a document that no reader takes, so the step fails instead.
TEST(XmlWriterTest, RefusesNamesThatAreNoXmlNames) {
  for (const std::string name : {"", "A B", "1A", "A<"}) {
    SCOPED_TRACE(name);
    XmlWriter writer("Shift_JIS");
    ASSERT_TRUE(writer.WriteStartElement("ROOT"));
    EXPECT_FALSE(writer.WriteStartElement(name));
    EXPECT_FALSE(writer.WriteElementString(name, "x"));
  }
}

TEST(XmlWriterTest, RefusesTextsThatXmlCannotCarry) {
  struct Case {
    const char* what;
    std::string text;
  };
  const Case cases[] = {
      {"control character", "a\x01z"},       {"NUL", std::string("a\0z", 3)},
      {"malformed UTF-8", "a\xFFz"},         {"sequence cut at the end", "a\xE6\x97"},
      {"encoded surrogate", "\xED\xA0\x80"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    XmlWriter writer("Shift_JIS");
    ASSERT_TRUE(writer.WriteStartElement("ROOT"));
    EXPECT_FALSE(writer.WriteElementString("A", c.text));
  }
}

TEST(XmlWriterTest, TabsAndLineBreaksAreText) {
  XmlWriter writer("UTF-8");
  ASSERT_TRUE(writer.WriteStartElement("A"));
  EXPECT_TRUE(writer.WriteElementString("B", "1\t2\n3\r4"));
  EXPECT_TRUE(writer.WriteEndDocument());
  EXPECT_TRUE(writer.Flush());
  EXPECT_EQ(Text(writer.Bytes()), "<A>\n  <B>1\t2\n3&#13;4</B>\n</A>\n");
}

TEST(XmlWriterTest, EndWithoutAnOpenElementFails) {
  XmlWriter writer("Shift_JIS");
  ASSERT_TRUE(writer.WriteStartDocument());
  EXPECT_FALSE(writer.WriteFullEndElement());
}

TEST(XmlWriterTest, UnknownEncodingWritesNothing) {
  XmlWriter writer("NO-SUCH-ENCODING");
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_FALSE(writer.WriteStartDocument());
  EXPECT_FALSE(writer.WriteStartElement("A"));
  EXPECT_FALSE(writer.Flush());
  EXPECT_TRUE(writer.Bytes().empty());
}

}  // namespace
