// A failure of the hosts' common parts. It carries its message with the values
// apart, so that each host can say it in its user's language; what() is the
// English text.
#pragma once

#include <stdexcept>
#include <utility>

#include "platform/message.h"

namespace jc {

class HostError : public std::runtime_error {
 public:
  explicit HostError(Message message)
      : std::runtime_error(message.text()), message_(std::move(message)) {}
  const Message& message() const { return message_; }

 private:
  Message message_;
};

}  // namespace jc
