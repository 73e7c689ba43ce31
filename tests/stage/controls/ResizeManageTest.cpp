#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "stage/controls/ResizeManage.h"
#include "stage/controls/StageDialog.h"

namespace {

TEST(ResizeManageTest, AnchoredControlsFollowTheChangeOfSize) {
  QWidget dialog;
  dialog.setGeometry(0, 0, 300, 200);
  const struct {
    bool moveX, moveY, sizeX, sizeY;
    QRect after;  // of a control at (10, 20, 100, 50) once the dialog grew by (30, 40)
  } cases[] = {
      {false, false, false, true, QRect(10, 20, 100, 90)},
      {false, true, false, false, QRect(10, 60, 100, 50)},
      {true, false, true, false, QRect(40, 20, 130, 50)},
      {false, false, false, false, QRect(10, 20, 100, 50)},
  };
  CResizeManage manage;
  manage.m_rcBase = dialog.geometry();
  std::vector<QWidget*> controls;
  for (const auto& c : cases) {
    auto* control = new QWidget(&dialog);
    control->setGeometry(10, 20, 100, 50);
    manage.Add(control, c.moveX, c.moveY, c.sizeX, c.sizeY, false);
    controls.push_back(control);
  }
  manage.Resize(QRect(0, 0, 330, 240));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    EXPECT_EQ(controls[i]->geometry(), cases[i].after) << i;
  }
  // Shrinking works alike, and a control that is gone is skipped.
  delete controls[1];
  manage.Resize(QRect(0, 0, 300, 180));
  EXPECT_EQ(controls[0]->geometry(), QRect(10, 20, 100, 30));
  manage.RemoveAll();
  EXPECT_TRUE(manage.m_list.empty());
}

TEST(ResizeManageTest, TheDialogStaysWithinItsTrackingSizes) {
  QWidget dialog;
  CResizeManage manage;
  manage.m_ptMinTrack = QPoint(200, 150);
  manage.ApplyTrackLimits(dialog);
  dialog.resize(100, 100);
  EXPECT_EQ(dialog.size(), QSize(200, 150));
  dialog.resize(5000, 5000);
  EXPECT_EQ(dialog.size(), QSize(2000, 1000));  // the default largest size
}

TEST(ResizeManageTest, TrackLimitsOfADialogAreRelativeToItsFirstLayout) {
  StageDialog dialog;
  dialog.resize(320, 400);
  dialog.SetTrackLimits(0, -210, 0, 1000);
  EXPECT_EQ(dialog.minimumSize(), QSize(320, 190));
  EXPECT_EQ(dialog.maximumSize(), QSize(320, 1400));
}

TEST(ResizeManageTest, FolderOfAPathCutsAtEitherSeparator) {
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {{"C:\\a\\b.txt", "C:\\a"},    {"b.txt", "b.txt"},      {"C:\\a\\", "C:\\a"},
               {"/home/u/b.txt", "/home/u"}, {"/home/u/", "/home/u"}, {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(GetFolderOfPath(c.path), c.folder) << c.path;
}

TEST(ResizeManageTest, TextGoesToTheClipboard) {
  EXPECT_TRUE(CopyTextToClipboard("No\t1\n2\t1.25\n"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "No\t1\n2\t1.25\n");
  EXPECT_TRUE(CopyTextToClipboard(""));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
}

TEST(ResizeManageTest, APictureIsCutToItsItem) {
  QWidget dialog;
  auto* item = new QLabel(&dialog);
  SetId(item, 4240);
  item->resize(50, 30);
  QImage picture(80, 20, QImage::Format_RGB32);
  picture.fill(Qt::red);
  QPainter(&picture).fillRect(0, 0, 10, 10, Qt::blue);
  DrawItemBitmap(dialog, 4240, QPixmap::fromImage(picture));
  const QImage shown = item->pixmap().toImage();
  EXPECT_EQ(shown.size(), QSize(50, 20));
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::blue));
  EXPECT_EQ(shown.pixelColor(49, 19), QColor(Qt::red));
}

}  // namespace
