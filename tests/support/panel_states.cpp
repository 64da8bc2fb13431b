#include "support/panel_states.h"

namespace jc::test {

KorvelPrintPdeVx418JC& openPanel(PanelFixture& f, int uiMode, std::optional<FolderList> folders) {
  f.env.capabilities.uiMode = uiMode;
  KorvelPrintPdeVx418JC& panel = f.make();
  if (folders) panel.folderList = std::move(folders);
  panel.panelView();
  panel.willShow();
  panel.restoreValuesAndReturnError(nullptr);
  return panel;
}

bool shownEnabled(const HeadlessControl& c) {
  switch (c.kind()) {
    case ControlKind::Label:
      return c.textColor() == TextColor::Black;
    case ControlKind::EditField:
      return c.textColor() == TextColor::Black && c.isEditable() && c.isSelectable();
    default:
      return c.isEnabled();
  }
}

namespace {

std::vector<std::string> filtered(const HeadlessView& view, const std::vector<std::string>& names,
                                  bool enabled) {
  std::vector<std::string> out;
  for (const std::string& name : names)
    if (const HeadlessControl* c = view.control(name); c && shownEnabled(*c) == enabled)
      out.push_back(name);
  return out;
}

}  // namespace

std::vector<std::string> shownEnabledOf(const HeadlessView& view,
                                        const std::vector<std::string>& names) {
  return filtered(view, names, true);
}

std::vector<std::string> shownDisabledOf(const HeadlessView& view,
                                         const std::vector<std::string>& names) {
  return filtered(view, names, false);
}

}  // namespace jc::test
