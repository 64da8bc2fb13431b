#include "support/test_layouts.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "support/panel_fixture.h"

namespace jc::test {
namespace {

std::string readWhole(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeWhole(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

}  // namespace

std::filesystem::path bundleLayoutPath(std::string_view layoutName) {
  return buildBundleFolder() / "layouts" / (std::string(layoutName) + ".ui");
}

std::filesystem::path layoutWithout(const std::filesystem::path& dir, std::string_view layoutName,
                                    const std::vector<std::string>& absent) {
  std::string text = readWhole(bundleLayoutPath(layoutName));
  std::string fileName(layoutName);
  for (const std::string& name : absent) {
    // The widget's or group's own name, and a cell's reference to its group.
    replaceAll(text, "name=\"" + name + "\"", "name=\"" + name + "Gone\"");
    replaceAll(text, ">" + name + "</string>", ">" + name + "Gone</string>");
    fileName += "-" + name;
  }
  const std::filesystem::path file = dir / (fileName + ".ui");
  writeWhole(file, text);
  return file;
}

std::filesystem::path writeLayout(const std::filesystem::path& dir, std::string_view fileName,
                                  std::string_view widgets, std::string_view buttonGroups) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n "
      "<class>panelView</class>\n"
      " <widget class=\"QWidget\" name=\"panelView\">\n"
      "  <layout class=\"QVBoxLayout\" name=\"panelViewLayout\">\n";
  text += widgets;
  text += "\n  </layout>\n </widget>\n";
  if (!buttonGroups.empty()) {
    text += " <buttongroups>\n";
    text += buttonGroups;
    text += "\n </buttongroups>\n";
  }
  text += "</ui>\n";
  const std::filesystem::path file = dir / fileName;
  writeWhole(file, text);
  return file;
}

const std::vector<std::string>& panelOutletNames() {
  static const std::vector<std::string> names = {
      "tabView",
      "retentionCheckBox",
      "suspendBox",
      "suspendMatrix",
      "holdOnlyRadioButton",
      "holdAfterRadioButton",
      "samplePrintRadioButton",
      "suspendKeyStaticText",
      "suspendKeyEditText",
      "suspendKeyButton",
      "filingBox",
      "folderSelectionStaticText",
      "folderSelectionPopup",
      "folderPasswordStaticText",
      "folderPasswordEditText",
      "folderPasswordButton",
      "folderSelectionMatrix",
      "quickFileRadioButton",
      "mainFolderRadioButton",
      "customFolderRadioButton",
      "folderNameEditText",
      "folderNameButton",
      "authenticationMatrix",
      "authenticationRadioButton",
      "loginNameStaticText",
      "loginNameEditText",
      "loginNameButton",
      "passwordStaticText",
      "passwordEditText",
      "passwordButton",
      "userNumberMatrix",
      "userNumberRadioButton",
      "userNumberEditText",
      "userNumberButton",
      "accountNumberStaticText",
      "accountNumberEditText",
      "accountNumberButton",
      "jobIDBox",
      "userNameStaticText",
      "userNameEditText",
      "userNameButton",
      "jobNameStaticText",
      "jobNameEditText",
      "jobNameButton",
      "printersAddressStaticText",
      "printersAddressEditText",
      "chasingArrow",
      "getFolderNameButton",
  };
  return names;
}

}  // namespace jc::test
