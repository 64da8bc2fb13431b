// What the command line prints: one JSON object, or lines for a person.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>

#include "hosts/common/controls_json.h"
#include "hosts/common/standard_attribute_mode.h"
#include "hosts/headless/headless_view.h"
#include "plugin/print_dialog_extension.h"

namespace jc::cli {

struct Report {
  PrintDialogExtension* panel = nullptr;
  View* view = nullptr;
  const PrintSettings* settings = nullptr;
  bool withFolderList = false;
};

nlohmann::ordered_json printSettingsJson(const PrintSettings& settings);
nlohmann::ordered_json folderListJson(const std::optional<FolderList>& folders);
nlohmann::ordered_json reportJson(const Report& report);
// The mode, the plan's options (a PIN masked) and its notes.
nlohmann::ordered_json standardAttributesJson(StandardAttributeMode mode,
                                              const StandardAttributePlan& plan);

void printControls(std::ostream& out, const HeadlessView& view);
void printSettingsLines(std::ostream& out, const PrintSettings& settings);
void printFolderList(std::ostream& out, const std::optional<FolderList>& folders);
// One line per note of the plan.
void printStandardAttributeNotes(std::ostream& out, const StandardAttributePlan& plan);

}  // namespace jc::cli
