#include "prefs/stored_domain.h"

#include <sys/random.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>

#include "platform/text.h"
#include "prefs/folder_array_reader.h"
#include "prefs/plist_values.h"
#include "prefs/plist_xml_reader.h"

namespace jc {
namespace {

constexpr const char* kJobControl = "Job Control";
constexpr const char* kFiles = "files";

// How every file the store writes begins (libplist's own opening lines too).
constexpr std::string_view kOpening =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">";

// Where the "files" array of the "Job Control" dictionary starts and ends.
struct FilesSpan {
  std::size_t start = 0;
  FolderArray array;
};

// Finds the folder list of a document in the store's form by its elements'
// nesting alone: the array after the key "files" in the dictionary after the
// key "Job Control" in the root dictionary. Keys are taken as written; a
// document with markup other than plain elements (comments, CDATA, entities
// in those keys, attributes) or with either key twice is left to libplist.
class FilesLocator {
 public:
  explicit FilesLocator(std::string_view xml, FolderArrayUse use) : xml_(xml), use_(use) {}

  std::optional<FilesSpan> locate() {
    if (!xml_.starts_with(kOpening)) return std::nullopt;
    for (std::size_t at = xml_.find('<', kOpening.size()); at != std::string_view::npos;
         at = xml_.find('<', at)) {
      at = step(at);
      if (at == std::string_view::npos) return std::nullopt;
    }
    if (!complete_ || jobControls_ > 1 || filesKeys_ > 1) return std::nullopt;
    return span_;
  }

 private:
  // Handles the markup at `at`; answers where scanning goes on, or npos to
  // leave the document to libplist.
  std::size_t step(std::size_t at) {
    const std::size_t close = xml_.find('>', at);
    if (close == std::string_view::npos) return close;
    const std::string_view tag = xml_.substr(at + 1, close - at - 1);
    if (tag.empty() || tag.find_first_of("!?\"'<&") != std::string_view::npos) {
      return std::string_view::npos;
    }
    if (tag.front() == '/') {
      pendingKey_ = Pending::None;
      --depth_;
      if (depth_ < 0) return std::string_view::npos;
      if (depth_ == 0) complete_ = true;
      if (depth_ < kInJobControl) inJobControl_ = false;
      return close + 1;
    }
    const bool empty = tag.back() == '/';
    if (tag == "key") return key(close + 1);
    if (pendingKey_ == Pending::Files && depth_ == kInJobControl && tag.starts_with("array")) {
      return filesArray(at);
    }
    if (pendingKey_ == Pending::JobControl && depth_ == kInRoot && tag == "dict") {
      inJobControl_ = true;
    }
    pendingKey_ = Pending::None;
    if (!empty) ++depth_;
    return close + 1;
  }

  // A key's text, just after its start tag.
  std::size_t key(std::size_t textStart) {
    const std::size_t end = xml_.find("</key>", textStart);
    if (end == std::string_view::npos) return end;
    const std::string_view text = xml_.substr(textStart, end - textStart);
    if (text.find('<') != std::string_view::npos) return std::string_view::npos;
    pendingKey_ = Pending::None;
    const bool inJobControl = depth_ == kInJobControl && inJobControl_;
    if (depth_ == kInRoot || inJobControl) {
      if (text.find_first_of("& \t\r\n") != std::string_view::npos) {
        return std::string_view::npos;
      }
      if (depth_ == kInRoot && text == kJobControl) {
        ++jobControls_;
        pendingKey_ = Pending::JobControl;
      } else if (inJobControl && text == kFiles) {
        ++filesKeys_;
        pendingKey_ = Pending::Files;
      }
    }
    return end + 6;
  }

  std::size_t filesArray(std::size_t at) {
    pendingKey_ = Pending::None;
    std::optional<FolderArray> array = readFolderArray(xml_, at, use_);
    if (!array || span_) return std::string_view::npos;
    const std::size_t end = array->end;
    span_ = FilesSpan{at, std::move(*array)};
    return end;
  }

  enum class Pending { None, JobControl, Files };
  // Open elements around the root dictionary's items (the plist element and
  // the dictionary), and around the "Job Control" dictionary's.
  static constexpr int kInRoot = 2;
  static constexpr int kInJobControl = 3;

