#include "hosts/cli/report.h"

#include "hosts/cli/terminal_text.h"
#include "hosts/cli/translation.h"
#include "hosts/common/controls_json.h"
#include "platform/text.h"

namespace jc::cli {
nlohmann::ordered_json printSettingsJson(const PrintSettings& settings) {
  nlohmann::ordered_json entries = nlohmann::ordered_json::object();
  for (int i = 0; i < settings.count(); ++i)
    entries[settings.options()[i].name] = settings.options()[i].value;
  return entries;
}

nlohmann::ordered_json folderListJson(const std::optional<FolderList>& folders) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  if (folders)
    for (const FolderEntry& f : *folders)
      list.push_back(
          {{"name", toUtf8(f.name)}, {"password", f.password}, {"dir", f.dir}, {"add", f.add}});
  return list;
}

nlohmann::ordered_json reportJson(const Report& report) {
  nlohmann::ordered_json out = nlohmann::ordered_json::object();
  if (report.panel) {
    const LifecycleFlags flags = report.panel->lifecycleFlags();
    out["panel"] = {{"name", toUtf8(report.panel->panelName())},
                    {"kind", report.panel->panelKind()},
                    {"hasInited", flags.hasInited},
                    {"callRestoreValuesFunction", flags.callRestoreValuesFunction},
                    {"callSaveValuesFunction", flags.callSaveValuesFunction},
                    {"isPanelViewRetain", flags.isPanelViewRetain}};
    nlohmann::ordered_json summary = nlohmann::ordered_json::object();
    for (const auto& [label, value] : report.panel->summaryInfo())
      summary[toUtf8(label)] = toUtf8(value);
    out["summary"] = std::move(summary);
  }
  if (report.view) {
    out["controls"] = controlsJson(*report.view);
    out["focus"] = focusJson(*report.view);
  } else {
    out["controls"] = nlohmann::ordered_json::object();
    out["focus"] = nullptr;
  }
  if (report.settings) out["printSettings"] = printSettingsJson(*report.settings);
  if (report.withFolderList && report.panel)
    out["folderList"] = folderListJson(report.panel->folders());
  return out;
}

namespace {

// Output for programs reads the same in every language.
std::vector<std::string> englishNotes(const StandardAttributePlan& plan) {
  std::vector<std::string> notes;
  for (const Message& note : plan.notes) notes.push_back(note.text());
  return notes;
}

}  // namespace

nlohmann::ordered_json standardAttributesJson(StandardAttributeMode mode,
                                              const StandardAttributePlan& plan) {
  nlohmann::ordered_json options = nlohmann::ordered_json::object();
  for (const auto& [name, value] : plan.options) options[name] = shownValue(name, value);
  return {{"mode", standardAttributeModeName(mode)},
          {"options", std::move(options)},
          {"notes", englishNotes(plan)}};
}

void printControls(std::ostream& out, const HeadlessView& view) {
  for (const ControlSnapshot& c : view.snapshot()) {
    out << "  " << c.name << " (" << controlKindName(c.kind) << ")";
    if (c.state) out << " state=" << *c.state;
    if (c.selectedRow) out << " row=" << *c.selectedRow;
    if (c.selectedIndex) out << " index=" << *c.selectedIndex;
    if (c.text && !c.text->empty()) out << " \"" << escapeControls(toUtf8(*c.text)) << "\"";
    if (c.items && c.kind == ControlKind::PopUp) {
      out << " [";
      bool first = true;
      for (const ItemSnapshot& item : *c.items) {
        out << (first ? "" : ", ") << (item.separator ? "---" : escapeControls(toUtf8(item.title)));
        if (item.iconType) out << " (" << iconName(item.iconType) << ")";
        first = false;
      }
      out << "]";
    }
    if (!c.enabled) out << " " << tr("disabled");
    if (c.hidden) out << " " << tr("hidden");
    out << "\n";
  }
}

void printSettingsLines(std::ostream& out, const PrintSettings& settings) {
  for (int i = 0; i < settings.count(); ++i)
    out << escapeControls(settings.options()[i].name) << "="
        << escapeControls(settings.options()[i].value) << "\n";
}

void printFolderList(std::ostream& out, const std::optional<FolderList>& folders) {
  if (!folders || folders->empty()) {
    out << tr("(no folders)") << "\n";
    return;
  }
  for (const FolderEntry& f : *folders)
    out << escapeControls(toUtf8(f.name)) << (f.password ? "  " + tr("[pass code]") : "") << "\n";
}

void printStandardAttributeNotes(std::ostream& out, const StandardAttributePlan& plan) {
  for (const Message& note : plan.notes) out << tr("note: {0}", {escapeControls(tr(note))}) << "\n";
}

}  // namespace jc::cli
