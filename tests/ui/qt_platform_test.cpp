// The Qt side of the platform: text drawn into the game's bottom-up BGR
// buffers lands upright and in its colour, DIBs shown without copies are the
// right way up, wave lengths come from the header, message boxes map the
// game's styles to buttons and answers.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <functional>

#include "platform/qt/dib_image.h"
#include "platform/qt/qt_platform.h"

using namespace varlo;

namespace {

// The rows and columns holding ink (pixels that are not the background).
QRect InkBox(const DIB_P& d, uint32_t background) {
  QRect box;
  for (int y = 0; y < d.Height; ++y)
    for (int x = 0; x < d.Width; ++x)
      if (static_cast<uint32_t>(DibGetPixel(d, x, y)) != background)
        box = box.united(QRect(x, y, 1, 1));
  return box;
}

std::vector<uint8_t> Wave(uint32_t byteRate, uint32_t dataBytes, bool extraChunk) {
  std::vector<uint8_t> w;
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto tag = [&](const char* t) {
    for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(t[i]));
  };
  tag("RIFF");
  put32(0);
  tag("WAVE");
  if (extraChunk) {
    tag("LIST");
    put32(3);  // odd: padded to 4
    w.insert(w.end(), {1, 2, 3, 0});
  }
  tag("fmt ");
  put32(16);
  w.insert(w.end(), {1, 0, 1, 0});  // PCM, mono
  put32(byteRate / 2);              // sample rate
  put32(byteRate);
  w.insert(w.end(), {2, 0, 16, 0});
  tag("data");
  put32(dataBytes);
  w.resize(w.size() + dataBytes, 0);
  return w;
}

// Presses a button of the next message box once it is shown.
void AnswerNextBox(std::function<void(QMessageBox*)> act) {
  QTimer::singleShot(0, [act] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
        act(box);
        return;
      }
  });
}

}  // namespace

class QtPlatformTest : public QObject {
  Q_OBJECT
 private slots:
  void textIsDrawnUprightInItsColourAndBox();
  void endEllipsisKeepsTextInsideTheBox();
  void dibIsShownUprightWithoutCopying();
  void waveLengthFromTheHeader();
  void messageBoxStylesAndAnswers();
};

void QtPlatformTest::textIsDrawnUprightInItsColourAndBox() {
  QtTextRenderer text;
  DIB_P d;
  QVERIFY(DibCreate24(d, 120, 60));
  DibFillRect(d, 0, 0, 120, 60, 0xFFFFFF);
  XRECT box;
  RectSetXYWH(box, 10, 30, 100, 24);
  TextStyle style;
  style.PixelSize = 20;
  style.Bold = true;
  style.Colour = MakeRGB(255, 0, 0);
  text.DrawText(d, box, "T", style);
  const QRect ink = InkBox(d, 0xFFFFFF);
  QVERIFY(!ink.isEmpty());
  QVERIFY(ink.top() >= 30 && ink.bottom() <= 53);
  QVERIFY(ink.left() >= 10);
  // A "T" is wide at its top and narrow at its foot: upright, not mirrored.
  auto rowWidth = [&](int y) {
    int n = 0;
    for (int x = 0; x < d.Width; ++x) n += DibGetPixel(d, x, y) != 0xFFFFFF;
    return n;
  };
  QVERIFY(rowWidth(ink.top() + 1) > 2 * rowWidth(ink.bottom() - 1));
  // The strongest ink is pure red: blue and green bytes stay low.
  const uint8_t* p = DibPixel(d, ink.center().x(), ink.bottom() - 1);
  QVERIFY(p[2] > 200 && p[1] < 60 && p[0] < 60);
  QVERIFY(text.TextWidth("TTTT", style) > 3 * text.TextWidth("T", style));
  QVERIFY(text.TextHeight(style) >= 20);
}

void QtPlatformTest::endEllipsisKeepsTextInsideTheBox() {
  QtTextRenderer text;
  DIB_P d;
  QVERIFY(DibCreate24(d, 200, 30));
  DibFillRect(d, 0, 0, 200, 30, 0);
  XRECT box;
  RectSetXYWH(box, 20, 0, 60, 30);
  TextStyle style;
  style.Colour = 0xFFFFFF;
  style.EndEllipsis = true;
  text.DrawText(d, box, "A caption much too long for its little box", style);
  const QRect ink = InkBox(d, 0);
  QVERIFY(!ink.isEmpty());
  QVERIFY(ink.left() >= 20 && ink.right() <= 79);
}

