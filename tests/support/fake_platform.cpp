#include "support/fake_platform.h"

#include <gtest/gtest.h>

namespace varlo::testing {

namespace {
// Counts UTF-8 code points, leaving out continuation bytes.
int32_t CodePoints(const std::string& text) {
  int32_t n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}
}  // namespace

FakePlatform::FakePlatform() {
  platform_.Messages = this;
  platform_.Sounds = this;
  platform_.Text = this;
  platform_.Time = this;
  platform_.Events = this;
  platform_.Shell = this;
  platform_.Pointer = this;
}

int32_t FakePlatform::ShowMessage(const std::string& text, const std::string& caption,
                                  int32_t style) {
  messages.push_back({text, caption, style});
  log.push_back("message " + std::to_string(style) + " " + text);
  if (!answers_.empty()) {
    int32_t answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  if (style == kMsgExclamationOk || style == kMsgInformationOk) return kMsgOk;
  ADD_FAILURE() << "unexpected question (style " << style << "): " << text;
  return style == kMsgQuestionYesNo ? kMsgNo : kMsgCancel;
}

int32_t FakePlatform::PlaySoundFile(const std::string& path) {
  sounds.push_back(path);
  log.push_back("sound " + path);
  return soundLengthMs;
}

void FakePlatform::DrawText(DIB_P& target, const XRECT& box, const std::string& text,
                            const TextStyle& style) {
  log.push_back("text " + text);
  const int32_t width = TextWidth(text, style);
  int32_t x = box.Left;
  if (style.HAlign == TextStyle::Centre) x = box.Left + (box.Width - width) / 2;
  if (style.HAlign == TextStyle::Right) x = box.Right + 1 - width;
  const int32_t y = box.Top + (box.Height - 7) / 2;
  for (unsigned char c : text) {
    if ((c & 0xC0) == 0x80) continue;
    if (c != ' ') {
      for (int32_t row = 0; row < 7; ++row)
        for (int32_t col = 0; col < 5; ++col) {
          const int32_t px = x + col, py = y + row;
          if (RectContains(box, px, py) && px >= 0 && py >= 0 && px < target.Width &&
              py < target.Height)
            DibSetPixel(target, px, py, style.Colour);
        }
    }
    x += 6;
  }
}

int32_t FakePlatform::TextWidth(const std::string& text, const TextStyle&) {
  return CodePoints(text) * 6;
}

int32_t FakePlatform::TextHeight(const TextStyle&) { return 7; }

void FakePlatform::ProcessPendingEvents() { ++pendingEventCalls; }

bool FakePlatform::OpenUrl(const std::string& url) {
  openedUrls.push_back(url);
  log.push_back("url " + url);
  return true;
}

bool FakePlatform::OpenFile(const std::string& path) {
  openedFiles.push_back(path);
  log.push_back("open " + path);
  return true;
}

bool FakePlatform::ShowHelpTopic(const std::string& helpFile, const std::string& topic) {
  helpTopics.push_back(topic);
  log.push_back("help " + helpFile + " " + topic);
  return true;
}

void FakePlatform::SetCursor(CursorShape shape) {
  cursors.push_back(shape);
  log.push_back("cursor " + std::to_string(static_cast<int>(shape)));
}

}  // namespace varlo::testing
