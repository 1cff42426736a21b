#include "platform/host.h"

#include "platform/message_style.h"

namespace korvath {

int DefaultMessageResult(unsigned style) {
    switch (style & MessageStyle::ButtonMask) {
        case MessageStyle::YesNo:
        case MessageStyle::YesNoCancel: return MessageResult::Yes;
        case MessageStyle::AbortRetryIgnore: return MessageResult::Abort;
        case MessageStyle::RetryCancel: return MessageResult::Retry;
        default: return MessageResult::Ok;
    }
}

}  // namespace korvath