void QtPlatformTest::dibIsShownUprightWithoutCopying() {
  DIB_P d;
  QVERIFY(DibCreate24(d, 8, 4));
  DibFillRect(d, 0, 0, 8, 4, MakeRGB(0, 0, 255));
  DibFillRect(d, 0, 0, 8, 1, MakeRGB(255, 0, 0));  // top row red
  const QImage raw = DibRawImage(d);
  QCOMPARE(static_cast<const void*>(raw.constBits()), static_cast<const void*>(d.Bits));
  QImage shown(8, 4, QImage::Format_RGB32);
  {
    QPainter p(&shown);
    PaintDib(p, 0, 0, d);
  }
  QCOMPARE(shown.pixel(3, 0), qRgb(255, 0, 0));
  QCOMPARE(shown.pixel(3, 3), qRgb(0, 0, 255));
  const QImage copy = DibToImage(d);
  QCOMPARE(copy.pixel(0, 0), qRgb(255, 0, 0));
  DIB_P back;
  QVERIFY(ImageToDib(copy, back));
  QCOMPARE(DibGetPixel(back, 5, 0), int32_t(MakeRGB(255, 0, 0)));
  QCOMPARE(DibGetPixel(back, 5, 2), int32_t(MakeRGB(0, 0, 255)));
}

void QtPlatformTest::waveLengthFromTheHeader() {
  struct Case {
    std::vector<uint8_t> bytes;
    int32_t ms;
  } cases[] = {
      {Wave(88200, 44100, false), 500},
      {Wave(88200, 88200, true), 1000},  // chunks before fmt, odd size padded
      {Wave(0, 100, false), 0},          // no byte rate
      {{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}, 0},
  };
  for (const Case& c : cases) QCOMPARE(WaveLengthMs(c.bytes.data(), c.bytes.size()), c.ms);
  // A data chunk cut short counts what is there.
  std::vector<uint8_t> cut = Wave(1000, 1000, false);
  cut.resize(cut.size() - 500);
  QCOMPARE(WaveLengthMs(cut.data(), cut.size()), 500);
  // A chunk claiming more than the file ends the walk.
  std::vector<uint8_t> bad = Wave(1000, 10, false);
  bad[16] = 0xFF;
  bad[17] = 0xFF;
  bad[18] = 0xFF;
  bad[19] = 0x7F;
  QCOMPARE(WaveLengthMs(bad.data(), bad.size()), 0);
}

void QtPlatformTest::messageBoxStylesAndAnswers() {
  QtMessageBoxes boxes;
  struct Case {
    int32_t style;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton press;  // NoButton: closed without a choice
    int32_t result;
  } cases[] = {
      {kMsgExclamationOk, QMessageBox::Ok, QMessageBox::Ok, kMsgOk},
      {kMsgInformationOk, QMessageBox::Ok, QMessageBox::NoButton, kMsgOk},
      {kMsgQuestionOkCancel, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, kMsgOk},
      {kMsgQuestionOkCancel, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoButton, kMsgCancel},
      {kMsgQuestionYesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, kMsgYes},
      {kMsgQuestionYesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton, kMsgNo},
      {kMsgQuestionYesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
       QMessageBox::No, kMsgNo},
      {kMsgQuestionYesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
       QMessageBox::NoButton, kMsgCancel},
  };
  for (const Case& c : cases) {
    QMessageBox::StandardButtons seen;
    QString caption, body;
    AnswerNextBox([&](QMessageBox* box) {
      seen = box->standardButtons();
      caption = box->windowTitle();
      body = box->text();
      if (c.press == QMessageBox::NoButton)
        box->reject();  // as closing the box's window does
      else
        box->button(c.press)->click();
    });
    QCOMPARE(boxes.ShowMessage("Line one\r\nLine two", "Varlo Jigsaw USA Edition", c.style),
             c.result);
    QCOMPARE(seen, c.buttons);
    QCOMPARE(caption, QString("Varlo Jigsaw USA Edition"));
    QCOMPARE(body, QString("Line one\nLine two"));
  }
}

QTEST_MAIN(QtPlatformTest)
#include "qt_platform_test.moc"
