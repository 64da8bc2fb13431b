// Names parameterised cases after their `what`: its letters and digits, so
// that "retention on, main folder" runs as .../retentiononmainfolder.
#pragma once

#include <cctype>
#include <string>

namespace jc::test {

struct NameFromWhat {
  template <class Info>
  std::string operator()(const Info& info) const {
    std::string name;
    for (const char* p = info.param.what; *p; ++p)
      if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
    return name;
  }
};

}  // namespace jc::test
