#include "hosts/headless/ui_file.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <charconv>
#include <fstream>
#include <memory>
#include <system_error>

namespace jc {
namespace {

// Widgets and layouts nest no deeper than this in any sane layout; deeper
// files are refused rather than walked.
constexpr int kMaxDepth = 64;

struct DocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

std::string_view nameOf(const xmlNode* node) {
  return node->name ? std::string_view(reinterpret_cast<const char*>(node->name))
                    : std::string_view();
}

bool isElement(const xmlNode* node, std::string_view name) {
  return node->type == XML_ELEMENT_NODE && nameOf(node) == name;
}

std::string attributeOf(const xmlNode* node, const char* name) {
  for (const xmlAttr* a = node->properties; a; a = a->next) {
    if (a->name && std::string_view(reinterpret_cast<const char*>(a->name)) == name) {
      std::string value;
      for (const xmlNode* c = a->children; c; c = c->next) {
        if (c->type == XML_TEXT_NODE && c->content)
          value += reinterpret_cast<const char*>(c->content);
      }
      return value;
    }
  }
  return {};
}

// The element's own character data; entity references are not followed.
std::string textOf(const xmlNode* node) {
  std::string text;
  for (const xmlNode* c = node->children; c; c = c->next) {
    if ((c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) && c->content) {
      text += reinterpret_cast<const char*>(c->content);
    }
  }
  return text;
}

std::string_view trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n");
  return s.substr(first, last - first + 1);
}

// The value element inside a <property> or <attribute>.
UiValue valueOf(const xmlNode* holder) {
  UiValue value;
  for (const xmlNode* v = holder->children; v; v = v->next) {
    if (v->type != XML_ELEMENT_NODE) continue;
    const auto kind = nameOf(v);
    if (kind == "string") {
      value.type = UiValue::Type::String;
      value.text = textOf(v);
    } else if (kind == "number") {
      const std::string text(trim(textOf(v)));
      std::int64_t n = 0;
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
      if (ec == std::errc() && end == text.data() + text.size() && !text.empty()) {
        value.type = UiValue::Type::Number;
        value.number = n;
      }
    } else if (kind == "bool") {
      value.type = UiValue::Type::Bool;
      value.flag = trim(textOf(v)) == "true";
    } else if (kind == "enum" || kind == "set" || kind == "cstring") {
      value.type = UiValue::Type::Enum;
      value.text = std::string(trim(textOf(v)));
    }
    break;  // the first element is the value
  }
  return value;
}

class Reader {
 public:
  explicit Reader(std::string* error) : error_(error) {}

  bool fail(std::string message) {
    if (error_ && error_->empty()) *error_ = std::move(message);
    return false;
  }

  bool readWidget(const xmlNode* node, UiWidget& widget, int depth) {
    if (depth > kMaxDepth) return fail("layout nests too deeply");
    widget.className = attributeOf(node, "class");
    widget.name = attributeOf(node, "name");
    for (const xmlNode* c = node->children; c; c = c->next) {
      if (c->type != XML_ELEMENT_NODE) continue;
      const auto kind = nameOf(c);
      if (kind == "property") {
        widget.properties[attributeOf(c, "name")] = valueOf(c);
      } else if (kind == "attribute") {
        widget.attributes[attributeOf(c, "name")] = valueOf(c);
      } else if (kind == "widget") {
        if (!readWidget(c, widget.children.emplace_back(), depth + 1)) return false;
      } else if (kind == "layout") {
        if (!readLayout(c, widget, depth + 1)) return false;
      } else if (kind == "item") {
        widget.items.push_back(itemText(c));
      }
    }
    return true;
  }

  // A layout's items hold widgets, nested layouts and spacers; the widgets
  // become children of the widget that owns the layout.
  bool readLayout(const xmlNode* node, UiWidget& owner, int depth) {
    if (depth > kMaxDepth) return fail("layout nests too deeply");
    for (const xmlNode* item = node->children; item; item = item->next) {
      if (!isElement(item, "item")) continue;
      for (const xmlNode* c = item->children; c; c = c->next) {
        if (isElement(c, "widget")) {
          if (!readWidget(c, owner.children.emplace_back(), depth + 1)) return false;
        } else if (isElement(c, "layout")) {
          if (!readLayout(c, owner, depth + 1)) return false;
        }
      }
    }
    return true;
  }

  static std::string itemText(const xmlNode* item) {
    for (const xmlNode* c = item->children; c; c = c->next) {
      if (isElement(c, "property") && attributeOf(c, "name") == "text") return valueOf(c).text;
    }
    return {};
  }

 private:
  std::string* error_;
};

}  // namespace

const UiValue* UiWidget::property(std::string_view key) const {
  const auto it = properties.find(key);
  return it == properties.end() ? nullptr : &it->second;
}

const UiValue* UiWidget::attribute(std::string_view key) const {
  const auto it = attributes.find(key);
  return it == attributes.end() ? nullptr : &it->second;
}

std::optional<UiFile> parseUiFile(std::string_view bytes, std::string* error) {
  if (error) error->clear();
  Reader reader(error);
  if (bytes.size() > kMaxUiFileSize) {
    reader.fail("layout file too large");
    return std::nullopt;
  }
  static const bool initialized = [] {
    xmlInitParser();
    return true;
  }();
  (void)initialized;
  DocPtr doc(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                           XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
  if (!doc) {
    reader.fail("layout file is not well-formed XML");
    return std::nullopt;
  }
  if (doc->intSubset || doc->extSubset) {
    reader.fail("layout file has a document type declaration");
    return std::nullopt;
  }
  const xmlNode* ui = xmlDocGetRootElement(doc.get());
  if (!ui || !isElement(ui, "ui")) {
    reader.fail("layout file has no <ui> root element");
    return std::nullopt;
  }
  UiFile file;
  bool haveRoot = false;
  for (const xmlNode* c = ui->children; c; c = c->next) {
    if (isElement(c, "widget") && !haveRoot) {
      if (!reader.readWidget(c, file.root, 0)) return std::nullopt;
      haveRoot = true;
    } else if (isElement(c, "buttongroups")) {
      for (const xmlNode* g = c->children; g; g = g->next) {
        if (!isElement(g, "buttongroup")) continue;
        UiButtonGroup& group = file.buttonGroups.emplace_back();
        group.name = attributeOf(g, "name");
        for (const xmlNode* p = g->children; p; p = p->next) {
          if (isElement(p, "property")) group.properties[attributeOf(p, "name")] = valueOf(p);
        }
      }
    }
  }
  if (!haveRoot) {
    reader.fail("layout file has no top-level widget");
    return std::nullopt;
  }
  return file;
}

std::optional<UiFile> readUiFile(const std::filesystem::path& file, std::string* error) {
  if (error) error->clear();
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec) {
    if (error) *error = "cannot read layout file " + file.string();
    return std::nullopt;
  }
  if (size > kMaxUiFileSize) {
    if (error) *error = "layout file too large: " + file.string();
    return std::nullopt;
  }
  std::ifstream in(file, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    if (error) *error = "cannot read layout file " + file.string();
    return std::nullopt;
  }
  return parseUiFile(bytes, error);
}

}  // namespace jc
