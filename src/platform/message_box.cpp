#include "platform/message_box.h"

#include <string>

#include "platform/product.h"

namespace varlo {

int32_t ClosedAnswer(int32_t style) {
  switch (style) {
    case kMsgQuestionOkCancel:
    case kMsgQuestionYesNoCancel:
      return kMsgCancel;
    case kMsgQuestionYesNo:
      return kMsgNo;
    default:
      return kMsgOk;
  }
}

int32_t ShowGameMessage(const Platform& platform, std::string_view text, int32_t style) {
  if (!platform.Messages) return ClosedAnswer(style);
  return platform.Messages->ShowMessage(std::string(text), kProductTitle, style);
}

}  // namespace varlo
