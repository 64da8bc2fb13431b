#include "hosts/common/panel_session.h"

#include <optional>
#include <utility>

namespace jc {
namespace {

// The one panel the factory makes for the print dialog's type.
std::unique_ptr<PrintDialogExtension> panelFrom(PDEPlugIn& factory, HostCallback& host) {
  std::optional<PanelList> panels = factory.PDEPanelsForType(kPrintDialogPanelType, &host);
  if (!panels || panels->empty() || !panels->front())
    throw PanelError(Message("the module made no Job Control panel"));
  return std::move(panels->front());
}

}  // namespace

PanelFactory::PanelFactory(const LoadedModule& module) : factory_(module.createFactory()) {
  if (!factory_)
    throw PanelError(Message("the panel module {0} made no factory", {module.file().string()}));
  factory_->initWithBundle(nullptr);
}

PanelSession::PanelSession(std::unique_ptr<PrintDialogExtension> panel, View& view)
    : panel_(std::move(panel)), view_(&view) {}

PanelSession PanelSession::open(const PanelFactory& factory, HostCallback& host,
                                const PlaceView& place) {
  std::unique_ptr<PrintDialogExtension> panel = panelFrom(factory.plugIn(), host);
  View* view = panel->panelView();
  if (!view) throw PanelError(Message("the panel has no view"));
  if (place) place(*panel, *view);
  panel->willShow();
  panel->restoreValuesAndReturnError(nullptr);
  return PanelSession(std::move(panel), *view);
}

void PanelSession::save() { panel_->saveValuesAndReturnError(nullptr); }

void PanelSession::finish() {
  save();
  panel_->shouldPrint();
}

}  // namespace jc
