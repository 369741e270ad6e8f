// A recording stand-in for the desktop: every call is logged as one line of
// text, message boxes are answered from a script, the clock is set by hand.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace varlo::testing {

class FakePlatform : public MessageBoxes,
                     public SoundPlayer,
                     public TextRenderer,
                     public Clock,
                     public EventPump,
                     public Desktop,
                     public Cursors {
 public:
  FakePlatform();

  // The whole platform record, pointing at this fake.
  Platform& platform() { return platform_; }

  // ---- script and record ----
  // Answers for the next message boxes, in order. When the script runs dry
  // a box answers OK for the OK-only styles and fails the test otherwise,
  // since an unexpected question is a fault of the code under test.
  void QueueAnswer(int32_t result) { answers_.push_back(result); }
  struct ShownMessage {
    std::string text, caption;
    int32_t style;
  };
  std::vector<ShownMessage> messages;
  std::vector<std::string> sounds;       // paths, in play order
  std::vector<std::string> log;          // one line per call of any kind
  std::vector<std::string> openedUrls;
  std::vector<std::string> openedFiles;
  std::vector<std::string> helpTopics;
  std::vector<CursorShape> cursors;
  int32_t pendingEventCalls = 0;
  int32_t soundLengthMs = 200;  // what PlaySoundFile reports

  // ---- clock ----
  int64_t nowMs = 0;
  int64_t wallSeconds = 1700000000;
  void Advance(int64_t ms) { nowMs += ms; wallSeconds += ms / 1000; }

  // ---- interfaces ----
  int32_t ShowMessage(const std::string& text, const std::string& caption, int32_t style) override;
  int32_t PlaySoundFile(const std::string& path) override;
  // Text comes out as one filled 5 x 7 block per visible character on a
  // 6-pixel pitch, so tests can see where and how wide a caption landed.
  void DrawText(DIB_P& target, const XRECT& box, const std::string& text,
                const TextStyle& style) override;
  int32_t TextWidth(const std::string& text, const TextStyle& style) override;
  int32_t TextHeight(const TextStyle& style) override;
  int64_t NowMs() override { return nowMs; }
  int64_t WallSeconds() override { return wallSeconds; }
  void ProcessPendingEvents() override;
  bool OpenUrl(const std::string& url) override;
  bool OpenFile(const std::string& path) override;
  bool ShowHelpTopic(const std::string& helpFile, const std::string& topic) override;
  void SetCursor(CursorShape shape) override;

 private:
  std::deque<int32_t> answers_;
  Platform platform_;
};

}  // namespace varlo::testing
