// What the engine asks of the desktop.
//
// The engine never talks to a window system itself. Where it needs the
// desktop (a message box, a sound, text drawn into a pixel buffer, the time,
// keeping the window painted during long work, opening a web page, the help,
// the pointer's shape) it calls one of these small interfaces. The Qt game
// implements them; tests use the recording fake in tests/support.
#pragma once

#include <cstdint>
#include <string>

#include "raster/dib.h"
#include "raster/rect.h"

namespace varlo {

// Message box styles and results, numbered as the game's texts and saved
// settings have always used them.
enum MsgStyle : int32_t {
  kMsgExclamationOk = 48,
  kMsgInformationOk = 64,
  kMsgQuestionOkCancel = 33,
  kMsgQuestionYesNo = 36,
  kMsgQuestionYesNoCancel = 35,
};
enum MsgResult : int32_t {
  kMsgOk = 1,
  kMsgCancel = 2,
  kMsgYes = 6,
  kMsgNo = 7,
};

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows text with the program title as caption; returns the pressed
  // button. A box closed without a choice answers Cancel where it has one,
  // else No, else OK.
  virtual int32_t ShowMessage(const std::string& text, const std::string& caption,
                              int32_t style) = 0;
};

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // Starts the wave file and returns at once. Failures (no file, no audio
  // device) are silent. Returns the sound's length in milliseconds when it
  // is known, else 0, so that callers can tell "still playing" by the clock.
  virtual int32_t PlaySoundFile(const std::string& path) = 0;
};

struct TextStyle {
  std::string Font = "Liberation Sans";
  int32_t PixelSize = 12;
  bool Bold = false;
  uint32_t Colour = 0;  // packed red + green * 256 + blue * 65536
  bool EndEllipsis = false;  // cut with "..." when it does not fit the box
  enum Align { Left, Centre, Right } HAlign = Left;
};

class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  // Draws one line of UTF-8 text into box (clipped to it and to the bitmap),
  // vertically centred.
  virtual void DrawText(DIB_P& target, const XRECT& box, const std::string& text,
                        const TextStyle& style) = 0;
  virtual int32_t TextWidth(const std::string& text, const TextStyle& style) = 0;
  virtual int32_t TextHeight(const TextStyle& style) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds of a steady clock; only differences mean anything.
  virtual int64_t NowMs() = 0;
  // Wall-clock time as seconds since 1970, for autosave and file times.
  virtual int64_t WallSeconds() = 0;
};

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Lets the window system repaint and handle input during long work.
  virtual void ProcessPendingEvents() = 0;
};

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual bool OpenUrl(const std::string& url) = 0;
  virtual bool OpenFile(const std::string& path) = 0;
  virtual bool ShowHelpTopic(const std::string& helpFile, const std::string& topic) = 0;
};

enum class CursorShape {
  Arrow, Wait, Hand, DragOne, DragGroup, DragWeight, Cross,
  // The sizing shapes over a play window's edges and corners.
  SizeHorizontal, SizeVertical, SizeDiagonalDown, SizeDiagonalUp
};

class Cursors {
 public:
  virtual ~Cursors() = default;
  virtual void SetCursor(CursorShape shape) = 0;
};

// The whole platform as the engine sees it. Each member is owned elsewhere
// (by the Qt app, or by a test) and must outlive the engine objects that
// were handed this record.
struct Platform {
  MessageBoxes* Messages = nullptr;
  SoundPlayer* Sounds = nullptr;
  TextRenderer* Text = nullptr;
  Clock* Time = nullptr;
  EventPump* Events = nullptr;
  Desktop* Shell = nullptr;
  Cursors* Pointer = nullptr;
};

}  // namespace varlo
