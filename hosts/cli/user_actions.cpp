#include "hosts/cli/user_actions.h"

#include <charconv>
#include <fstream>
#include <iostream>
#include <map>
#include <string_view>

#include "hosts/cli/folder_choice.h"
#include "hosts/cli/terminal_text.h"
#include "hosts/cli/translation.h"
#include "platform/text.h"
#include "settings/held_fields.h"

namespace jc::cli {

const std::map<std::string, std::string, std::less<>>& holdBoxes() {
  static const std::map<std::string, std::string, std::less<>> boxes = [] {
    std::map<std::string, std::string, std::less<>> byName;
    for (const HeldField& f : kHeldFields)
      byName.emplace(std::string(f.commandLineName), std::string(f.lockBox));
    return byName;
  }();
  return boxes;
}

const std::map<std::string, std::string, std::less<>>& editFields() {
  static const std::map<std::string, std::string, std::less<>> fields = {
      {"--passcode", "suspendKeyEditText"},
      {"--folder-name", "folderNameEditText"},
      {"--folder-passcode", "folderPasswordEditText"},
      {"--login-name", "loginNameEditText"},
      {"--user-number", "userNumberEditText"},
      {"--account-number", "accountNumberEditText"},
      {"--user-name", "userNameEditText"},
      {"--job-name", "jobNameEditText"},
      {"--address", "printersAddressEditText"},
      {"--password-file", "passwordEditText"},
      {"--password-stdin", "passwordEditText"},
      {"--passcode-file", "suspendKeyEditText"},
      {"--passcode-stdin", "suspendKeyEditText"},
      {"--folder-passcode-file", "folderPasswordEditText"},
      {"--folder-passcode-stdin", "folderPasswordEditText"}};
  return fields;
}

namespace {

// A secret typed from a file or the standard input, and how messages name it
// (never by its text).
struct Secret {
  Message what;
  Message unreadable;  // {0}: the file
};

// The secret an action reads, by the value option it stands for: "--passcode"
// for --passcode-file and --passcode-stdin.
const Secret* secretOf(std::string_view option) {
  static const std::map<std::string, Secret, std::less<>> secrets = {
      {"--password", {Message("the password"), Message("cannot read the password file {0}")}},
      {"--passcode", {Message("the pass code"), Message("cannot read the pass code file {0}")}},
      {"--folder-passcode",
       {Message("the folder pass code"), Message("cannot read the folder pass code file {0}")}}};
  for (const std::string_view source : {"-file", "-stdin"}) {
    if (!option.ends_with(source)) continue;
    const auto found = secrets.find(option.substr(0, option.size() - source.size()));
    return found == secrets.end() ? nullptr : &found->second;
  }
  return nullptr;
}

class Player {
 public:
  explicit Player(HeadlessView& view) : view_(view) {}

  void apply(const UserAction& action) {
    const std::string& o = action.option;
    if (o == "--retention") return retention(action.value);
    if (o == "--hold-mode") return holdMode(action.value);
    if (o == "--folder") return folder(action.value);
    if (o == "--folder-index") return folderIndex(action.value);
    if (o == "--auth") return authentication(action.value);
    if (o == "--lock" || o == "--unlock") return hold(action.value, o == "--lock");
    if (auto field = editFields().find(o); field != editFields().end()) {
      const Secret* secret = secretOf(o);
      if (!secret) return type(field->second, action.value, o);
      const std::string text =
          o.ends_with("-stdin") ? firstLine(std::cin) : secretFromFile(action.value, *secret);
      return type(field->second, text, tr(secret->what));
    }
    throw UsageError{tr("unknown action {0}", {o})};
  }

 private:
  HeadlessControl& control(const std::string& name, const std::string& what) {
    HeadlessControl* c = view_.control(name);
    if (!c) throw RefusedAction{tr("{0}: this panel has no such control ({1})", {what, name})};
    return *c;
  }

  void mustAccept(const HeadlessControl& c, const std::string& what) {
    if (!c.acceptsUser() || !c.isShownEnabled())
      throw RefusedAction{tr("{0}: the control is disabled now ({1})", {what, labelOf(c.name())})};
  }

