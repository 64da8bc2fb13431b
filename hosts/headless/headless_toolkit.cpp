#include "hosts/headless/headless_toolkit.h"

#include <ostream>

#include "hosts/headless/ui_file.h"
#include "platform/text.h"

namespace jc {

std::unique_ptr<View> HeadlessToolkit::loadLayout(const std::filesystem::path& file,
                                                  ActionTarget* owner) {
  return loadHeadlessLayout(file, owner);
}

std::unique_ptr<HeadlessView> HeadlessToolkit::loadHeadlessLayout(const std::filesystem::path& file,
                                                                  ActionTarget* owner) {
  auto parsed = readUiFile(file, &lastError_);
  if (!parsed) return nullptr;
  lastError_.clear();
  return std::make_unique<HeadlessView>(*parsed, owner);
}

ImagePtr HeadlessToolkit::systemIcon(std::uint32_t typeCode, int width, int height) {
  return std::make_shared<const Image>(Image{typeCode, {}, width, height});
}

void HeadlessToolkit::alert(const std::u16string& title, const std::u16string& message,
                            const std::u16string& button) {
  alerts_.push_back(AlertRecord{title, message, button});
  if (out_) *out_ << toUtf8(message) << '\n' << std::flush;
}

}  // namespace jc
