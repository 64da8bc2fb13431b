#include "soap/folder_list_parser.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>

#include "platform/text.h"
#include "soap/xml_error_capture.h"

namespace jc {

namespace {

// Larger answers are not read: the SOAP client refuses to receive more.
constexpr std::size_t kMaxAnswerBytes = 16u * 1024u * 1024u;

// No network, no entity substitution, no DTD loading (none of XML_PARSE_NOENT,
// XML_PARSE_DTDLOAD, XML_PARSE_HUGE): the parser's depth and amplification
// limits stay in force. Whitespace-only text between elements is dropped;
// short texts are kept inside their nodes, since the tree is only read.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_COMPACT |
                              XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// True when `node` is an element whose qualified name (prefix included) is `name`.
bool isElementNamed(const xmlNode* node, std::string_view name) {
  if (!node || node->type != XML_ELEMENT_NODE || !node->name) return false;
  std::string_view local(reinterpret_cast<const char*>(node->name));
  if (node->ns && node->ns->prefix) {
    std::string_view prefix(reinterpret_cast<const char*>(node->ns->prefix));
    return name.size() == prefix.size() + 1 + local.size() && name.starts_with(prefix) &&
           name[prefix.size()] == ':' && name.ends_with(local);
  }
  return name == local;
}

bool isText(const xmlNode* node) {
  return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
}

// The text of an element that holds one text node and nothing else.
std::optional<std::string_view> singleText(const xmlNode* element) {
  const xmlNode* only = element->children;
  if (!only || only != element->last || !isText(only)) return std::nullopt;
  return only->content ? std::string_view(reinterpret_cast<const char*>(only->content))
                       : std::string_view();
}

// The text of an element: its text and CDATA descendants in document order.
// Entity references are not followed, so no entity's text ever reaches a value.
std::string textOf(const xmlNode* element) {
  std::string text;
  if (!element || element->type != XML_ELEMENT_NODE) return text;
  if (auto single = singleText(element)) return std::string(*single);
  const xmlNode* node = element->children;
  while (node && node != element) {
    if (isText(node) && node->content) {
      text += reinterpret_cast<const char*>(node->content);
    }
    if (node->type == XML_ELEMENT_NODE && node->children) {
      node = node->children;
      continue;
    }
    while (node != element && !node->next) node = node->parent;
    if (node != element) node = node->next;
  }
  return text;
}

bool textIs(const xmlNode* element, std::string_view expected) {
  if (auto single = singleText(element)) return *single == expected;
  return textOf(element) == expected;
}

// One folder entry; none when the entry has no "name" element.
std::optional<FolderEntry> readEntry(const xmlNode* entry) {
  if (!entry || entry->type != XML_ELEMENT_NODE) return std::nullopt;
  const xmlNode* name = nullptr;
  FolderEntry folder;
  for (const xmlNode* child = entry->children; child; child = child->next) {
    if (isElementNamed(child, "name")) {
      name = child;
    } else if (isElementNamed(child, "password")) {
      if (textIs(child, "true")) folder.password = true;
    } else if (isElementNamed(child, "dir")) {
      if (textIs(child, "true")) folder.dir = true;
    }
  }
  if (!name) return std::nullopt;
  auto single = singleText(name);
  folder.name = single ? fromUtf8(*single) : fromUtf8(textOf(name));
  folder.add = false;
  return folder;
}

struct XmlDocDeleter {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDoc = std::unique_ptr<xmlDoc, XmlDocDeleter>;

struct XmlParserDeleter {
  void operator()(xmlParserCtxt* parser) const { xmlFreeParserCtxt(parser); }
};
using XmlParser = std::unique_ptr<xmlParserCtxt, XmlParserDeleter>;

// The entries read so far, by the "files" element that holds them.
using EntriesByFiles = std::map<const xmlNode*, FolderList>;

// A parse that keeps only the shape of the answer in the tree: each child of
// a "files" element at the response's depth is read as a folder entry when it
// ends, then dropped, except the first and the last of its siblings. Those
// two are what the parser itself looks at when it decides whether blank text
// between elements is kept, so the tree keeps every other node and every
// text it would have had.
struct PruningParse {
  xmlParserCtxt* parser = nullptr;
  EntriesByFiles entries;
};

thread_local PruningParse* activeParse = nullptr;

// True when `files` is a "files" element of a candidate response element: the
// root element's grandchild's child.
bool isResponseFiles(const xmlNode* files) {
  if (!isElementNamed(files, "files")) return false;
  const xmlNode* root =
      files->parent && files->parent->parent ? files->parent->parent->parent : nullptr;
  return root && root->type == XML_ELEMENT_NODE && root->parent &&
         root->parent->type == XML_DOCUMENT_NODE;
}

void readAndDropEntry(PruningParse& parse, xmlNode* entry) {
  xmlNode* files = entry->parent;
  if (!files || !isResponseFiles(files)) return;
  FolderList& list = parse.entries[files];
  if (auto folder = readEntry(entry)) list.push_back(std::move(*folder));
  while (entry->prev && entry->prev != files->children) {
    xmlNode* gone = entry->prev;
    xmlUnlinkNode(gone);
    xmlFreeNode(gone);
  }
}

void onEndElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                  const xmlChar* uri) {
  auto* parser = static_cast<xmlParserCtxt*>(context);
  xmlNode* ended = parser ? parser->node : nullptr;
  xmlSAX2EndElementNs(context, localName, prefix, uri);
  // Entity text is parsed in a parser of its own; only the document's tree
  // is pruned.
  if (activeParse && parser == activeParse->parser && ended) readAndDropEntry(*activeParse, ended);
}

struct ReadDocument {
  XmlDoc doc;
  EntriesByFiles entries;
};

ReadDocument readDocument(std::string_view xml) {
  static std::once_flag once;
  std::call_once(once, [] { xmlInitParser(); });
  if (xml.empty() || xml.size() > kMaxAnswerBytes || xml.size() > INT_MAX) return {};
  XmlParser parser(xmlNewParserCtxt());
  if (!parser || !parser->sax) return {};
  parser->sax->endElementNs = &onEndElement;
  PruningParse parse;
  parse.parser = parser.get();
  XmlErrorCapture errors;
  PruningParse* const outer = std::exchange(activeParse, &parse);
  XmlDoc doc(xmlCtxtReadMemory(parser.get(), xml.data(), static_cast<int>(xml.size()), "vwxyz.xml",
                               nullptr, kParseOptions));
  activeParse = outer;
  // Bytes the declared encoding cannot convert end the input early, so a
  // document may still come out: it is not the answer that was sent.
  if (!doc || errors.undecodable()) return {};
  return {std::move(doc), std::move(parse.entries)};
}

FolderListParse readAnswer(const xmlDoc& doc, EntriesByFiles& entries) {
  FolderListParse result;
  result.documentRead = true;

  xmlNode* body = MyGetChild(xmlDocGetRootElement(&doc));
  const xmlNode* response = MyGetChild(body);
  if (!response || !response->children) return result;

  const xmlNode* files = nullptr;
  for (const xmlNode* child = response->children; child; child = child->next) {
    if (isElementNamed(child, "result-code")) {
      result.resultCode = textOf(child);
    } else if (isElementNamed(child, "files")) {
      files = child;
    }
  }
  if (!files || (result.resultCode && *result.resultCode != "ok")) return result;

  if (auto read = entries.find(files); read != entries.end())
    result.folders = std::move(read->second);
  result.ok = true;
  return result;
}

}  // namespace

xmlNode* MyGetChild(xmlNode* node) {
  if (!node) return nullptr;
  switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_DOCUMENT_NODE:
    case XML_DOCUMENT_FRAG_NODE:
    case XML_HTML_DOCUMENT_NODE:
      return node->last;
    default:
      return nullptr;
  }
}

FolderListParse parseFolderListAnswer(std::string_view xml) {
  ReadDocument read = readDocument(xml);
  if (!read.doc) return {};
  return readAnswer(*read.doc, read.entries);
}

FolderListParse parseFolderListFile(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return {};
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  // Read in one piece of the file's size when it is known, so the answer is
  // held once; a file that grows meanwhile is read on in smaller pieces.
  std::string bytes;
  const auto size = std::filesystem::file_size(file, error);
  if (!error && size > kMaxAnswerBytes) return {};
  bytes.resize(error ? 0 : static_cast<std::size_t>(size));
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  char buffer[64 * 1024];
  while (in && (in.read(buffer, sizeof buffer) || in.gcount() > 0)) {
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > kMaxAnswerBytes) return {};
  }
  if (in.bad()) return {};
  return parseFolderListAnswer(bytes);
}

}  // namespace jc
