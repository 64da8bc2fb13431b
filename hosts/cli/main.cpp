// jobcontrol: the print dialog's Job Control panel on the command line.
#include <iostream>
#include <memory>
#include <optional>

#include "hosts/cli/cli_host.h"
#include "hosts/cli/cli_options.h"
#include "hosts/cli/exit_status.h"
#include "hosts/cli/jobs_command.h"
#include "hosts/cli/printer_notices.h"
#include "hosts/cli/queue_command.h"
#include "hosts/cli/report.h"
#include "hosts/cli/settings_file.h"
#include "hosts/cli/terminal_text.h"
#include "hosts/cli/translation.h"
#include "hosts/cli/user_actions.h"
#include "hosts/common/cups_destination.h"
#include "hosts/common/held_job_release.h"
#include "hosts/common/held_jobs.h"
#include "hosts/common/host_version.h"
#include "hosts/common/module_loader.h"
#include "hosts/common/panel_session.h"
#include "platform/directory_bundle.h"
#include "platform/text.h"

namespace jc::cli {
namespace {

void say(const std::string& message) { std::cerr << "jobcontrol: " << message << "\n"; }

int fail(int status, const std::string& message) {
  say(message);
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

// The printer the options name: a CUPS queue (its PPD kept while the
// dialog runs), a printer without CUPS, or the bundled sample printer.
class ChosenPrinter {
 public:
  // Throws RefusedAction when CUPS does not know the queue.
  ChosenPrinter(const Options& options, const std::filesystem::path& bundle) {
    if (options.cupsPrinter) {
      try {
        destination_.emplace(*options.cupsPrinter);
      } catch (const DestinationError& e) {
        throw RefusedAction{tr(e.message())};
      }
    }
    info_ = destination_ ? destination_->printer() : printerWithoutCups(options, bundle);
  }
  const PrinterInfo& info() const { return info_; }

 private:
  std::optional<CupsDestination> destination_;
  PrinterInfo info_;
};

// Refuses the files the options name that are not there, before anything is read.
void refuseMissingFiles(const Options& options) {
  std::error_code ec;
  if (options.printFile && !std::filesystem::is_regular_file(*options.printFile, ec))
    throw RefusedAction{tr("no file to print at {0}", {*options.printFile})};
  if (options.ppdFile && !std::filesystem::is_regular_file(*options.ppdFile, ec))
    throw RefusedAction{tr("no PPD file at {0}", {*options.ppdFile})};
}

std::optional<std::filesystem::path> prefsFolderOf(const Options& options) {
  if (!options.prefsDir) return std::nullopt;
  return std::filesystem::path(*options.prefsDir);
}

// One run of the dialog: what the options asked for, the printer, the host
// and the open panel with the controls the user acts on (null: none).
struct Dialog {
  const Options& options;
  const PrinterInfo& printer;
  CliHost& host;
  PanelSession& session;
  HeadlessView* view;

  PrintDialogExtension& panel() const { return session.panel(); }
};

// The user's actions, played at the panel's controls.
HeadlessView* actAtPanel(const Options& options, PanelSession& session) {
  auto* view = dynamic_cast<HeadlessView*>(&session.view());
  if (!view && !options.actions.empty())
    throw RefusedAction{tr("the panel shows no controls to act on")};
  if (view) applyUserActions(options.actions, *view);
  return view;
}

// What a command came to besides the panel's own state.
struct CommandResult {
  int status = kSucceeded;
  std::optional<StandardAttributePlan> plan = std::nullopt;  // none: not reported
  nlohmann::ordered_json job = nullptr;                      // null: no job
  bool withFolderList = false;
};

StandardAttributePlan planOf(const Dialog& dialog) {
  return standardAttributePlan(dialog.options.standardAttributes, dialog.panel(), dialog.printer,
                               dialog.host.ppdFile());
}

void writeBackSettings(const Dialog& dialog) {
  if (dialog.options.settingsFile)
    writeSettingsFile(*dialog.options.settingsFile, dialog.host.settings());
}

CommandResult save(const Dialog& dialog) {
  dialog.session.save();
  writeBackSettings(dialog);
  return {.plan = planOf(dialog)};
}

// The job to the CUPS destination; the PIN goes only into the job's own
// options, never into the settings file or the report.
nlohmann::ordered_json sendToQueue(const Dialog& dialog, const std::string& title,
                                   const StandardAttributePlan& plan) {
  const std::string& queue = *dialog.printer.cupsDestination;
  const int id = sendJob(queue, *dialog.options.printFile, title,
                         withStandardAttributes(dialog.host.settings(), plan));
  if (!dialog.options.json)
    std::cout << tr("Sent as job {0} to {1}", {std::to_string(id), queue}) << "\n";
  return {{"destination", queue}, {"sent", true}, {"jobId", id}};
}

// Without a CUPS destination: where the job would have gone.
nlohmann::ordered_json describeUnsent(const Dialog& dialog, const std::string& title) {
  const PrinterInfo& printer = dialog.printer;
  if (!dialog.options.json)
    std::cout << tr("No CUPS destination: \"{0}\" would have gone to {1} at {2} with these "
                    "entries:",
                    {title, printer.id, printer.deviceURI.value_or(tr("(no device URI)"))})
              << "\n";
  return {{"destination", printer.id},
          {"deviceURI", printer.deviceURI ? nlohmann::ordered_json(*printer.deviceURI) : nullptr},
          {"sent", false}};
}

CommandResult print(const Dialog& dialog) {
  dialog.session.finish();
  writeBackSettings(dialog);
  CommandResult result{.plan = planOf(dialog)};
  const std::string title = dialog.host.settings().jobName().value_or(
      std::filesystem::path(*dialog.options.printFile).filename().string());
  result.job = dialog.printer.cupsDestination ? sendToQueue(dialog, title, *result.plan)
                                              : describeUnsent(dialog, title);
  return result;
}

// The held job goes on with the entries the dialog saved, as print's job
// would have carried them.
CommandResult release(const Dialog& dialog) {
  dialog.session.finish();
  writeBackSettings(dialog);
  CommandResult result{.plan = planOf(dialog)};
  const int id = *dialog.options.releaseJobId;
  const std::string& queue = *dialog.printer.cupsDestination;
  releaseWithEntries(id, dialog.host.settings(), *result.plan);
  if (!dialog.options.json)
    std::cout << tr("Released job {0} on {1} with these entries:", {std::to_string(id), queue})
              << "\n";
  result.job = {{"destination", queue}, {"jobId", id}, {"released", true}};
  return result;
}

// What the folder-list button came to: success when the printer gave its
// list, else kNoFolders with what happened said on stderr.
int folderListStatus(const Dialog& dialog) {
  const std::optional<FolderListOutcome> outcome = dialog.panel().folderListOutcome();
  if (outcome && outcome->kind == FolderListOutcome::Kind::Success &&
      dialog.host.headlessToolkit().alerts().empty())
    return kSucceeded;
  return fail(kNoFolders, outcome ? escapeControls(tr(outcome->wording))
                                  : tr("no folder list was asked for: the printer's address is "
                                       "empty"));
}

CommandResult folders(const Dialog& dialog) {
  HeadlessControl* button = dialog.view ? dialog.view->control("getFolderNameButton") : nullptr;
  if (!button) throw RefusedAction{tr("this panel has no folder-list button")};
  if (!button->acceptsUser()) throw RefusedAction{tr("the folder-list button is disabled now")};
  button->userClick();
  return {.status = folderListStatus(dialog), .withFolderList = true};
}

CommandResult runCommand(const Dialog& dialog) {
  switch (dialog.options.command) {
    case Command::Show:
      return {.plan = planOf(dialog)};
    case Command::Save:
      return save(dialog);
    case Command::Print:
      return print(dialog);
    case Command::Folders:
      return folders(dialog);
    case Command::Release:
      return release(dialog);
    case Command::Queue:
    case Command::Jobs:
      break;
  }
  return {};
}

void printJson(const Dialog& dialog, const CommandResult& result) {
  const Report report{&dialog.panel(), dialog.view, &dialog.host.settings(), result.withFolderList};
  nlohmann::ordered_json out = reportJson(report);
  if (result.plan)
    out["standardAttributes"] =
        standardAttributesJson(dialog.options.standardAttributes, *result.plan);
  if (!result.job.is_null()) out["job"] = result.job;
  std::cout << out.dump(2) << "\n";
}

void printLines(const Dialog& dialog, const CommandResult& result) {
  PrintDialogExtension& panel = dialog.panel();
  switch (dialog.options.command) {
    case Command::Show:
      std::cout << tr("{0} ({1}) for {2}",
                      {toUtf8(panel.panelName()), panel.panelKind(), dialog.printer.id})
                << "\n";
      if (dialog.view) printControls(std::cout, *dialog.view);
      break;
    case Command::Save:
    case Command::Print:
    case Command::Release:
      printSettingsLines(std::cout, dialog.host.settings());
      break;
    case Command::Folders:
      printFolderList(std::cout, panel.folders());
      break;
    case Command::Queue:
    case Command::Jobs:
      break;
  }
  if (result.plan) printStandardAttributeNotes(std::cout, *result.plan);
}

// Says on stderr what the panel alerted and whether the preferences were
// stored; answers the run's exit status.
int finalStatus(const Dialog& dialog, int status) {
  for (const AlertRecord& alert : dialog.host.headlessToolkit().alerts())
    say(toUtf8(alert.message));
  const std::optional<Message> error = dialog.panel().preferencesError();
  if (!error) return status;
  say(tr("the printer's preferences were not stored: {0}", {escapeControls(tr(*error))}));
  return status == kSucceeded ? kPreferencesNotStored : status;
}

int printVersion() {
  try {
    printHostVersion(std::cout, "jobcontrol");
    return kSucceeded;
  } catch (const ModuleError& e) {
    return fail(kFailed, tr(e.message()));
  }
}

struct HeldJobProblem {
  int status;
  std::string message;
};

// release's options: the held job's printer and, unless given, its title as
// the application named the job. Throws HeldJobProblem for a job that is not
// the user's held job.
Options forHeldJob(const Options& options) {
  const int id = *options.releaseJobId;
  const HeldJobLookup found = lookUpHeldJob(id);
  const std::string message = tr(heldJobProblem(id, found.kind));
  switch (found.kind) {
    case HeldJobLookup::Kind::Held:
      break;
    case HeldJobLookup::Kind::Gone:
      throw HeldJobProblem{kJobGone, message};
    case HeldJobLookup::Kind::NotHeld:
      throw HeldJobProblem{kJobNotHeld, message};
    case HeldJobLookup::Kind::NotYours:
      throw HeldJobProblem{kJobNotYours, message};
  }
  Options withJob = options;
  withJob.cupsPrinter = found.job->printer;
  if (!withJob.title) withJob.title = found.job->title;
  return withJob;
}

int runDialog(const Options& options);

// The commands without a dialog first; release plays it for the held job.
int run(const Options& options) {
  switch (options.command) {
    case Command::Queue:
      return runQueueCommand(options);
    case Command::Jobs:
      return runJobsCommand(options.json);
    case Command::Release:
      try {
        return runDialog(forHeldJob(options));
      } catch (const HeldJobProblem& problem) {
        return fail(problem.status, problem.message);
      } catch (const HeldJobReleaseError& e) {
        return fail(e.refused() ? kJobNotYours : kFailed, tr(e.message()));
      }
    default:
      return runDialog(options);
  }
}

// The dialog's order: the printer, its host and the job's settings as the
// application hands them over, the panel opened, the user's actions, the
// command, the report.
int runDialog(const Options& options) {
  static const int anchor = 0;
  const auto bundle = DirectoryBundle::findFolder(&anchor);
  if (!bundle) return fail(kFailed, tr("cannot find the panel's resources (share/jobcontrol)"));
  refuseMissingFiles(options);
  const ChosenPrinter printer(options, *bundle);
  CliHost host(printer.info(), prefsFolderOf(options));
  if (options.settingsFile) readSettingsFile(*options.settingsFile, host.settings());
  if (options.title) host.settings().setJobName(*options.title);

  const LoadedModule module(defaultModulePath());
  const PanelFactory factory(module);
  PanelSession session =
      PanelSession::open(factory, host, [&](const PrintDialogExtension& panel, View&) {
        printPrinterNotices(std::cerr, options, queueKindOf(printer.info(), host.ppdFile()), panel);
      });
  const Dialog dialog{options, printer.info(), host, session, actAtPanel(options, session)};
  const CommandResult result = runCommand(dialog);
  if (options.json)
    printJson(dialog, result);
  else
    printLines(dialog, result);
  return finalStatus(dialog, result.status);
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
    return kRefused;
  }
  if (options.help) {
    std::cout << usageText();
    return kSucceeded;
  }
  if (options.version) return printVersion();
  if (options.json) keepThePanelInEnglish();
  try {
    return run(options);
  } catch (const UsageError& e) {
    return fail(kRefused, e.message);
  } catch (const RefusedAction& e) {
    return fail(kRefused, e.message);
  } catch (const jc::HostError& e) {
    return fail(kFailed, tr(e.message()));
  } catch (const std::exception& e) {
    return fail(kFailed, e.what());
  }
}
