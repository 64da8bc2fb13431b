// The standard job attributes the panel's values become for one printer, and
// why some of them do not.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/message.h"

namespace jc {

struct StandardAttributePlan {
  // Job options for the print system, name and UTF-8 value, in order.
  std::vector<std::pair<std::string, std::string>> options;
  // One plain sentence for each value that is not sent, or that travels in a
  // way the user should know of, for the host to say in the user's language.
  // Never holds a value of the panel's itself.
  std::vector<Message> notes;
};

}  // namespace jc
