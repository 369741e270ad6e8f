// The platform interfaces of the engine, served by Qt: message boxes, sound,
// text drawn into the game's pixel buffers, the clocks, the event pump, the
// desktop's file and web handlers and the pointer's shape.
#pragma once

#include <QCursor>
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <string>

#include "platform/platform.h"

class QSoundEffect;

namespace varlo {

// QMessageBox with the game's styles and results. The box belongs to the
// window that is active when it is shown (or to the owner given).
class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* owner = nullptr) : owner_(owner) {}
  int32_t ShowMessage(const std::string& text, const std::string& caption,
                      int32_t style) override;

 private:
  QPointer<QWidget> owner_;
};

// Length of a PCM wave file in milliseconds from its header (byte rate and
// data chunk); 0 when the bytes are not a wave file the header describes.
int32_t WaveLengthMs(const uint8_t* data, size_t size);

// Sounds through QSoundEffect, one effect per file, kept for the run. Without
// an audio device nothing is played. Whether a sound still plays is for the
// caller to tell from the clock and the returned length: QSoundEffect's
// playing flag never clears on a machine without audio.
class QtSoundPlayer : public SoundPlayer {
 public:
  QtSoundPlayer();
  ~QtSoundPlayer() override;
  int32_t PlaySoundFile(const std::string& path) override;
  bool HasAudioDevice() const { return hasDevice_; }

 private:
  struct Loaded {
    std::unique_ptr<QSoundEffect> Effect;
    int32_t LengthMs = 0;
  };
  bool hasDevice_ = false;
  std::map<std::string, Loaded> sounds_;
};

// Text into a DIB_P: the DIB's rows are wrapped in a QImage and painted
// through a vertical flip, so no pixels are copied.
class QtTextRenderer : public TextRenderer {
 public:
  void DrawText(DIB_P& target, const XRECT& box, const std::string& text,
                const TextStyle& style) override;
  int32_t TextWidth(const std::string& text, const TextStyle& style) override;
  int32_t TextHeight(const TextStyle& style) override;
};

class QtClock : public Clock {
 public:
  QtClock() { started_.start(); }
  int64_t NowMs() override { return started_.elapsed(); }
  int64_t WallSeconds() override;

 private:
  QElapsedTimer started_;
};

class QtEventPump : public EventPump {
 public:
  void ProcessPendingEvents() override;
};

class QtDesktop : public Desktop {
 public:
  bool OpenUrl(const std::string& url) override;
  bool OpenFile(const std::string& path) override;
  // Opens the help file with the desktop's viewer for it; the topic cannot
  // be passed on to an outside viewer.
  bool ShowHelpTopic(const std::string& helpFile, const std::string& topic) override;
};

// The pointer's shape over one widget. Shapes without a cursor of their
// own (the drag cursors until the skins provide them) use Qt's standard
// cursors.
class QtCursors : public Cursors {
 public:
  explicit QtCursors(QWidget* widget = nullptr) : widget_(widget) {}
  void SetWidget(QWidget* widget) { widget_ = widget; }
  void SetCustomCursor(CursorShape shape, const QCursor& cursor) { custom_[shape] = cursor; }
  void SetCursor(CursorShape shape) override;
  QCursor CursorFor(CursorShape shape) const;

 private:
  QPointer<QWidget> widget_;
  std::map<CursorShape, QCursor> custom_;
};

// All of it in one object, with the engine's Platform record pointing at
// the parts. Create it after the QApplication.
class QtPlatform {
 public:
  explicit QtPlatform(QWidget* cursorWidget = nullptr);
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;

  Platform& platform() { return platform_; }
  QtMessageBoxes& messages() { return messages_; }
  QtSoundPlayer& sounds() { return sounds_; }
  QtTextRenderer& text() { return text_; }
  QtClock& clock() { return clock_; }
  QtCursors& cursors() { return cursors_; }

 private:
  QtMessageBoxes messages_;
  QtSoundPlayer sounds_;
  QtTextRenderer text_;
  QtClock clock_;
  QtEventPump events_;
  QtDesktop desktop_;
  QtCursors cursors_;
  Platform platform_;
};

}  // namespace varlo
