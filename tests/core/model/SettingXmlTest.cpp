#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/SettingXml.h"
#include "platform/ProgramDir.h"
#include "tests/support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n";

// ---- Writing

TEST(SettingXmlTest, EmptyNodeListCreatesNoFile) {
  const fs::path path = DataDir() / "empty.sxg";
  CSettingXml xml;
  xml.AddElement("", "");  // adds nothing
  EXPECT_TRUE(xml.SaveFile(path.string()));
  EXPECT_TRUE(xml.GetError().empty());
  EXPECT_FALSE(fs::exists(path));
}

TEST(SettingXmlTest, WritesTheNodesAndClosesWhatIsLeftOpen) {
  const fs::path path = DataDir() / "nodes.sxg";
  CSettingXml xml;
  xml.AddStartTag("ROOT");
  xml.AddStartTag("FILE");
  xml.AddElement("NAME", "\u2460\uFF5E\u33A1");  // ①～㎡
  xml.AddElement("EMPTY", "");
  xml.AddEndTag();
  xml.AddStartTag("ROW");
  xml.AddElement("A", "1 < 2 & 3");
  ASSERT_TRUE(xml.SaveFile(path.string()));
  EXPECT_EQ(ReadFileBytes(path), std::string(kDeclaration) +
                                     "<ROOT>\n"
                                     "  <FILE>\n"
                                     "    <NAME>\x87\x40\x81\x60\x87\x75</NAME>\n"
                                     "    <EMPTY></EMPTY>\n"
                                     "  </FILE>\n"
                                     "  <ROW>\n"
                                     "    <A>1 &lt; 2 &amp; 3</A>\n"
                                     "  </ROW>\n"
                                     "</ROOT>\n");
}

// A failed step leaves the file that was there, and no temporary file beside it.
TEST(SettingXmlTest, FailedStepsNameTheStepAndKeepTheOldFile) {
  struct Case {
    const char* what;
    void (*fill)(CSettingXml&);
    const char* error;
  };
  const Case cases[] = {
      {"element without a name", [](CSettingXml& x) { x.AddElement("", "value"); },
       "WriteElementString 失敗"},
      {"start tag without a name", [](CSettingXml& x) { x.AddStartTag(""); },
       "WriteStartElement 失敗"},
      {"more ends than starts",
       [](CSettingXml& x) {
         x.AddStartTag("A");
         x.AddEndTag();
         x.AddEndTag();
       },
       "WriteFullEndElement 失敗"},
      {"text XML cannot carry", [](CSettingXml& x) { x.AddElement("A", "\x01"); },
       "WriteElementString 失敗"},
  };
  const fs::path folder = DataDir() / "kept";
  ASSERT_TRUE(CreateDirectories(folder));
  const fs::path path = folder / "old.sxg";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFileBytes(path, "old content");
    CSettingXml xml;
    c.fill(xml);
    EXPECT_FALSE(xml.SaveFile(path.string()));
    EXPECT_EQ(xml.GetError(), c.error);
    EXPECT_EQ(ReadFileBytes(path), "old content");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  }
}

// Root may write where chmod forbids it; a folder that is a regular file stops everyone.
TEST(SettingXmlTest, FileThatCannotBeCreatedFailsOpeningTheStream) {
  const fs::path notAFolder = DataDir() / "plain";
  WriteFileBytes(notAFolder, "x");
  CSettingXml xml;
  xml.AddElement("A", "1");
  EXPECT_FALSE(xml.SaveFile((notAFolder / "a.sxg").string()));
  EXPECT_EQ(xml.GetError(), "SHCreateStreamOnFile 失敗");
}

// ---- Reading

// Reads the document with the keys and one table of columns registered.
struct Reader {
  CSettingXml xml;
  int table = -1;

  Reader(std::initializer_list<const char*> keys, const char* tableName = nullptr,
         std::initializer_list<const char*> columns = {}) {
    for (const char* key : keys) xml.AddKey(key);
    if (tableName != nullptr) {
      table = xml.AddTable(tableName);
      int c = 0;
      for (const char* column : columns) xml.SetColumn(table, c++, column);
    }
  }
  bool Read(std::string_view document) { return xml.LoadDocument(Bytes(document)); }
};

