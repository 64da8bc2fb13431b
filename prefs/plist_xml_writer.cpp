#include "prefs/plist_xml_writer.h"

#include <cstdlib>
#include <memory>

namespace jc {
namespace {

constexpr std::string_view kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n";
constexpr std::string_view kFooter = "</plist>\n";

// The text is handed on in pieces of about this size.
constexpr std::size_t kPieceBytes = 64 * 1024;

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
using DictIter = std::unique_ptr<void, FreeDeleter>;

}  // namespace

PlistXmlWriter::PlistXmlWriter(Sink sink) : sink_(std::move(sink)) {
  buffer_.reserve(kPieceBytes + 4096);
  buffer_ += kHeader;
}

void PlistXmlWriter::indent() { buffer_.append(static_cast<std::size_t>(depth_), '\t'); }

void PlistXmlWriter::flushIfFull() {
  if (buffer_.size() < kPieceBytes) return;
  sink_(buffer_);
  buffer_.clear();
}

void PlistXmlWriter::openPendingContainer() {
  if (pendingOpen_.empty()) return;
  indent();
  buffer_ += pendingOpen_;
  buffer_ += '\n';
  pendingOpen_ = {};
  ++depth_;
  if (depth_ > deepest_) deepest_ = depth_;
}

void PlistXmlWriter::escaped(std::string_view text) {
  std::size_t plain = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char* entity = c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : nullptr;
    if (!entity) continue;
    buffer_.append(text.substr(plain, i - plain));
    buffer_ += entity;
    plain = i + 1;
  }
  buffer_.append(text.substr(plain));
}

void PlistXmlWriter::line(std::string_view open, std::string_view text, std::string_view close) {
  openPendingContainer();
  indent();
  buffer_ += open;
  escaped(text);
  buffer_ += close;
  buffer_ += '\n';
  flushIfFull();
}

void PlistXmlWriter::beginDict() {
  openPendingContainer();
  pendingOpen_ = "<dict>";
}

void PlistXmlWriter::beginArray() {
  openPendingContainer();
  pendingOpen_ = "<array>";
}

void PlistXmlWriter::endContainer(std::string_view empty, std::string_view close) {
  if (!pendingOpen_.empty()) {
    pendingOpen_ = {};
    indent();
    buffer_ += empty;
    // An empty container nests one level all the same.
    if (depth_ + 1 > deepest_) deepest_ = depth_ + 1;
  } else {
    --depth_;
    indent();
    buffer_ += close;
  }
  buffer_ += '\n';
  flushIfFull();
}

void PlistXmlWriter::endDict() { endContainer("<dict/>", "</dict>"); }
void PlistXmlWriter::endArray() { endContainer("<array/>", "</array>"); }
void PlistXmlWriter::key(std::string_view utf8) { line("<key>", utf8, "</key>"); }
void PlistXmlWriter::string(std::string_view utf8) { line("<string>", utf8, "</string>"); }

void PlistXmlWriter::boolean(bool value) { line(value ? "<true/>" : "<false/>", {}, {}); }

void PlistXmlWriter::integer(std::uint64_t value) {
  line("<integer>", std::to_string(static_cast<std::int64_t>(value)), "</integer>");
}

// A value of a kind written nowhere in this program (a real, a date, data)
// is written by libplist itself, inside as many arrays as it lies deep here
// (its lines of data are as wide as the depth allows), and its own lines are
// set in.
bool PlistXmlWriter::spliceFromLibplist(plist_t node) {
  openPendingContainer();
  plist_t wrapped = plist_copy(node);
  for (int level = 0; level < depth_; ++level) {
    plist_t array = plist_new_array();
    plist_array_append_item(array, wrapped);
    wrapped = array;
  }
  const std::unique_ptr<std::remove_pointer_t<plist_t>, decltype(&plist_free)> owned(wrapped,
                                                                                     &plist_free);
  char* xml = nullptr;
  std::uint32_t length = 0;
  plist_to_xml(owned.get(), &xml, &length);
  if (!xml) return false;
  std::string_view text(xml, length);
  const bool framed = text.starts_with(kHeader) && text.ends_with(kFooter);
  if (framed) {
    text = text.substr(kHeader.size(), text.size() - kHeader.size() - kFooter.size());
    // Drops the wrapping arrays' lines: one before the value and one after it
    // for each level.
    for (int level = 0; level < depth_; ++level) {
      text.remove_prefix(text.find('\n') + 1);
      text.remove_suffix(text.size() - text.rfind('\n', text.size() - 2) - 1);
    }
    buffer_.append(text);
    flushIfFull();
  }
  plist_to_xml_free(xml);
  return framed;
}

bool PlistXmlWriter::node(plist_t node, const StreamedValues& streamed) {
  if (const auto found = streamed.find(node); found != streamed.end()) {
    found->second(*this);
    return true;
  }
  switch (plist_get_node_type(node)) {
    case PLIST_DICT: {
      beginDict();
      plist_dict_iter raw = nullptr;
      plist_dict_new_iter(node, &raw);
      const DictIter iter(raw);
      for (bool ok = true; ok && iter;) {
        char* name = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, iter.get(), &name, &item);
        const std::unique_ptr<char, FreeDeleter> owned(name);
        if (!item) break;
        key(name ? name : "");
        ok = this->node(item, streamed);
        if (!ok) return false;
      }
      endDict();
      return true;
    }
    case PLIST_ARRAY: {
      beginArray();
      const std::uint32_t count = plist_array_get_size(node);
      for (std::uint32_t i = 0; i < count; ++i) {
        if (!this->node(plist_array_get_item(node, i), streamed)) return false;
      }
      endArray();
      return true;
    }
    case PLIST_STRING: {
      char* text = nullptr;
      plist_get_string_val(node, &text);
      const std::unique_ptr<char, FreeDeleter> owned(text);
      string(text ? text : "");
      return true;
    }
    case PLIST_BOOLEAN: {
      std::uint8_t value = 0;
      plist_get_bool_val(node, &value);
      boolean(value != 0);
      return true;
    }
    case PLIST_UINT: {
      std::uint64_t value = 0;
      plist_get_uint_val(node, &value);
      integer(value);
      return true;
    }
    default:
      return spliceFromLibplist(node);
  }
}

void PlistXmlWriter::finish() {
  buffer_ += kFooter;
  sink_(buffer_);
  buffer_.clear();
}

std::string plistXml(plist_t root, const StreamedValues& streamed) {
  std::string xml;
  PlistXmlWriter writer([&xml](std::string_view piece) { xml += piece; });
  if (!root || !writer.node(root, streamed)) return {};
  writer.finish();
  return xml;
}

}  // namespace jc
