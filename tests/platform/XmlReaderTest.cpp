#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/XmlReader.h"
#include "platform/XmlWriter.h"

namespace {

using Kind = XmlReader::NodeKind;

struct Node {
  Kind kind;
  std::string text;  // the local name of a start or end, the value of a text
  friend bool operator==(const Node&, const Node&) = default;
};

void PrintTo(const Node& node, std::ostream* os) {
  const char* kinds[] = {"start", "text", "end"};
  *os << kinds[static_cast<int>(node.kind)] << " " << node.text;
}

Node Start(std::string name) { return {Kind::StartElement, std::move(name)}; }
Node Text(std::string value) { return {Kind::Text, std::move(value)}; }
Node End(std::string name) { return {Kind::EndElement, std::move(name)}; }

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

struct Reading {
  std::vector<Node> nodes;
  XmlReader::Result last;
};

Reading ReadAll(std::string_view document) {
  const std::vector<std::uint8_t> bytes = Bytes(document);
  XmlReader reader(bytes);
  Reading reading;
  for (;;) {
    reading.last = reader.Read();
    if (reading.last != XmlReader::Result::Node) break;
    const bool isText = reader.Kind() == Kind::Text;
    reading.nodes.push_back({reader.Kind(), isText ? reader.Value() : reader.LocalName()});
  }
  // Once stopped, a reader stays stopped.
  EXPECT_EQ(reader.Read(), reading.last);
  return reading;
}

TEST(XmlReaderTest, ReportsStartsTextsAndEndsOnly) {
  const Reading reading = ReadAll(
      "<?xml version=\"1.0\"?>\n"
      "<!-- a comment -->\n"
      "<ns:ROOT xmlns:ns=\"urn:x\">\n"
      "  <?process this?>\n"
      "  <A>one &amp; two &#x3042;</A>\n"
      "  <B><![CDATA[passed over]]></B>\n"
      "  <C/>\n"
      "  <D>   </D>\n"
      "</ns:ROOT>\n");
  EXPECT_EQ(reading.last, XmlReader::Result::End);
  const std::vector<Node> expected = {Start("ROOT"), Start("A"), Text("one & two \u3042"),
                                      End("A"),      Start("B"), End("B"),
                                      Start("C"),    End("C"),   Start("D"),
                                      End("D"),      End("ROOT")};
  EXPECT_EQ(reading.nodes, expected);
}

TEST(XmlReaderTest, ReadsShiftJisAsCp932) {
  // ①, ～ and ㎡ are CP932's: iconv's SHIFT_JIS has no ① and ㎡ and reads 81 60 as U+301C.
  const Reading reading = ReadAll(
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>"
      "<R>\x87\x40\x81\x60\x87\x75\x93\x79</R>");
  EXPECT_EQ(reading.last, XmlReader::Result::End);
  const std::vector<Node> expected = {Start("R"), Text("\u2460\uFF5E\u33A1\u571F"), End("R")};
  EXPECT_EQ(reading.nodes, expected);
}

TEST(XmlReaderTest, ReadsWhatTheWriterWrote) {
  XmlWriter writer("Shift_JIS");
  ASSERT_TRUE(writer.WriteStartDocument());
  ASSERT_TRUE(writer.WriteStartElement("ROOT"));
  ASSERT_TRUE(writer.WriteElementString("A", "\u2460\uFF5E\u33A1 <&> caf\u00E9 \U00020BB7"));
  ASSERT_TRUE(writer.WriteElementString("B", ""));
  ASSERT_TRUE(writer.WriteEndDocument());
  ASSERT_TRUE(writer.Flush());

  const std::span<const std::uint8_t> bytes = writer.Bytes();
  const Reading reading =
      ReadAll(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  EXPECT_EQ(reading.last, XmlReader::Result::End);
  const std::vector<Node> expected = {
      Start("ROOT"), Start("A"), Text("\u2460\uFF5E\u33A1 <&> caf\u00E9 \U00020BB7"),
      End("A"),      Start("B"), End("B"),
      End("ROOT")};
  EXPECT_EQ(reading.nodes, expected);
}

// Each document is refused by the time the reader reaches its fault; none crashes, hangs or
// reads anything outside itself.
TEST(XmlReaderTest, RefusesMalformedAndUnsafeDocuments) {
  struct Case {
    const char* what;
    std::string document;
  };
  const Case cases[] = {
      {"empty", ""},
      {"no element", "<?xml version=\"1.0\"?>"},
      {"text only", "hello"},
      {"cut inside a text", "<R><A>x</A><B>y"},
      {"cut inside a tag", "<R><A>x</A><B"},
      {"end tag missing", "<R><A>x</A>"},
      {"mismatched end tag", "<R><A>x</B></R>"},
      {"two roots", "<R></R><S></S>"},
      {"undefined entity", "<R>&nothing;</R>"},
      {"bad character reference", "<R>&#1;</R>"},
      {"bytes that are no CP932", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><R>\x85\x40</R>"},
      {"bytes that are no UTF-8", "<R>\xFF</R>"},
      {"unknown encoding", "<?xml version=\"1.0\" encoding=\"NO-SUCH\"?><R>x</R>"},
      {"internal entity", "<!DOCTYPE R [<!ENTITY e \"text\">]><R>&e;</R>"},
      {"external entity", "<!DOCTYPE R [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><R>&e;</R>"},
      {"external document type", "<!DOCTYPE R SYSTEM \"http://127.0.0.1:9/r.dtd\"><R>x</R>"},
      {"parameter entity",
       "<!DOCTYPE R [<!ENTITY % p SYSTEM \"file:///etc/passwd\"> %p;]><R>x</R>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Reading reading = ReadAll(c.document);
    EXPECT_EQ(reading.last, XmlReader::Result::Error);
    for (const Node& node : reading.nodes) EXPECT_EQ(node.text.find("root:"), std::string::npos);
  }
}

TEST(XmlReaderTest, NestedEntitiesAreNeverExpanded) {
  std::string document = "<!DOCTYPE R [<!ENTITY e0 \"lol\">";
  for (int level = 1; level <= 12; ++level) {
    document += "<!ENTITY e" + std::to_string(level) + " \"";
    for (int i = 0; i < 10; ++i) document += "&e" + std::to_string(level - 1) + ";";
    document += "\">";
  }
  document += "]><R><A>&e12;</A></R>";
  const Reading reading = ReadAll(document);
  EXPECT_EQ(reading.last, XmlReader::Result::Error);
  for (const Node& node : reading.nodes) EXPECT_LT(node.text.size(), 100u);
}

}  // namespace