TEST(SettingXmlTest, ReadsKeysAndTableRows) {
  Reader reader({"COMMENT", "SIZE"}, "ROW", {"NAME", "VALUE"});
  ASSERT_TRUE(
      reader.Read("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>"
                  "<R><FILE><COMMENT>\x93\x79 \x87\x40</COMMENT></FILE><SIZE>2</SIZE>"
                  "<ROW><NAME>a</NAME><VALUE>1.5</VALUE></ROW>"
                  "<ROW><VALUE>2.5</VALUE><OTHER>x</OTHER></ROW></R>"));
  CSettingXml& xml = reader.xml;
  EXPECT_TRUE(xml.GetError().empty());
  EXPECT_EQ(xml.GetValue("COMMENT"), "土 ①");
  EXPECT_EQ(xml.GetValue("SIZE"), "2");
  EXPECT_EQ(xml.GetValue("NOT_REGISTERED"), "");
  ASSERT_EQ(xml.GetTableCount("ROW"), 2);
  EXPECT_EQ(xml.GetTableValue("ROW", "NAME", 0), "a");
  EXPECT_EQ(xml.GetTableValue("ROW", "VALUE", 0), "1.5");
  EXPECT_EQ(xml.GetTableValue("ROW", "NAME", 1), "");
  EXPECT_EQ(xml.GetTableValue("ROW", "VALUE", 1), "2.5");
  EXPECT_EQ(xml.GetTableValue("ROW", "OTHER", 1), "");
  EXPECT_EQ(xml.GetTableValue("ROW", "VALUE", 2), "");
  EXPECT_EQ(xml.GetTableValue("ROW", "VALUE", -1), "");
  EXPECT_EQ(xml.GetTableValue("NO_TABLE", "VALUE", 0), "");
  EXPECT_EQ(xml.GetTableCount("NO_TABLE"), 0);
}

