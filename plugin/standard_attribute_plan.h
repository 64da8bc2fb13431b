// The standard job attributes the panel's values become for one printer, and
// why some of them do not.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace jc {

struct StandardAttributePlan {
  // Job options for the print system, name and UTF-8 value, in order.
  std::vector<std::pair<std::string, std::string>> options;
  // One plain sentence for each value that is not sent, or that travels in a
  // way the user should know of. Never holds a value itself.
  std::vector<std::string> notes;
};

}  // namespace jc