  // The words the panel shows for a control, in quotes: its own title, else
  // the label beside it (a field's or a lock's label, or the radio button that
  // chooses the field), without the colon; its name when it shows none.
  std::string labelOf(const std::string& name) const {
    std::string stem = name;
    for (const char* kind : {"EditText", "Button", "CheckBox", "RadioButton", "Popup"})
      if (stem.ends_with(kind)) stem.resize(stem.size() - std::string_view(kind).size());
    for (const std::string& candidate : {name, stem + "StaticText", stem + "RadioButton"}) {
      const HeadlessControl* label = view_.control(candidate);
      std::u16string text = label ? label->title() : std::u16string();
      if (label && text.empty() && candidate != name) text = label->stringValue();
      while (!text.empty() &&
             (text.back() == u':' || text.back() == u'\uFF1A' || text.back() == u' '))
        text.pop_back();
      if (!text.empty()) return "\"" + escapeControls(toUtf8(text)) + "\"";
    }
    return name;
  }

  void retention(const std::string& value) {
    if (value != "on" && value != "off") throw UsageError{tr("--retention takes on or off")};
    HeadlessControl& box = control("retentionCheckBox", "--retention");
    mustAccept(box, "--retention");
    box.userSetState(value == "on" ? 1 : 0);
  }

  // Selects the row of a matrix cell, by the cell's outlet.
  void selectCell(const std::string& cellName, const std::string& what) {
    HeadlessControl& cell = control(cellName, what);
    HeadlessControl* matrix = cell.matrix();
    if (!matrix) throw RefusedAction{tr("{0}: {1} stands in no matrix", {what, cellName})};
    mustAccept(*matrix, what);
    if (!matrix->userSelectRow(cell.row()))
      throw RefusedAction{tr("{0}: the choice was not taken ({1})", {what, labelOf(cellName)})};
  }

  void holdMode(const std::string& value) {
    static const std::map<std::string, std::string, std::less<>> cells = {
        {"hold-only", "holdOnlyRadioButton"},
        {"hold-after-print", "holdAfterRadioButton"},
        {"sample-print", "samplePrintRadioButton"}};
    const auto cell = cells.find(value);
    if (cell == cells.end())
      throw UsageError{tr("--hold-mode takes hold-only, hold-after-print or sample-print")};
    selectCell(cell->second, "--hold-mode " + value);
  }

  void authentication(const std::string& value) {
    if (value == "login")
      selectCell("authenticationRadioButton", "--auth login");
    else if (value == "user-number")
      selectCell("userNumberRadioButton", "--auth user-number");
    else
      throw UsageError{tr("--auth takes login or user-number")};
  }

  void selectItem(HeadlessControl& popUp, int index, const std::string& what) {
    mustAccept(popUp, what);
    if (!popUp.userSelectItem(index))
      throw RefusedAction{tr("{0}: the choice was not taken", {what})};
  }

  void folder(const std::string& value) {
    const std::string what = "--folder " + value;
    HeadlessControl* popUp = view_.control("folderSelectionPopup");
    const FolderChoice choice = chooseFolder(printerFolders(popUp), fromUtf8(value));
    switch (choice.kind) {
      case FolderChoice::PopUpItem:
        return selectItem(*popUp, choice.index, what);
      case FolderChoice::Quick:
      case FolderChoice::Main:
        return fixedFolder(choice.kind == FolderChoice::Quick ? 0 : 1, what);
      case FolderChoice::Custom: {
        HeadlessControl* matrix = view_.control("folderSelectionMatrix");
        if (!matrix) throw RefusedAction{tr("{0}: this panel has no custom folder", {what})};
        mustAccept(*matrix, what);
        matrix->userSelectRow(2);
        return;
      }
      case FolderChoice::Ambiguous:
        throw RefusedAction{
            tr("{0}: more than one printer folder has this name: {1}; choose one "
               "with --folder-index",
               {what, candidates(choice.matches)})};
      case FolderChoice::NotFound:
        break;
    }
    if (!popUp) throw RefusedAction{tr("{0}: this panel lists no printer folders", {what})};
    throw RefusedAction{
        tr("{0}: the printer has no folder of that name (fetch the list with the "
           "folders command first)",
           {what})};
  }

