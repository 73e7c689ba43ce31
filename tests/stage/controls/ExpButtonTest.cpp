#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include "stage/controls/ExpButton.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

class ExpButtonTest : public testing::Test {
 protected:
  ExpButtonTest() { button_.resize(80, 30); }
  void SetUp() override { ASSERT_TRUE(ShowActive(button_)); }

  CExpButton button_{QStringLiteral("切替")};
};

TEST_F(ExpButtonTest, AToggleFlipsOnEveryClickReleasedInside) {
  button_.m_bToggle = true;
  QSignalSpy clicked(&button_, &QAbstractButton::clicked);
  QTest::mouseClick(&button_, Qt::LeftButton);
  EXPECT_TRUE(button_.m_bCheck);
  // Two quick clicks are two toggles: the double click counts as a second press.
  QTest::mouseClick(&button_, Qt::LeftButton);
  QTest::mouseDClick(&button_, Qt::LeftButton);
  QTest::mouseRelease(&button_, Qt::LeftButton);
  EXPECT_TRUE(button_.m_bCheck);
  EXPECT_EQ(clicked.count(), 3);
  // Released outside, the press is no click.
  QTest::mousePress(&button_, Qt::LeftButton);
  QTest::mouseRelease(&button_, Qt::LeftButton, {}, QPoint(200, 15));
  EXPECT_TRUE(button_.m_bCheck);
}

TEST_F(ExpButtonTest, OnlyClassicAndPictureButtonsToggle) {
  button_.m_bToggle = true;
  for (int style = 0; style <= 7; ++style) {
    button_.m_nStyle = style;
    button_.m_bCheck = false;
    QTest::mouseClick(&button_, Qt::LeftButton);
    EXPECT_EQ(button_.m_bCheck, style == 0 || style == 7) << "style " << style;
  }
  button_.m_bToggle = false;
  button_.m_nStyle = 0;
  button_.m_bCheck = false;
  QTest::mouseClick(&button_, Qt::LeftButton);
  EXPECT_FALSE(button_.m_bCheck);
}

// A picture larger than the button shows its middle; a smaller one sits in the middle and the
// rest of the button stays unpainted; a style beyond 7 paints nothing.
TEST_F(ExpButtonTest, PicturesAreCentredAndUnknownStylesPaintNothing) {
  const auto render = [this] {
    QImage image(button_.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    button_.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
  };
  QImage big(120, 50, QImage::Format_RGB32);
  big.fill(Qt::red);
  QPainter(&big).fillRect(20, 10, 80, 30, Qt::green);  // exactly the part that shows
  button_.m_nStyle = 7;
  button_.m_bmpNormal = QPixmap::fromImage(big);
  QImage shown = render();
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::green));
  EXPECT_EQ(shown.pixelColor(79, 29), QColor(Qt::green));

  QImage small(20, 10, QImage::Format_RGB32);
  small.fill(Qt::blue);
  button_.m_bmpNormal = QPixmap::fromImage(small);
  shown = render();
  EXPECT_EQ(shown.pixelColor(40, 15), QColor(Qt::blue));
  EXPECT_EQ(shown.pixelColor(29, 9), QColor(Qt::black));
  EXPECT_EQ(shown.pixelColor(30, 10), QColor(Qt::blue));

  // Disabled without its own disabled picture, the button keeps the normal one.
  button_.setEnabled(false);
  EXPECT_EQ(render().pixelColor(40, 15), QColor(Qt::blue));

  button_.m_nStyle = 8;
  shown = render();
  EXPECT_EQ(shown.pixelColor(40, 15), QColor(Qt::black));
}

TEST_F(ExpButtonTest, ColoursAreTakenAsColourReferences) {
  button_.m_nStyle = 3;
  button_.m_clrFace = Color{0xFF0000};  // blue as the stored colours write it
  QImage image(button_.size(), QImage::Format_RGB32);
  button_.render(&image);
  EXPECT_EQ(image.pixelColor(40, 4), QColor(0, 0, 255));
}

}  // namespace
