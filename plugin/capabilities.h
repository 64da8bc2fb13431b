// The fixed answers of this build, as one value so that tests can run the other branches.
#pragma once

#include <cstdint>

namespace jc {

struct Capabilities {
  std::int64_t uiMode = 2;       // layout variant 1..5: "JobControl" .. "JobControl5"
  std::int64_t passwordMax = 5;  // digits of the numeric code fields
  bool hardDisk = false;         // the printer has storage for document filing
  bool varnokSelvo = false;      // printer-platform switch: quick file files with suspend "0"
  bool tiger = false;            // the oldest desktop release's paths
};

}  // namespace jc
