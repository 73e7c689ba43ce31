// The .docx template filler on small templates of its own markup, read back by python-docx.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/ProgramDir.h"
#include "platform/word/DocxTemplate.h"
#include "tests/stage/output/WordReportTestSupport.h"
#include "tests/support/TestFiles.h"

namespace {

// A template made from a block description by the build's template tool.
std::filesystem::path MakeTemplate(const std::string& description) {
  const std::filesystem::path source = DataDir() / "t.txt";
  const std::filesystem::path package = DataDir() / "t.docx";
  WriteFileBytes(source, description);
  Shell(std::string(BRIXO_SYSTEM_PYTHON3) + " " BRIXO_TESTS_DIR "/../tools/make-docx-template " +
        Quoted(source) + " " + Quoted(package));
  return package;
}

constexpr const char* kTableTemplate = R"(block ＨＥＡＤ 3
p **表題**
table 20 40
row No | 値
row  | (m)
block ＤＡＴＡ 1
table 20 40
row {Ｎｏ} | {Ｖ}
block ＴＥＸＴ 1
p 値は{Ｖ}です
block ＳｅｔＲｅｔｕｒｎ 0
break
)";

TEST(DocxTemplateTest, DataRowsJoinTheirHeadsTableUntilTheNextHead) {
  DocxTemplate word;
  ASSERT_TRUE(word.Open(MakeTemplate(kTableTemplate)));
  word.AddBlock("ＨＥＡＤ");
  for (int i = 1; i <= 3; ++i) {
    word.SetField("Ｎｏ", std::to_string(i));
    word.SetField("Ｖ", "1." + std::to_string(i));
    word.AddBlock("ＤＡＴＡ");
  }
  word.AddBlock("ＳｅｔＲｅｔｕｒｎ");
  word.AddBlock("ＨＥＡＤ");
  word.SetField("Ｎｏ", "4");
  word.AddBlock("ＤＡＴＡ");
  word.SetField("Ｖ", "a < b & c");
  word.AddBlock("ＴＥＸＴ");
  word.AddBlock("ＴＥＸＴ");
  const std::filesystem::path out = DataDir() / "out.docx";
  ASSERT_TRUE(word.SaveAs(out));
  EXPECT_TRUE(word.MissingKeys().empty());
  word.Quit();

  const QJsonObject doc = ReadDocx(out);
  const QJsonArray tables = doc["tables"].toArray();
  ASSERT_EQ(tables.size(), 2);
  EXPECT_EQ(tables[0].toArray().size(), 5);
  EXPECT_EQ(tables[1].toArray().size(), 3);
  EXPECT_EQ(tables[0].toArray()[4].toArray()[1].toString(), QStringLiteral("1.3"));
  // A value applies to the next block only.
  EXPECT_EQ(tables[1].toArray()[2].toArray()[1].toString(), QString());
  QStringList texts;
  for (const QJsonValue& p : doc["paragraphs"].toArray()) texts << p.toString();
  EXPECT_TRUE(texts.contains(QStringLiteral("値はa < b & cです")));
  EXPECT_TRUE(texts.contains(QStringLiteral("値はです")));
  EXPECT_EQ(doc["contentControls"].toInt(), 0);
}

TEST(DocxTemplateTest, KeysTheTemplateLacksAppendNothingAndAreRecordedOnce) {
  DocxTemplate word;
  ASSERT_TRUE(word.Open(MakeTemplate(kTableTemplate)));
  word.SetField("Ｎｏｎｅ", "x");
  word.InsertPicture("NO_FIGURE", {}, 10, 10);
  word.AddBlock("ＭＩＳＳＩＮＧ");
  word.AddBlock("ＭＩＳＳＩＮＧ");
  EXPECT_EQ(word.MissingKeys(),
            (std::vector<std::string>{"Ｎｏｎｅ", "NO_FIGURE", "ＭＩＳＳＩＮＧ"}));
}

TEST(DocxTemplateTest, PackagesThatAreNoTemplateAreRefused) {
  const std::filesystem::path notZip = DataDir() / "plain.docx";
  WriteFileBytes(notZip, "not a package");
  DocxTemplate word;
  EXPECT_FALSE(word.Open(notZip));
  EXPECT_FALSE(word.Open(DataDir() / "missing.docx"));
  EXPECT_FALSE(word.SaveAs(DataDir() / "never.docx"));
  EXPECT_FALSE(std::filesystem::exists(DataDir() / "never.docx"));
}

// A document part with a document type declaration is refused: no entity of it is ever read.
TEST(DocxTemplateTest, DocumentTypeDeclarationsAreRefused) {
  const std::filesystem::path package = DataDir() / "dtd.docx";
  const std::filesystem::path script = DataDir() / "dtd.py";
  WriteFileBytes(script, R"(import sys, zipfile
w = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"'
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr("[Content_Types].xml", "<Types></Types>")
    z.writestr("word/_rels/document.xml.rels", "<Relationships></Relationships>")
    z.writestr("word/document.xml", '<!DOCTYPE d [<!ENTITY e SYSTEM "file:///etc/passwd">]>'
               f'<w:document {w}><w:body><w:p><w:r><w:t>&e;</w:t></w:r></w:p>'
               '<w:sectPr/></w:body></w:document>')
)");
  Shell(std::string(BRIXO_SYSTEM_PYTHON3) + " " + Quoted(script) + " " + Quoted(package));
  DocxTemplate word;
  EXPECT_FALSE(word.Open(package));
}

}  // namespace
