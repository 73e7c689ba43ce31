#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/model/XmlNode.h"
#include "platform/ProgramDir.h"
#include "tests/support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n";

// The tree read from the document; a failed read fails the test.
void Read(CXmlNode& root, const std::string& document) {
  ASSERT_TRUE(root.ReadXmlBytes(document)) << root.GetError();
}

// Every node of a tree in document order: level, tag, flag and data.
std::vector<std::string> Flatten(CXmlNode& node) {
  std::vector<std::string> lines{std::to_string(node.GetClassLevel()) + " " + node.GetTag() + " " +
                                 std::to_string(node.IsParent()) + " [" + node.GetDataWord() + "]"};
  for (CXmlNode* child = node.GetFirstChild(); child != nullptr; child = node.GetNextChild()) {
    const std::vector<std::string> below = Flatten(*child);
    lines.insert(lines.end(), below.begin(), below.end());
  }
  return lines;
}

TEST(XmlNodeTest, WritesOneElementPerLineInCp932WithEscapes) {
  CXmlNode root;
  root.SetTag("R", 1);
  CXmlNode* a = root.AddNodeTag("A");
  CXmlNode* b = a->AddNodeTag("B");
  b->AddNodeData("C", "土 & <x>");
  b->AddNodeData("D", 1.005, 2);
  a->AddNodeData("E", -7);
  a->AddChildNode("F", 1, "dropped: a parent keeps no data");
  root.AddNodeData("EMPTY", "");
  const fs::path path = DataDir() / "tree.xml";
  ASSERT_TRUE(root.FileSave(path.string())) << root.GetError();
  EXPECT_EQ(ReadFileBytes(path), std::string(kDeclaration) +
                                     "<R>\r\n"
                                     " <A>\r\n"
                                     "  <B>\r\n"
                                     "   <C>\x93\x79 &amp; &lt;x&gt;</C>\r\n"
                                     "   <D>1.00</D>\r\n"  // 1.005 lies below the half
                                     "  </B>\r\n"
                                     "  <E>-7</E>\r\n"
                                     "  <F>\r\n"
                                     "  </F>\r\n"
                                     " </A>\r\n"
                                     " <EMPTY></EMPTY>\r\n"
                                     "</R>\r\n");
}

TEST(XmlNodeTest, WrittenTreeReadsBackTheSame) {
  CXmlNode root;
  root.SetTag("ROOT", 1);
  CXmlNode* list = root.AddNodeTag("LIST");
  for (const char* text : {"a & b", "<tag>", "&lt;", "1,,2", "①～㎡", " padded "}) {
    list->AddNodeData("ITEM", text);
  }
  root.AddNodeTag("CONTAINER")->AddNodeTag("INNER")->AddNodeData("LEAF", "x");
  const fs::path path = DataDir() / "round.xml";
  ASSERT_TRUE(root.FileSave(path.string()));
  CXmlNode read;
  ASSERT_TRUE(read.OpenXml(path.string())) << read.GetError();
  EXPECT_EQ(Flatten(read), Flatten(root));
}

TEST(XmlNodeTest, EmptyElementReadsAsParentAndItsLineBreakAsDataWhenReadAgain) {
  CXmlNode root;
  Read(root, std::string(kDeclaration) + "<R><A></A></R>");
  CXmlNode* a = root.GetFirstChild();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->IsParent(), 1);
  EXPECT_EQ(a->GetChildCount(), 0u);
  const std::string written = root.ToXmlBytes();
  EXPECT_EQ(written, std::string(kDeclaration) + "<R>\r\n <A>\r\n </A>\r\n</R>\r\n");
  CXmlNode again;
  Read(again, written);
  ASSERT_NE(again.GetFirstChild(), nullptr);
  EXPECT_EQ(again.GetFirstChild()->IsParent(), 0);
  EXPECT_EQ(again.GetFirstChild()->GetDataWord(), "\r\n ");
}