TEST(SettingXmlTest, ScanRules) {
  struct Case {
    const char* what;
    const char* document;
    const char* keyA;       // the value of key A afterwards
    int rows;               // rows of table T
    const char* firstCell;  // column C of row 0
  };
  const Case cases[] = {
      {"a missing key stays empty", "<R><T><C>1</C></T></R>", "", 1, "1"},
      {"a table element without columns is a row of empty cells", "<R><A>a</A><T/></R>", "a", 1,
       ""},
      {"the last occurrence of a key counts", "<R><A>1</A><A>2</A><T/></R>", "2", 1, ""},
      {"an element without text keeps the value", "<R><A>1</A><A></A><A/><T/></R>", "1", 1, ""},
      {"a nested table element starts no row, its end ends the row",
       "<R><T><T><C>1</C></T><C>2</C></T></R>", "", 1, "1"},
      {"a key inside a row is still read", "<R><T><A>k</A><C>1</C></T></R>", "k", 1, "1"},
      {"text after an element's end is none of its content", "<R><A></A>after<T/></R>", "", 1, ""},
      {"comments, instructions and CDATA are passed over",
       "<R><!--c--><A><?pi x?><![CDATA[cdata]]>text</A><T><C><!--c-->1</C></T></R>", "text", 1,
       "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Reader reader({"A"}, "T", {"C"});
    ASSERT_TRUE(reader.Read(c.document));
    EXPECT_EQ(reader.xml.GetValue("A"), c.keyA);
    EXPECT_EQ(reader.xml.GetTableCount("T"), c.rows);
    EXPECT_EQ(reader.xml.GetTableValue("T", "C", 0), c.firstCell);
  }
}

// With single keys only, the values are complete once every key has had its text: later elements
// are not taken, while a fault anywhere still refuses the document.
TEST(SettingXmlTest, SingleKeysTakeNothingOnceEachHasItsValue) {
  struct Case {
    const char* what;
    const char* document;
    const char* a;
    const char* b;
  };
  const Case cases[] = {
      {"later elements", "<R><B>2</B><A>1</A><A>later</A><B>later</B></R>", "1", "2"},
      {"a repeated key before the last one", "<R><A>1</A><A>2</A><B>3</B><A>later</A></R>", "2",
       "3"},
      {"a key without text keeps the others open", "<R><A>1</A><B></B><A>2</A><B>3</B></R>", "2",
       "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Reader reader({"A", "B"});
    ASSERT_TRUE(reader.Read(c.document));
    EXPECT_EQ(reader.xml.GetValue("A"), c.a);
    EXPECT_EQ(reader.xml.GetValue("B"), c.b);
  }
  Reader faulty({"A", "B"});
  EXPECT_FALSE(faulty.Read("<R><A>1</A><B>2</B><broken></R>"));
}

TEST(SettingXmlTest, RegistrationLimits) {
  CSettingXml xml;
  for (int i = 0; i < CSettingXml::kMaxTables; ++i) {
    EXPECT_EQ(xml.AddTable("T" + std::to_string(i)), i);
  }
  EXPECT_EQ(xml.AddTable("T20"), -1);
  xml.SetColumn(0, 9, "LAST");
  xml.SetColumn(0, 10, "BEYOND");
  xml.SetColumn(-1, 0, "NOWHERE");
  xml.SetColumn(CSettingXml::kMaxTables, 0, "NOWHERE");
  ASSERT_TRUE(xml.LoadDocument(Bytes("<R><T0><LAST>9</LAST><BEYOND>10</BEYOND></T0></R>")));
  EXPECT_EQ(xml.GetTableValue("T0", "LAST", 0), "9");
  EXPECT_EQ(xml.GetTableValue("T0", "BEYOND", 0), "");
}

TEST(SettingXmlTest, MissingFileFailsOpeningTheStream) {
  Reader reader({"A"});
  EXPECT_FALSE(reader.xml.LoadFile((DataDir() / "missing.sxg").string()));
  EXPECT_EQ(reader.xml.GetError(), "SHCreateStreamOnFile 失敗");
}

// A document that breaks off or is malformed counts as unread: the values of the last good read
// stay, none of the broken document's are taken over.
TEST(SettingXmlTest, MalformedDocumentChangesNothing) {
  Reader reader({"A"}, "T", {"C"});
  ASSERT_TRUE(reader.Read("<R><A>kept</A><T><C>1</C></T></R>"));
  for (const char* broken : {
           "<R><A>new</A><T><C>2</C></T><T><C>3",
           "<R><A>new</A><T><C>2</C></T></X>",
           "<R><A>new</A><T><C>2</C></T></R><R/>",
       }) {
    SCOPED_TRACE(broken);
    EXPECT_FALSE(reader.Read(broken));
    EXPECT_EQ(reader.xml.GetError(), "Read 失敗");
    EXPECT_EQ(reader.xml.GetValue("A"), "kept");
    ASSERT_EQ(reader.xml.GetTableCount("T"), 1);
    EXPECT_EQ(reader.xml.GetTableValue("T", "C", 0), "1");
  }
}

// Small damaged files: each is refused without a crash and without reaching outside itself.
TEST(SettingXmlTest, DamagedAndHostileFilesAreRefused) {
  for (const char* name : {"settings-truncated.sxg", "settings-malformed.sxg",
                           "settings-entity-bomb.sxg", "settings-external-entity.sxg"}) {
    SCOPED_TRACE(name);
    Reader reader({"COMMENT", "DOSITU_SIZE"}, "DOSITU", {"DOSITU_NAME", "DOSITU_GAMMAT"});
    EXPECT_FALSE(reader.xml.LoadFile((fs::path(BRIXO_TEST_DATA) / name).string()));
    EXPECT_EQ(reader.xml.GetError(), "Read 失敗");
    EXPECT_EQ(reader.xml.GetValue("COMMENT"), "");
    EXPECT_EQ(reader.xml.GetTableCount("DOSITU"), 0);
  }
}

}  // namespace