  // Quick file (0) or the main folder (1), in the pop-up and the matrix.
  void fixedFolder(int choice, const std::string& what) {
    HeadlessControl* popUp = view_.control("folderSelectionPopup");
    HeadlessControl* matrix = view_.control("folderSelectionMatrix");
    if (!popUp && !matrix) throw RefusedAction{tr("{0}: this panel has no folder choice", {what})};
    if (popUp) selectItem(*popUp, choice, what);
    if (matrix) {
      mustAccept(*matrix, what);
      matrix->userSelectRow(choice);
    }
  }

  void folderIndex(const std::string& value) {
    const std::string what = "--folder-index " + value;
    HeadlessControl& popUp = control("folderSelectionPopup", what);
    int index = -1;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), index);
    if (error != std::errc() || end != value.data() + value.size() || index < 0)
      throw UsageError{tr("--folder-index takes an item's position, 0 or more")};
    const MenuItem* item = popUp.itemAtIndex(index);
    if (!item || item->separator)
      throw RefusedAction{tr("{0}: the folder pop-up has no such item (it has {1})",
                             {what, std::to_string(popUp.numberOfItems())})};
    selectItem(popUp, index, what);
  }

  // The printer's folders: the pop-up's items after quick file, the main
  // folder and the separator.
  static std::vector<FolderItem> printerFolders(const HeadlessControl* popUp) {
    std::vector<FolderItem> folders;
    if (!popUp) return folders;
    for (int i = 3; i < popUp->numberOfItems(); ++i)
      if (const MenuItem* item = popUp->itemAtIndex(i); item && !item->separator)
        folders.push_back({i, item->title});
    return folders;
  }

  static std::string candidates(const std::vector<FolderItem>& matches) {
    std::string text;
    for (const FolderItem& m : matches)
      text += (text.empty() ? "\"" : ", \"") + escapeControls(toUtf8(m.title)) +
              "\" (--folder-index " + std::to_string(m.index) + ")";
    return text;
  }

  void hold(const std::string& field, bool on) {
    const auto box = holdBoxes().find(field);
    if (box == holdBoxes().end()) throw UsageError{tr("unknown field to lock: {0}", {field})};
    const std::string what = std::string(on ? "--lock " : "--unlock ") + field;
    HeadlessControl& c = control(box->second, what);
    mustAccept(c, what);
    c.userSetState(on ? 1 : 0);
  }

  void type(const std::string& fieldName, const std::string& text, const std::string& what) {
    HeadlessControl& field = control(fieldName, what);
    if (!field.acceptsUser() || !field.isEditable())
      throw RefusedAction{
          tr("{0}: the field cannot be edited now ({1})", {what, labelOf(fieldName)})};
    field.userClear();
    const std::u16string value = fromUtf8(text);
    if (!field.userType(value))
      throw RefusedAction{
          tr("{0}: the field does not accept this value ({1})", {what, labelOf(fieldName)})};
  }

  // The first line, without its CR LF. A line longer than any field takes is
  // cut after kMaxLine bytes (the field then refuses it), so that an endless
  // input such as /dev/zero is not read into memory.
  static std::string firstLine(std::istream& in) {
    constexpr std::size_t kMaxLine = 4096;
    std::string line;
    for (char c = 0; line.size() <= kMaxLine && in.get(c) && c != '\n';) line += c;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }

  // Any file that reads (a pipe of the shell's <(...) too), not only a
  // regular one.
  static std::string secretFromFile(const std::string& file, const Secret& secret) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw UsageError{tr(Message(secret.unreadable.pattern, {file}))};
    return firstLine(in);
  }

  HeadlessView& view_;
};

}  // namespace

void applyUserActions(const std::vector<UserAction>& actions, HeadlessView& view) {
  Player player(view);
  for (const UserAction& action : actions) player.apply(action);
}

}  // namespace jc::cli
