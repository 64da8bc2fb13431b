// Writing XML property lists piece by piece, byte for byte as libplist's
// plist_to_xml writes them: one element a line, indented with tabs, "&", "<"
// and ">" escaped, other characters as they are, and an empty array or
// dictionary written "<array/>" or "<dict/>". The text goes to a sink in
// pieces, so that a large value never has to be held as one string, and
// values can be written from the caller's own data as well as from libplist
// nodes.
#pragma once

#include <plist/plist.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace jc {

class PlistXmlWriter;

// A value written from the caller's own data in place of a libplist node.
using StreamedValue = std::function<void(PlistXmlWriter&)>;
// Placeholder nodes of a tree, each with the value written in its place.
using StreamedValues = std::map<plist_t, StreamedValue>;

class PlistXmlWriter {
 public:
  using Sink = std::function<void(std::string_view)>;

  // Writes the document's opening lines to `sink`.
  explicit PlistXmlWriter(Sink sink);
  PlistXmlWriter(const PlistXmlWriter&) = delete;
  PlistXmlWriter& operator=(const PlistXmlWriter&) = delete;

  void beginDict();
  void endDict();
  void beginArray();
  void endArray();
  void key(std::string_view utf8);
  void string(std::string_view utf8);
  void boolean(bool value);
  // Integers are kept as 64-bit two's complement and written signed.
  void integer(std::uint64_t value);

  // Writes `node` and what it holds; a node in `streamed` is replaced by its
  // value. Answers false, having written part of it, when the tree holds a
  // kind of node that cannot be written.
  bool node(plist_t node, const StreamedValues& streamed = {});

  // Closes the document and hands the rest of the text to the sink.
  void finish();

  // How deeply arrays and dictionaries nested at most so far.
  int deepestNesting() const { return deepest_; }

 private:
  void openPendingContainer();
  void line(std::string_view open, std::string_view text, std::string_view close);
  void escaped(std::string_view text);
  void indent();
  void endContainer(std::string_view empty, std::string_view close);
  bool spliceFromLibplist(plist_t node);
  void flushIfFull();

  Sink sink_;
  std::string buffer_;
  int depth_ = 0;
  int deepest_ = 0;
  // The container begun last, written once its first item or its end comes.
  std::string_view pendingOpen_;
};

// The XML property list of `root` as one string, exactly as plist_to_xml
// writes it; empty when the tree holds a node that cannot be written.
std::string plistXml(plist_t root, const StreamedValues& streamed = {});

}  // namespace jc