TEST(XmlNodeTest, ReadingRules) {
  struct Case {
    const char* what;
    std::string document;
    std::vector<std::string> tree;
  };
  const std::string longTag(300, 'T');
  const std::string longText(1000, 'x');
  const Case cases[] = {
      {"a self-closing element keeps its slash",
       "<?xml version=\"1.0\"?><R><A/></R>",
       {"0 R 1 []", "1 A/ 1 []"}},
      {"white space between elements is no data",
       "<?xml?>\r\n<R>\r\n <A>1</A>\r\n <B>\r\n  <C>2</C>\r\n </B>\r\n</R>\r\n",
       {"0 R 1 []", "1 A 0 [1]", "1 B 1 []", "2 C 0 [2]"}},
      {"the five standard entities are unescaped in one pass",
       "<?xml?><R><A>&lt;&gt;&amp;lt;&quot;&apos;&unknown; &</A></R>",
       {"0 R 1 []", "1 A 0 [<>&lt;\"'&unknown; &]"}},
      {"a file without declaration starts with its root",
       "<R><A>x</A></R>",
       {"0 R 1 []", "1 A 0 [x]"}},
      {"CP932 text becomes UTF-8",
       "<?xml?><R><A>\x93\x79\x87\x40</A></R>",
       {"0 R 1 []", "1 A 0 [土①]"}},
      {"tags and texts of any length are kept whole",
       "<R><" + longTag + ">" + longText + "</" + longTag + "></R>",
       {"0 R 1 []", "1 " + longTag + " 0 [" + longText + "]"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CXmlNode root;
    Read(root, c.document);
    EXPECT_EQ(Flatten(root), c.tree);
  }
}

// A nesting of `levels` elements below the root.
std::string Nested(int levels) {
  std::string document = "<?xml?><R>";
  for (int i = 0; i < levels; ++i) document += "<A>";
  document += "x";
  for (int i = 0; i < levels; ++i) document += "</A>";
  return document + "</R>";
}

TEST(XmlNodeTest, RefusesMalformedDocumentsAndKeepsTheNode) {
  struct Case {
    const char* what;
    std::string document;
    const char* error;
  };
  const Case cases[] = {
      {"an empty file", "", "1 行目: 要素がありません。"},
      {"a declaration only", "<?xml?>\r\n", "2 行目: 要素がありません。"},
      {"a file ending inside an element", "<?xml?>\r\n<R>\r\n <A>1</A>\r\n",
       "4 行目: ファイルが要素 <R> の途中で終わっています。"},
      {"a file ending inside a tag", "<?xml?><R><A>1</A",
       "1 行目: ファイルが要素 <A> の途中で終わっています。"},
      {"mismatched tags", "<?xml?>\r\n<R>\r\n<A>1</B>\r\n</R>",
       "3 行目: 終了タグ </B> が開始タグ <A> と対応していません。"},
      {"an end tag first", "<?xml?></R>", "1 行目: 開始タグのない終了タグ </R> があります。"},
      {"an attribute", "<?xml?><R><A x=\"1\">1</A></R>", "1 行目: タグ <A x=\"1\"> は読めません。"},
      {"an empty tag", "<?xml?><R><>1</></R>", "1 行目: タグ <> は読めません。"},
      {"a comment", "<?xml?><R><!-- c --></R>",
       "1 行目: 対応していない構文 <!-- c --> があります。"},
      {"a second instruction", "<?xml?><?pi?><R/>",
       "1 行目: 対応していない構文 <?pi?> があります。"},
      {"text beside child elements", "<?xml?><R>text<A>1</A></R>",
       "1 行目: 要素 <R> に文字列と子要素が混在しています。"},
      {"text after the last child", "<?xml?><R><A>1</A>text</R>",
       "1 行目: 要素 <R> に文字列と子要素が混在しています。"},
      {"a second root", "<?xml?><R/><S/>", "1 行目: ルート要素の後にデータがあります。"},
      {"nesting beyond the bound", Nested(CXmlNode::kMaxClassLevel + 1),
       "1 行目: 要素の入れ子が深すぎます（256 段以上）。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CXmlNode root;
    root.SetTag("KEPT", 1);
    root.AddNodeData("CHILD", "kept");
    EXPECT_FALSE(root.ReadXmlBytes(c.document));
    EXPECT_EQ(root.GetError(), c.error);
    EXPECT_EQ(Flatten(root), (std::vector<std::string>{"0 KEPT 1 []", "1 CHILD 0 [kept]"}));
  }
}

TEST(XmlNodeTest, ReadsNestingUpToTheBound) {
  CXmlNode root;
  Read(root, Nested(CXmlNode::kMaxClassLevel));
  CXmlNode* deepest = root.FindTag("A");
  while (deepest->GetChildCount() > 0) deepest = deepest->GetFirstChild();
  EXPECT_EQ(deepest->GetClassLevel(), CXmlNode::kMaxClassLevel);
  EXPECT_EQ(deepest->GetDataWord(), "x");
}

TEST(XmlNodeTest, MalformedFixturesAreRefused) {
  for (const char* name :
       {"terrain-truncated.xml", "terrain-mismatched.xml", "terrain-nested-300.xml"}) {
    SCOPED_TRACE(name);
    CXmlNode root;
    EXPECT_FALSE(root.OpenXml((fs::path(BRIXO_TEST_DATA) / name).string()));
    EXPECT_FALSE(root.GetError().empty());
    EXPECT_EQ(root.GetChildCount(), 0u);
  }
}

TEST(XmlNodeTest, FileErrorsAreReported) {
  CXmlNode root;
  const fs::path missing = DataDir() / "missing.xml";
  EXPECT_FALSE(root.OpenXml(missing.string()));
  EXPECT_EQ(root.GetError(), "ファイルを読めません: " + missing.string());
  const fs::path plain = DataDir() / "plain";
  WriteFileBytes(plain, "x");
  root.SetTag("R", 1);
  const fs::path inside = plain / "a.xml";
  EXPECT_FALSE(root.FileSave(inside.string()));
  EXPECT_EQ(root.GetError(), "ファイルを書き込めません: " + inside.string());
}

TEST(XmlNodeTest, SplitsDataAtCommas) {
  struct Case {
    const char* data;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"1.5,2.5", {"1.5", "2.5"}}, {"", {}},
      {"1,,2", {"1", "", "2"}},    {",,5.000,", {"", "", "5.000", ""}},
      {" a , b", {" a ", " b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    CXmlNode root;
    root.SetTag("R", 1);
    root.AddNodeData("A", c.data);
    std::vector<std::string> words{"left over"};
    root.FindData("A", words);
    EXPECT_EQ(words, c.words);
  }
}

TEST(XmlNodeTest, FindsInDocumentOrderAndWalksSiblings) {
  CXmlNode root;
  Read(root, "<?xml?><R><A><B>1</B><C>x</C></A><B>2</B><D>y</D><B>3</B><A><B>4</B></A></R>");
  std::string data;
  CXmlNode* first = root.FindData("B", data);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(data, "1");
  EXPECT_EQ(root.FindTag("R"), &root);
  EXPECT_EQ(first->GetTagBrother(), nullptr);  // the only B inside the first A
  EXPECT_EQ(root.FindData("MISSING", data), nullptr);
  EXPECT_EQ(data, "");

  CXmlNode* second = root.GetFirstChild()->GetTagBrother();
  ASSERT_NE(second, nullptr);  // the second A
  EXPECT_EQ(second->GetChildCount(), 1u);
  EXPECT_EQ(second->GetTagBrother(), nullptr);
  data = "stale";
  EXPECT_EQ(root.FindTag("D")->GetBrother(data), nullptr);
  EXPECT_EQ(data, "");
  std::vector<std::string> bs;
  for (CXmlNode* b = root.GetFirstChild(); b != nullptr; b = root.GetNextChild()) {
    if (b->GetTag() == "B") {
      b->GetBrother(data);
      bs.push_back(b->GetDataWord() + ">" + data);
    }
  }
  EXPECT_EQ(bs, (std::vector<std::string>{"2>3", "3>"}));
  EXPECT_EQ(root.GetTagBrother(), nullptr);
}

TEST(XmlNodeTest, LeafLosesItsChildrenAndLevelsCountAncestors) {
  CXmlNode root;
  root.SetTag("R", 1);
  CXmlNode* a = root.AddNodeTag("A");
  CXmlNode* c = a->AddNodeTag("B")->AddNodeTag("C");
  EXPECT_EQ(root.GetClassLevel(), 0);
  EXPECT_EQ(c->GetClassLevel(), 3);
  EXPECT_EQ(c->ToXmlBytes(), std::string(kDeclaration) + "   <C>\r\n   </C>\r\n");
  a->SetTag("LEAF", 0);
  EXPECT_EQ(a->GetChildCount(), 0u);
  EXPECT_EQ(a->GetFirstChild(), nullptr);
  EXPECT_EQ(a->GetTag(), "LEAF");
}

}  // namespace
