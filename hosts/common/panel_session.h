// The print dialog's order for one Job Control panel, as every host plays it:
// the module's factory makes the panel for the host's printer, the host asks
// for its view and puts it where it shows, the panel is told it will show and
// restores its values; when the user prints, the panel saves its entries into
// the job's print settings and stores the preferences (should-print).
#pragma once

#include <functional>
#include <memory>

#include "hosts/common/host_error.h"
#include "hosts/common/module_loader.h"
#include "plugin/host.h"
#include "plugin/print_dialog_extension.h"
#include "ui/toolkit.h"

namespace jc {

// A module whose entry makes no factory, whose factory makes no panel, or a
// panel that has no view; the message says which.
class PanelError : public HostError {
 public:
  using HostError::HostError;
};

// The module's factory, made and given its bundle once; a host keeps it for
// as long as it opens panels. The module must outlive it.
class PanelFactory {
 public:
  // Throws PanelError when the module's entry answers no factory.
  explicit PanelFactory(const LoadedModule& module);

  PDEPlugIn& plugIn() const { return *factory_; }

 private:
  std::unique_ptr<PDEPlugIn> factory_;
};

// One panel from opening to printing. The host (its settings, toolkit and
// event loop) must outlive the session; the view goes with the panel.
class PanelSession {
 public:
  // Called with the new panel and its view before the panel is told it will
  // show: the host puts the view where it shows. It may throw, and the panel
  // is gone.
  using PlaceView = std::function<void(PrintDialogExtension&, View&)>;

  // The dialog's opening: the factory's panel for `host`, its view (handed to
  // `place`), will-show, restore. Throws PanelError when the factory makes no
  // panel or the panel no view.
  static PanelSession open(const PanelFactory& factory, HostCallback& host,
                           const PlaceView& place = {});

  PrintDialogExtension& panel() const { return *panel_; }
  View& view() const { return *view_; }

  // The user saves: the panel writes its entries into the print settings.
  void save();
  // The user prints: save, then should-print, which stores the preferences.
  void finish();

 private:
  PanelSession(std::unique_ptr<PrintDialogExtension> panel, View& view);

  std::unique_ptr<PrintDialogExtension> panel_;
  View* view_;
};

}  // namespace jc
