// The CF and NS numberings of text encodings.
#include "platform/text.h"

namespace jc {
namespace {

constexpr NSStringEncoding kNSFromCFFlag = 0x80000000u;

struct NumberPair {
  CFStringEncoding cf;
  NSStringEncoding ns;
};

constexpr NumberPair kOwnNSNumbers[] = {
    {kCFStringEncodingASCII, NSASCIIStringEncoding},
    {kCFStringEncodingUTF8, NSUTF8StringEncoding},
    {kCFStringEncodingISOLatin1, NSISOLatin1StringEncoding},
    {kCFStringEncodingShiftJIS, NSShiftJISStringEncoding},
    {kCFStringEncodingWindowsLatin1, NSWindowsCP1252StringEncoding},
    {kCFStringEncodingMacRoman, NSMacOSRomanStringEncoding},
};

}  // namespace

NSStringEncoding CFStringConvertEncodingToNSStringEncoding(CFStringEncoding cf) {
  if (cf == kCFStringEncodingInvalidId) return 0;
  for (const NumberPair& pair : kOwnNSNumbers) {
    if (pair.cf == cf) return pair.ns;
  }
  return kNSFromCFFlag | cf;
}

CFStringEncoding CFStringConvertNSStringEncodingToEncoding(NSStringEncoding ns) {
  for (const NumberPair& pair : kOwnNSNumbers) {
    if (pair.ns == ns) return pair.cf;
  }
  // Only 0x80000000 | cf, with nothing above the low 32 bits, carries a CF number.
  if ((ns & ~NSStringEncoding{0xFFFFFFFFu}) == 0 && (ns & kNSFromCFFlag) != 0) {
    return static_cast<CFStringEncoding>(ns & ~kNSFromCFFlag);
  }
  return kCFStringEncodingInvalidId;
}

}  // namespace jc
