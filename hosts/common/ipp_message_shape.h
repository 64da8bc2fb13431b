// A look at an IPP message's bytes before any parser reads them: whether its
// attributes are well framed up to the end-of-attributes tag, and how deeply
// its collections nest. libcups's reader descends once per collection level,
// so a message nested without end would exhaust the stack.
#pragma once

#include <string_view>

namespace jc {

enum class IppMessageShape {
  Fits,       // framed to its end-of-attributes tag, collections at most the limit deep
  TooDeep,    // a collection opens below the limit
  Malformed,  // cut short, lengths past its end, an end of a collection never begun
};

IppMessageShape ippMessageShape(std::string_view message, int maxCollectionDepth);

}  // namespace jc