  std::string_view xml_;
  FolderArrayUse use_;
  int depth_ = 1;  // inside the plist element
  bool inJobControl_ = false;
  bool complete_ = false;
  Pending pendingKey_ = Pending::None;
  int jobControls_ = 0;
  int filesKeys_ = 0;
  std::optional<FilesSpan> span_;
};

// A text no stored value holds: the placeholder's string.
std::string placeholderText() {
  std::uint64_t value = 0;
  if (::getrandom(&value, sizeof value, GRND_NONBLOCK) != sizeof value) {
    value = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  }
  return "jobcontrol-folder-list-" + std::to_string(value);
}

std::optional<std::string> stringValue(plist_t node) {
  if (!node || plist_get_node_type(node) != PLIST_STRING) return std::nullopt;
  char* text = nullptr;
  plist_get_string_val(node, &text);
  if (!text) return std::nullopt;
  std::string value(text);
  std::free(text);
  return value;
}

}  // namespace

FolderList foldersOfNodes(plist_t files) {
  FolderList list;
  if (!files || plist_get_node_type(files) != PLIST_ARRAY) return list;
  const uint32_t count = plist_array_get_size(files);
  for (uint32_t i = 0; i < count; ++i) {
    plist_t entry = plist_array_get_item(files, i);
    // An entry without a name could not be shown or searched: it is dropped,
    // so pop-up item 3 + i always stands for entry i.
    auto name = plist::string(entry, "name");
    if (!name) continue;
    FolderEntry folder;
    folder.name = std::move(*name);
    folder.password = plist::boolean(entry, "password").value_or(false);
    folder.dir = plist::boolean(entry, "dir").value_or(false);
    folder.add = plist::boolean(entry, "add").value_or(false);
    list.push_back(std::move(folder));
  }
  return list;
}

StoredDomain StoredDomain::ofNodes(PlistPtr dictionary) {
  StoredDomain domain;
  if (!dictionary || plist_get_node_type(dictionary.get()) != PLIST_DICT) return domain;
  domain.dictionary_ = std::move(dictionary);
  if (plist_t jobControl = plist::dict(domain.dictionary_.get(), kJobControl))
    domain.folders_ = foldersOfNodes(plist_dict_get_item(jobControl, kFiles));
  return domain;
}

StoredDomain StoredDomain::parse(std::string_view xml, StoredFolders folders) {
  const FolderArrayUse use =
      folders == StoredFolders::Skip ? FolderArrayUse::Skip : FolderArrayUse::Read;
  std::optional<FilesSpan> span;
  if (folders != StoredFolders::AsNodes) span = FilesLocator(xml, use).locate();
  if (!span) return ofNodes(parsePlistXml(xml));

  // The rest of the document goes through libplist with a string of its own
  // in the list's place; finding that string there afterwards shows that
  // libplist took the same array for the list.
  StoredDomain domain;
  domain.placeholder_ = placeholderText();
  std::string rest;
  rest.reserve(span->start + (xml.size() - span->array.end) + domain.placeholder_.size() + 17);
  rest.append(xml.substr(0, span->start));
  rest.append("<string>").append(domain.placeholder_).append("</string>");
  rest.append(xml.substr(span->array.end));
  domain.dictionary_ = parsePlistXml(rest);
  if (!domain.dictionary_ || !domain.placeholderIn(domain.dictionary_.get())) {
    return ofNodes(parsePlistXml(xml));
  }
  domain.skipped_ = folders == StoredFolders::Skip;
  if (!domain.skipped_) domain.folders_ = std::move(span->array.folders);
  return domain;
}

plist_t StoredDomain::placeholderIn(plist_t dictionary) const {
  if (placeholder_.empty()) return nullptr;
  plist_t jobControl = plist::dict(dictionary, kJobControl);
  plist_t files = jobControl ? plist_dict_get_item(jobControl, kFiles) : nullptr;
  return stringValue(files) == placeholder_ ? files : nullptr;
}

bool StoredDomain::lostFolders(plist_t dictionary) const {
  return skipped_ && placeholderIn(dictionary);
}

void StoredDomain::keepFolders(plist_t dictionary, StreamedValues& streamed) const {
  plist_t placeholder = placeholderIn(dictionary);
  if (!placeholder || !folders_) return;
  streamed[placeholder] = folderListValue(*folders_);
}

StreamedValue folderListValue(const FolderList& list) {
  return [&list](PlistXmlWriter& w) {
    std::string name;
    w.beginArray();
    for (const FolderEntry& folder : list) {
      w.beginDict();
      w.key("name");
      name = toUtf8(folder.name);
      w.string(name);
      w.key("password");
      w.boolean(folder.password);
      w.key("dir");
      w.boolean(folder.dir);
      w.key("add");
      w.boolean(folder.add);
      w.endDict();
    }
    w.endArray();
  };
}

}  // namespace jc
