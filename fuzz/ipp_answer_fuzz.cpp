// Feeds arbitrary bytes to the capability query's answer reader: as the
// HTTP answer of a printer, and as the IPP message inside one. It must never
// crash; the framing keeps to its limits and comes to the same end however
// the bytes arrive, and libcups reads only messages whose nesting was
// checked first.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "hosts/common/http_answer_framing.h"
#include "hosts/common/ipp_message_shape.h"
#include "hosts/common/printer_capabilities.h"

namespace {

constexpr std::size_t kHead = 4096;
constexpr std::size_t kBody = 64 * 1024;
constexpr int kDepth = 8;

void readMessage(std::string_view message) {
  if (jc::ippMessageShape(message, kDepth) != jc::IppMessageShape::Fits) return;
  const jc::PrinterCapabilities read = jc::capabilitiesFromAnswer(message, "printer:631");
  if (read.unanswered && (read.passwordMaxLength || !read.passwordEncryptions.empty()))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const jc::HttpAnswerFraming whole = jc::frameHttpAnswer(bytes, true, kHead, kBody);
  if (whole.body().size() > kBody) std::abort();

  // The same bytes in two pieces, split where the first byte says.
  const std::size_t split = size == 0 ? 0 : data[0] % size;
  jc::HttpAnswerFraming pieces(kHead, kBody);
  pieces.feed(bytes.substr(0, split));
  pieces.feed(bytes.substr(split));
  pieces.close();
  if (pieces.state() != whole.state()) std::abort();
  if (whole.state() == jc::HttpAnswerFraming::State::Complete &&
      (pieces.status() != whole.status() || pieces.body() != whole.body()))
    std::abort();

  if (whole.state() == jc::HttpAnswerFraming::State::Complete) readMessage(whole.body());
  readMessage(bytes);
  return 0;
}
