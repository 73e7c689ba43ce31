#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <vector>

#include "platform/qt/LookAndFeel.h"
#include "stage/controls/ExpStatic.h"

namespace {

using Kind = MarkupSegment::Kind;

TEST(ExpStaticTest, MarkupSplitsIntoRaisedLoweredAndNormalSegments) {
  const struct {
    const char* caption;
    std::vector<MarkupSegment> segments;
  } cases[] = {
      {"m{^3}", {{Kind::kNormal, "m"}, {Kind::kSuperscript, "3"}}},
      {"τ{_p}", {{Kind::kNormal, "τ"}, {Kind::kSubscript, "p"}}},
      {"a{^2", {{Kind::kNormal, "a"}, {Kind::kSuperscript, "2"}}},
      {"{_x}", {{Kind::kSubscript, "x"}}},
      {"kN/m{^2}・{_s}t",
       {{Kind::kNormal, "kN/m"},
        {Kind::kSuperscript, "2"},
        {Kind::kNormal, "・"},
        {Kind::kSubscript, "s"},
        {Kind::kNormal, "t"}}},
      {"plain", {{Kind::kNormal, "plain"}}},
      {"", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitMarkup(QString::fromUtf8(c.caption)), c.segments) << c.caption;
  }
}

TEST(ExpStaticTest, TheFontChangesOnlyWhenFlagged) {
  CExpStatic label(QStringLiteral("γt"));
  label.resize(60, 20);
  const int before = QFontInfo(label.font()).pixelSize();
  label.m_lf.setPixelSize(before * 2);
  QImage image(label.size(), QImage::Format_RGB32);
  label.render(&image);
  EXPECT_EQ(QFontInfo(label.font()).pixelSize(), before);
  label.m_bFontChanged = true;
  label.render(&image);
  EXPECT_EQ(QFontInfo(label.font()).pixelSize(), before * 2);
  EXPECT_FALSE(label.m_bFontChanged);
}

TEST(ExpStaticTest, LabelsSpeakTheJapaneseFaceEvenWhenAskedForAWindowsFace) {
  CExpStatic label(QStringLiteral("土質定数"));
  EXPECT_EQ(QFontInfo(label.font()).family(), kUiFontFamily);
  label.m_lf = QFont(QStringLiteral("ＭＳ ゴシック"));
  label.m_bFontChanged = true;
  QImage image(80, 20, QImage::Format_RGB32);
  label.render(&image);
  EXPECT_EQ(QFontInfo(label.font()).family(), kUiFontFamily);
}

TEST(ExpStaticTest, TheBackgroundAndFrameFollowTheMembers) {
  CExpStatic label(QStringLiteral("x"));
  label.resize(40, 20);
  label.m_clrBrush = Color{0xB8FFFF};
  label.m_bFrame = true;
  QImage image(label.size(), QImage::Format_RGB32);
  label.render(&image);
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(2, 2), QColor(255, 255, 184));
}

}  // namespace
