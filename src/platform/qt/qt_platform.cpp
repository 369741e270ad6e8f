#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QMessageBox>
#include <QSoundEffect>
#include <QUrl>

#include <algorithm>
#include <cstring>

#include "raster/byte_io.h"
#include "platform/qt/dib_image.h"

namespace varlo {

// ---- message boxes ----

int32_t QtMessageBoxes::ShowMessage(const std::string& text, const std::string& caption,
                                    int32_t style) {
  QWidget* owner = owner_ ? owner_.data() : QApplication::activeWindow();
  QMessageBox box(owner);
  box.setWindowTitle(QString::fromStdString(caption));
  QString body = QString::fromStdString(text);
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  box.setText(body);

  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  QMessageBox::StandardButton escape = QMessageBox::Ok;
  switch (style) {
    case kMsgExclamationOk:
      box.setIcon(QMessageBox::Warning);
      break;
    case kMsgInformationOk:
      box.setIcon(QMessageBox::Information);
      break;
    case kMsgQuestionOkCancel:
      box.setIcon(QMessageBox::Question);
      buttons = QMessageBox::Ok | QMessageBox::Cancel;
      escape = QMessageBox::Cancel;
      break;
    case kMsgQuestionYesNo:
      box.setIcon(QMessageBox::Question);
      buttons = QMessageBox::Yes | QMessageBox::No;
      escape = QMessageBox::No;
      break;
    case kMsgQuestionYesNoCancel:
      box.setIcon(QMessageBox::Question);
      buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      escape = QMessageBox::Cancel;
      break;
    default:
      break;
  }
  box.setStandardButtons(buttons);
  box.setDefaultButton((buttons & QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok);
  box.setEscapeButton(escape);
  box.exec();

  // A box closed through its frame reports the escape button.
  QAbstractButton* clicked = box.clickedButton();
  const QMessageBox::StandardButton pressed =
      clicked ? box.standardButton(clicked) : escape;
  switch (pressed) {
    case QMessageBox::Ok:
      return kMsgOk;
    case QMessageBox::Cancel:
      return kMsgCancel;
    case QMessageBox::Yes:
      return kMsgYes;
    case QMessageBox::No:
      return kMsgNo;
    default:
      return escape == QMessageBox::Cancel ? kMsgCancel
             : escape == QMessageBox::No   ? kMsgNo
                                           : kMsgOk;
  }
}

// ---- sound ----

int32_t WaveLengthMs(const uint8_t* data, size_t size) {
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
    return 0;
  uint32_t byteRate = 0;
  size_t pos = 12;
  while (pos + 8 <= size) {
    const uint32_t chunkSize = GetU32(data + pos + 4);
    const uint8_t* body = data + pos + 8;
    const size_t available = size - pos - 8;
    if (std::memcmp(data + pos, "fmt ", 4) == 0) {
      if (chunkSize < 16 || available < 16) return 0;
      byteRate = GetU32(body + 8);
    } else if (std::memcmp(data + pos, "data", 4) == 0) {
      if (byteRate == 0) return 0;
      // A data chunk cut short plays only as far as it goes.
      const uint64_t bytes = std::min<uint64_t>(chunkSize, available);
      return static_cast<int32_t>(std::min<uint64_t>(bytes * 1000 / byteRate, INT32_MAX));
    }
    // Chunks are padded to an even length.
    const uint64_t next = static_cast<uint64_t>(pos) + 8 + chunkSize + (chunkSize & 1);
    if (next > size) return 0;
    pos = static_cast<size_t>(next);
  }
  return 0;
}

QtSoundPlayer::QtSoundPlayer() { hasDevice_ = !QMediaDevices::audioOutputs().isEmpty(); }

QtSoundPlayer::~QtSoundPlayer() = default;

int32_t QtSoundPlayer::PlaySoundFile(const std::string& path) {
  auto it = sounds_.find(path);
  if (it == sounds_.end()) {
    Loaded loaded;
    QFile file(QString::fromStdString(path));
    // Wave files of the game are small; anything huge is not one of them.
    if (file.open(QIODevice::ReadOnly) && file.size() <= (64 << 20)) {
      const QByteArray all = file.readAll();
      loaded.LengthMs = WaveLengthMs(reinterpret_cast<const uint8_t*>(all.constData()),
                                     static_cast<size_t>(all.size()));
    }
    if (hasDevice_ && loaded.LengthMs > 0) {
      loaded.Effect = std::make_unique<QSoundEffect>();
      loaded.Effect->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    }
    it = sounds_.emplace(path, std::move(loaded)).first;
  }
  Loaded& s = it->second;
  if (s.Effect && s.Effect->status() != QSoundEffect::Error) {
    s.Effect->stop();
    s.Effect->play();
  }
  return s.LengthMs;
}

// ---- text ----

namespace {

QFont FontOf(const TextStyle& style) {
  QFont font(QString::fromStdString(style.Font));
  font.setPixelSize(style.PixelSize > 0 ? style.PixelSize : 12);
  font.setBold(style.Bold);
  return font;
}

}  // namespace

void QtTextRenderer::DrawText(DIB_P& target, const XRECT& box, const std::string& text,
                              const TextStyle& style) {
  QImage raw = DibRawImage(target);
  if (raw.isNull() || box.Width <= 0 || box.Height <= 0 || text.empty()) return;
  const QFont font = FontOf(style);
  const QFontMetrics metrics(font);
  QString line = QString::fromStdString(text);
  if (style.EndEllipsis) line = metrics.elidedText(line, Qt::ElideRight, box.Width);

  QPainter painter(&raw);
  // Upright coordinates on the bottom-up rows.
  painter.translate(0, target.Height);
  painter.scale(1.0, -1.0);
  const QRect rect(box.Left, box.Top, box.Width, box.Height);
  painter.setClipRect(rect);
  painter.setFont(font);
  painter.setPen(ColourToQColor(style.Colour));
  int align = Qt::AlignVCenter | Qt::TextSingleLine;
  switch (style.HAlign) {
    case TextStyle::Left:
      align |= Qt::AlignLeft;
      break;
    case TextStyle::Centre:
      align |= Qt::AlignHCenter;
      break;
    case TextStyle::Right:
      align |= Qt::AlignRight;
      break;
  }
  painter.drawText(rect, align, line);
}

int32_t QtTextRenderer::TextWidth(const std::string& text, const TextStyle& style) {
  return QFontMetrics(FontOf(style)).horizontalAdvance(QString::fromStdString(text));
}

int32_t QtTextRenderer::TextHeight(const TextStyle& style) {
  return QFontMetrics(FontOf(style)).height();
}

// ---- clock, events, desktop ----

int64_t QtClock::WallSeconds() { return QDateTime::currentSecsSinceEpoch(); }

void QtEventPump::ProcessPendingEvents() { QCoreApplication::processEvents(); }

bool QtDesktop::OpenUrl(const std::string& url) {
  return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

bool QtDesktop::OpenFile(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool QtDesktop::ShowHelpTopic(const std::string& helpFile, const std::string& /*topic*/) {
  if (helpFile.empty() || !QFileInfo::exists(QString::fromStdString(helpFile))) return false;
  return OpenFile(helpFile);
}

// ---- cursors ----

QCursor QtCursors::CursorFor(CursorShape shape) const {
  if (auto it = custom_.find(shape); it != custom_.end()) return it->second;
  switch (shape) {
    case CursorShape::Arrow:
      return QCursor(Qt::ArrowCursor);
    case CursorShape::Wait:
      return QCursor(Qt::WaitCursor);
    case CursorShape::Hand:
      return QCursor(Qt::PointingHandCursor);
    case CursorShape::DragOne:
      return QCursor(Qt::ClosedHandCursor);
    case CursorShape::DragGroup:
      return QCursor(Qt::SizeAllCursor);
    case CursorShape::DragWeight:
      return QCursor(Qt::DragMoveCursor);
    case CursorShape::Cross:
      return QCursor(Qt::CrossCursor);
    case CursorShape::SizeHorizontal:
      return QCursor(Qt::SizeHorCursor);
    case CursorShape::SizeVertical:
      return QCursor(Qt::SizeVerCursor);
    case CursorShape::SizeDiagonalDown:
      return QCursor(Qt::SizeFDiagCursor);
    case CursorShape::SizeDiagonalUp:
      return QCursor(Qt::SizeBDiagCursor);
  }
  return QCursor(Qt::ArrowCursor);
}

void QtCursors::SetCursor(CursorShape shape) {
  if (widget_) widget_->setCursor(CursorFor(shape));
}

// ---- the whole platform ----

QtPlatform::QtPlatform(QWidget* cursorWidget) : cursors_(cursorWidget) {
  platform_.Messages = &messages_;
  platform_.Sounds = &sounds_;
  platform_.Text = &text_;
  platform_.Time = &clock_;
  platform_.Events = &events_;
  platform_.Shell = &desktop_;
  platform_.Pointer = &cursors_;
}

}  // namespace varlo
