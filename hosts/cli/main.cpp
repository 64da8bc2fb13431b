// jobcontrol: the print dialog's Job Control panel on the command line.
#include <iostream>
#include <memory>
#include <optional>

#include "hosts/cli/cli_host.h"
#include "hosts/cli/cli_options.h"
#include "hosts/cli/report.h"
#include "hosts/cli/settings_file.h"
#include "hosts/cli/terminal_text.h"
#include "hosts/cli/translation.h"
#include "hosts/cli/user_actions.h"
#include "hosts/common/cups_destination.h"
#include "hosts/common/host_version.h"
#include "hosts/common/module_loader.h"
#include "hosts/common/panel_session.h"
#include "platform/directory_bundle.h"
#include "platform/text.h"

namespace jc::cli {
namespace {

constexpr int kRefused = 2;
constexpr int kNoFolders = 3;
constexpr int kFailed = 1;
constexpr int kPreferencesNotStored = 4;

int fail(int status, const std::string& message) {
  std::cerr << "jobcontrol: " << message << "\n";
  return status;
}

PrinterInfo printerWithoutCups(const Options& options, const std::filesystem::path& bundle) {
  PrinterInfo printer = embeddedDefaultPrinter(bundle);
  if (!options.ppdFile && !options.deviceURI && !options.printerID) return printer;
  if (options.ppdFile) printer.ppdFile = *options.ppdFile;
  printer.deviceURI = options.deviceURI;
  printer.id = options.printerID ? *options.printerID
                                 : std::filesystem::path(printer.ppdFile).stem().string();
  return printer;
}

// What the folder-list button came to: 0 when the printer gave its list, else
// kNoFolders with what happened said on stderr.
int folderListStatus(const PrintDialogExtension& panel, CliHost& host) {
  const std::optional<FolderListOutcome> outcome = panel.folderListOutcome();
  if (outcome && outcome->kind == FolderListOutcome::Kind::Success &&
      host.headlessToolkit().alerts().empty())
    return 0;
  std::cerr << "jobcontrol: "
            << (outcome ? escapeControls(tr(outcome->wording))
                        : tr("no folder list was asked for: the printer's address is empty"))
            << "\n";
  return kNoFolders;
}

int printVersion() {
  try {
    printHostVersion(std::cout, "jobcontrol");
    return 0;
  } catch (const ModuleError& e) {
    return fail(kFailed, tr(e.message()));
  }
}

int run(const Options& options) {
  static const int anchor = 0;
  const auto bundle = DirectoryBundle::findFolder(&anchor);
  if (!bundle) return fail(kFailed, tr("cannot find the panel's resources (share/jobcontrol)"));

  if (options.printFile) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(*options.printFile, ec))
      return fail(kRefused, tr("no file to print at {0}", {*options.printFile}));
  }
  if (options.ppdFile) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(*options.ppdFile, ec))
      return fail(kRefused, tr("no PPD file at {0}", {*options.ppdFile}));
  }

  std::optional<CupsDestination> destination;
  if (options.cupsPrinter) {
    try {
      destination.emplace(*options.cupsPrinter);
    } catch (const DestinationError& e) {
      return fail(kRefused, tr(e.message()));
    }
  }
  const PrinterInfo printer =
      destination ? destination->printer() : printerWithoutCups(options, *bundle);
  std::optional<std::filesystem::path> prefs;
  if (options.prefsDir) prefs = *options.prefsDir;

  CliHost host(printer, prefs);
  if (options.settingsFile) readSettingsFile(*options.settingsFile, host.settings());
  if (options.title) host.settings().setJobName(*options.title);

  LoadedModule module(defaultModulePath());
  const PanelFactory factory(module);
  PanelSession session = PanelSession::open(factory, host);
  PrintDialogExtension& panel = session.panel();
  auto* headless = dynamic_cast<HeadlessView*>(&session.view());
  if (!headless && !options.actions.empty())
    return fail(kRefused, tr("the panel shows no controls to act on"));
  if (headless) applyUserActions(options.actions, *headless);

  Report report{&panel, headless, &host.settings(), false};
  nlohmann::ordered_json job;
  std::optional<StandardAttributePlan> plan;
  auto planNow = [&] {
    return standardAttributePlan(options.standardAttributes, panel, printer, host.ppdFile());
  };
  int status = 0;
  switch (options.command) {
    case Command::Show:
      plan = planNow();
      break;
    case Command::Save:
      session.save();
      if (options.settingsFile) writeSettingsFile(*options.settingsFile, host.settings());
      plan = planNow();
      break;
    case Command::Print: {
      session.finish();
      if (options.settingsFile) writeSettingsFile(*options.settingsFile, host.settings());
      plan = planNow();
      const std::string title = host.settings().jobName().value_or(
          std::filesystem::path(*options.printFile).filename().string());
      if (printer.cupsDestination) {
        // The PIN goes only into the job's own options, never into the
        // settings file or the report.
        const int id = sendJob(*printer.cupsDestination, *options.printFile, title,
                               withStandardAttributes(host.settings(), *plan));
        job = {{"destination", *printer.cupsDestination}, {"sent", true}, {"jobId", id}};
        if (!options.json)
          std::cout << tr("Sent as job {0} to {1}", {std::to_string(id), *printer.cupsDestination})
                    << "\n";
      } else {
        job = {
            {"destination", printer.id},
            {"deviceURI", printer.deviceURI ? nlohmann::ordered_json(*printer.deviceURI) : nullptr},
            {"sent", false}};
        if (!options.json)
          std::cout << tr("No CUPS destination: \"{0}\" would have gone to {1} at {2} with these "
                          "entries:",
                          {title, printer.id, printer.deviceURI.value_or(tr("(no device URI)"))})
                    << "\n";
      }
      break;
    }
    case Command::Folders: {
      HeadlessControl* button = headless ? headless->control("getFolderNameButton") : nullptr;
      if (!button) return fail(kRefused, tr("this panel has no folder-list button"));
      if (!button->acceptsUser())
        return fail(kRefused, tr("the folder-list button is disabled now"));
      button->userClick();
      report.withFolderList = true;
      status = folderListStatus(panel, host);
      break;
    }
  }

  if (options.json) {
    nlohmann::ordered_json out = reportJson(report);
    if (plan) out["standardAttributes"] = standardAttributesJson(options.standardAttributes, *plan);
    if (!job.is_null()) out["job"] = job;
    std::cout << out.dump(2) << "\n";
  } else {
    switch (options.command) {
      case Command::Show:
        std::cout << tr("{0} ({1}) for {2}",
                        {toUtf8(panel.panelName()), panel.panelKind(), printer.id})
                  << "\n";
        if (headless) printControls(std::cout, *headless);
        break;
      case Command::Save:
      case Command::Print:
        printSettingsLines(std::cout, host.settings());
        break;
      case Command::Folders:
        printFolderList(std::cout, panel.folders());
        break;
    }
    if (plan) printStandardAttributeNotes(std::cout, *plan);
  }
  for (const AlertRecord& alert : host.headlessToolkit().alerts())
    std::cerr << "jobcontrol: " << toUtf8(alert.message) << "\n";
  if (const std::optional<Message> error = panel.preferencesError()) {
    std::cerr << "jobcontrol: "
              << tr("the printer's preferences were not stored: {0}", {escapeControls(tr(*error))})
              << "\n";
    if (status == 0) status = kPreferencesNotStored;
  }
  return status;
}

}  // namespace
}  // namespace jc::cli

int main(int argc, char** argv) {
  using namespace jc::cli;
  Options options;
  try {
    options = parseOptions(argc, argv);
  } catch (const UsageError& e) {
    std::cerr << "jobcontrol: " << e.message << "\n" << tr("Try 'jobcontrol --help'.") << "\n";
    return 2;
  }
  if (options.help) {
    std::cout << usageText();
    return 0;
  }
  if (options.version) return printVersion();
  if (options.json) keepThePanelInEnglish();
  try {
    return run(options);
  } catch (const UsageError& e) {
    return fail(2, e.message);
  } catch (const RefusedAction& e) {
    return fail(2, e.message);
  } catch (const jc::HostError& e) {
    return fail(1, tr(e.message()));
  } catch (const std::exception& e) {
    return fail(1, e.what());
  }
}
