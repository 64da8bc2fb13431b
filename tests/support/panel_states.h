// Opening a panel on a chosen layout with a folder list, and reading a
// control's enabled look as the user sees it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/panel_fixture.h"

namespace jc::test {

// make(), then the folder list (as fetched earlier), then panelView, willShow
// and restore on the layout of UI mode `uiMode`.
KorvelPrintPdeVx418JC& openPanel(PanelFixture& f, int uiMode,
                                 std::optional<FolderList> folders = std::nullopt);

// A text field: drawn enabled (black, and an edit field editable and
// selectable); any other control: enabled.
bool shownEnabled(const HeadlessControl& control);

// The names among `names` whose controls are shown enabled / disabled; a name
// the view lacks is in neither.
std::vector<std::string> shownEnabledOf(const HeadlessView& view,
                                        const std::vector<std::string>& names);
std::vector<std::string> shownDisabledOf(const HeadlessView& view,
                                         const std::vector<std::string>& names);

}  // namespace jc::test
