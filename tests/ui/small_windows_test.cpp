// The quick help on the offscreen platform: the two wheel pictures show the
// two turning directions, and a long check box caption moves Close below it
// instead of widening the window.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <string>

#include "support/temp_home.h"
#include "ui/lang.h"
#include "ui/qt/small_windows.h"

using namespace varlo;

namespace {

QImage Face(int) {
  QImage img(29, 29, QImage::Format_RGB32);
  img.fill(QColor(120, 140, 160));
  return img;
}

// Rows of a picture holding the red of the marks, from the top.
std::vector<int> MarkedRows(const QImage& img) {
  std::vector<int> rows;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QColor c = img.pixelColor(x, y);
      if (c.alpha() > 128 && c.red() > 180 && c.green() < 120 && c.blue() < 110) {
        rows.push_back(y);
        break;
      }
    }
  return rows;
}

// English texts with the check box captioned `caption`.
void LoadWithCaption(LANG_P& lang, const testing::TempDir& dir, const std::string& caption) {
  std::string text = testing::ReadFile(std::string(VARLO_SOURCE_DIR) + "/data/language/english.lng");
  const size_t at = text.find("<CB_Show>");
  QVERIFY(at != std::string::npos);
  const size_t end = text.find_first_of("\r\n", at);
  text.replace(at, end - at, "<CB_Show> " + caption);
  const std::string path = dir.path() + "english.lng";
  testing::WriteFile(path, text);
  static const Platform kPlatform;
  QVERIFY(LangLoad(lang, kPlatform, path));
}

}  // namespace

class SmallWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void wheelPicturesShowTheTurningDirection() {
    TF_Help help(nullptr, Face);
    const auto* cw = help.findChild<QLabel*>("I_Wheel");    // clockwise: wheel down
    const auto* ccw = help.findChild<QLabel*>("I_Wheel1");  // counter-clockwise: wheel up
    QVERIFY(cw && ccw);
    const QImage down = cw->pixmap().toImage(), up = ccw->pixmap().toImage();
    QVERIFY(down != up);
    // Beside the mouse, the arrow's head is at the top for up and at the
    // bottom for down: the lowest marked row of the arrow column differs.
    const QImage mouse = MousePicture(2);
    auto arrowRows = [&](const QImage& img) {
      return MarkedRows(img.copy(mouse.width(), 0, img.width() - mouse.width(), img.height()));
    };
    const std::vector<int> upRows = arrowRows(up), downRows = arrowRows(down);
    QVERIFY(!upRows.empty() && !downRows.empty());
    QVERIFY(upRows.front() < downRows.front());
    QVERIFY(upRows.back() < downRows.back());
  }

  void longCheckBoxCaptionPutsCloseBelowIt() {
    testing::TempDir dir;
    LANG_P lang;
    TF_Help help(nullptr, Face);
    LoadWithCaption(lang, dir, "Show this box at start");
    help.ApplyTexts(lang);
    help.show();
    QVERIFY(!help.CloseBelowCheckBox());
    const QSize shortSize = help.size();
    QCheckBox* box = help.ShowAtStart();
    QPushButton* close = help.CloseButton();
    QCOMPARE(close->geometry().center().y(), box->geometry().center().y());

    // A caption too long to stand beside Close, yet narrower than the panel.
    const int panelW = help.Panel()->width();
    std::string caption = "Show";
    const std::string words[] = {" this", " quick", " help", " window", " every", " time", " the",
                                 " game", " starts", " up", " again", " please"};
    for (const std::string& w : words) {
      if (box->fontMetrics().horizontalAdvance(QString::fromStdString(caption + w)) + 18 > panelW - 24)
        break;
      caption += w;
    }
    QVERIFY(box->fontMetrics().horizontalAdvance(QString::fromStdString(caption)) + 18 >
            panelW - close->width() - 16);
    LoadWithCaption(lang, dir, caption);
    help.ApplyTexts(lang);
    QVERIFY(help.CloseBelowCheckBox());
    QCOMPARE(help.width(), shortSize.width());
    QVERIFY(help.height() > shortSize.height());
    QVERIFY(close->geometry().top() > box->geometry().bottom());
    QVERIFY(box->width() >= box->sizeHint().width());

    // Back to a short caption: Close beside it again.
    LoadWithCaption(lang, dir, "Show at start");
    help.ApplyTexts(lang);
    QVERIFY(!help.CloseBelowCheckBox());
    QCOMPARE(help.size(), shortSize);
  }
};

QTEST_MAIN(SmallWindowsTest)
#include "small_windows_test.moc"
