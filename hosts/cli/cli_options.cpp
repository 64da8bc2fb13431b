#include "hosts/cli/cli_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string_view>

#include "hosts/cli/translation.h"

namespace jc::cli {
namespace {

// Actions that take a value, in the form "--name VALUE".
constexpr std::array<std::string_view, 19> kValueActions = {
    "--retention",     "--hold-mode",       "--passcode",
    "--passcode-file", "--folder",          "--folder-index",
    "--folder-name",   "--folder-passcode", "--folder-passcode-file",
    "--auth",          "--login-name",      "--password-file",
    "--user-number",   "--account-number",  "--user-name",
    "--job-name",      "--address",         "--lock",
    "--unlock"};

// Actions that read their secret from the standard input: one a run, since
// each would take its first line.
constexpr std::array<std::string_view, 3> kStdinActions = {"--password-stdin", "--passcode-stdin",
                                                           "--folder-passcode-stdin"};

bool isValueAction(std::string_view option) {
  return std::find(kValueActions.begin(), kValueActions.end(), option) != kValueActions.end();
}

bool isStdinAction(std::string_view option) {
  return std::find(kStdinActions.begin(), kStdinActions.end(), option) != kStdinActions.end();
}

}  // namespace

std::string usageText() {
  return tr(R"(Usage: jobcontrol [PRINTER] [--settings FILE] [--prefs-dir DIR] [--title TEXT]
                  [--standard-attributes auto|on|off] COMMAND [ACTIONS...] [--json]

Plays the print dialog's Job Control panel without a display: restore, the
user's actions in the order given, then the command.

PRINTER   --printer NAME                 a CUPS destination
          --ppd FILE --device-uri URI --printer-id ID
                                         a printer without CUPS; with none of
                                         these, the bundled sample printer
--settings FILE   the job's print settings, a JSON object of strings; read
                  before restore, written back after a save
--prefs-dir DIR   where per-printer preferences live
                  (default: $XDG_CONFIG_HOME/jobcontrol)
--title TEXT      the job's name as the application gives it
--standard-attributes auto|on|off
                  also send the pass code, user number and account number
                  as the standard job attributes job-password,
                  job-accounting-user-id and job-account-id; auto (the
                  default): for driverless CUPS queues only

COMMAND   show            print the panel
          save            save; print the print-settings entries
          print FILE      save, store the preferences and send the job
          folders         press the folder-list button; print the folders
          queue           a queue's Job Control state; --hold-jobs on|off: hold jobs
          jobs            your held jobs that wait for Job Control
          release JOB-ID  the dialog for a held job's printer; entries onto it

ACTIONS   --retention on|off           --hold-mode hold-only|hold-after-print|sample-print
          --passcode DIGITS            --folder NAME|quick|main|custom
          --folder-index N (the folder pop-up's item N, from 0)
          --folder-name TEXT           --folder-passcode DIGITS
          --passcode-file FILE | --passcode-stdin
          --folder-passcode-file FILE | --folder-passcode-stdin
          --auth login|user-number     --login-name TEXT
          --password-file FILE (its first line) | --password-stdin
          --user-number DIGITS         --account-number DIGITS
          --user-name TEXT             --job-name TEXT
          --address HOST[:PORT]
          --lock FIELD  --unlock FIELD
                 FIELD: passcode login-name password user-number account-number
                        user-name job-name folder-passcode folder-name
          Each ...-file FILE types the file's first line, each ...-stdin the
          first line of the standard input (one of them a run); other local
          users can read a command line, not a private file or the input.

--json    print one JSON object
--help    this text
--version the program's version and the panel module's interface version

Every option also takes its value as --option=VALUE; -- ends the options.

Exit status: 0 done, 2 a refused or malformed value (nothing written),
3 the printer's folders could not be retrieved, 4 done (a job is sent) but
the printer's preferences could not be stored, 5 no such job waits (none, or
it is done), 6 the job is not held, 7 the job is not yours (or CUPS refused
it as not yours), 8 CUPS refused to change the queue (it takes a print
administrator), 1 any other failure (the panel module missing or built for
another interface version too).
)");
}

namespace {

// One argument of the command line: "--name=value" is taken apart here.
struct Argument {
  std::string_view name;
  std::optional<std::string_view> inlineValue;
};

Argument split(std::string_view arg) {
  if (!arg.starts_with("--")) return {arg, std::nullopt};
  const auto equals = arg.find('=');
  if (equals == std::string_view::npos) return {arg, std::nullopt};
  return {arg.substr(0, equals), arg.substr(equals + 1)};
}

int jobIdOf(std::string_view arg) {
  int id = 0;
  const auto [end, error] = std::from_chars(arg.data(), arg.data() + arg.size(), id);
  if (error != std::errc() || end != arg.data() + arg.size() || id <= 0)
    throw UsageError{tr("release takes a job id (a positive number), not {0}", {std::string(arg)})};
  return id;
}

// The positional arguments: the command, then print's FILE or release's JOB-ID.
void takePositional(Options& options, bool& haveCommand, std::string_view arg) {
  if (!haveCommand) {
    haveCommand = true;
    if (arg == "show")
      options.command = Command::Show;
    else if (arg == "save")
      options.command = Command::Save;
    else if (arg == "folders")
      options.command = Command::Folders;
    else if (arg == "print")
      options.command = Command::Print;
    else if (arg == "queue")
      options.command = Command::Queue;
    else if (arg == "jobs")
      options.command = Command::Jobs;
    else if (arg == "release")
      options.command = Command::Release;
    else
      throw UsageError{tr("unknown command {0}", {std::string(arg)})};
  } else if (options.command == Command::Print && !options.printFile) {
    options.printFile = std::string(arg);
  } else if (options.command == Command::Release && !options.releaseJobId) {
    options.releaseJobId = jobIdOf(arg);
  } else {
    throw UsageError{tr("unexpected argument {0}", {std::string(arg)})};
  }
}

// The options that take a value, and where it goes.
std::optional<std::string>* printerOrFileOption(Options& options, std::string_view name) {
  if (name == "--printer") return &options.cupsPrinter;
  if (name == "--ppd") return &options.ppdFile;
  if (name == "--device-uri") return &options.deviceURI;
  if (name == "--printer-id") return &options.printerID;
  if (name == "--settings") return &options.settingsFile;
  if (name == "--prefs-dir") return &options.prefsDir;
  if (name == "--title") return &options.title;
  return nullptr;
}

bool namesAPrinter(const Options& options) {
  return options.cupsPrinter || options.ppdFile || options.deviceURI || options.printerID;
}

// The commands about held jobs and queues: which printer options they take.
void checkQueueCommands(const Options& options) {
  if (options.holdJobs && options.command != Command::Queue)
    throw UsageError{tr("--hold-jobs goes only with queue")};
  if (options.command == Command::Queue && !options.cupsPrinter)
    throw UsageError{tr("queue needs the CUPS queue: --printer NAME")};
  if (options.command == Command::Queue && (!options.actions.empty() || options.settingsFile))
    throw UsageError{tr("queue takes no actions and no --settings")};
  if (options.command == Command::Jobs && (namesAPrinter(options) || !options.actions.empty()))
    throw UsageError{tr("jobs takes no printer and no actions")};
  if (options.command == Command::Release && !options.releaseJobId)
    throw UsageError{tr("release needs the JOB-ID of a held job (see jobcontrol jobs)")};
  if (options.command == Command::Release && namesAPrinter(options))
    throw UsageError{tr("release takes its printer from the job: no printer option")};
}

void checkCombination(const Options& options, bool haveCommand) {
  if (options.help || options.version) return;
  if (!haveCommand)
    throw UsageError{
        tr("no command given (show, save, print FILE, folders, queue, jobs or release "
           "JOB-ID)")};
  if (options.command == Command::Print && !options.printFile)
    throw UsageError{tr("print needs the FILE to print")};
  checkQueueCommands(options);
  if (options.cupsPrinter && (options.ppdFile || options.deviceURI || options.printerID))
    throw UsageError{tr("--printer cannot be combined with --ppd, --device-uri or --printer-id")};
}

// The options that choose among a few words.
void takeSwitchOption(Options& options, std::string_view name, const std::string& word) {
  if (name == "--standard-attributes") {
    const auto parsed = parseStandardAttributeMode(word);
    if (!parsed)
      throw UsageError{tr("--standard-attributes takes auto, on or off, not {0}", {word})};
    options.standardAttributes = *parsed;
    return;
  }
  if (word != "on" && word != "off")
    throw UsageError{tr("--hold-jobs takes on or off, not {0}", {word})};
  options.holdJobs = word == "on";
}

}  // namespace

Options parseOptions(int argc, char** argv) {
  Options options;
  bool haveCommand = false;
  bool optionsEnded = false;
  std::optional<std::string> stdinTakenBy;  // the action that reads the standard input
  for (int i = 1; i < argc; ++i) {
    const std::string_view raw = argv[i];
    if (optionsEnded || raw == "-" || !raw.starts_with("-")) {
      takePositional(options, haveCommand, raw);
      continue;
    }
    if (raw == "--") {
      optionsEnded = true;
      continue;
    }
    const Argument arg = split(raw);
    const std::string name(arg.name);
    auto value = [&]() -> std::string {
      if (arg.inlineValue) return std::string(*arg.inlineValue);
      if (i + 1 >= argc) throw UsageError{tr("{0} needs a value", {name})};
      return argv[++i];
    };
    auto flag = [&](bool& target) {
      if (arg.inlineValue) throw UsageError{tr("{0} takes no value", {name})};
      target = true;
    };
    if (name == "--help" || name == "-h") {
      flag(options.help);
    } else if (name == "--version") {
      flag(options.version);
    } else if (name == "--json") {
      flag(options.json);
    } else if (name == "--standard-attributes" || name == "--hold-jobs") {
      takeSwitchOption(options, name, value());
    } else if (auto* target = printerOrFileOption(options, name)) {
      *target = value();
    } else if (isStdinAction(name)) {
      if (stdinTakenBy)
        throw UsageError{tr("{0} and {1} cannot both read the standard input",
                            {std::move(*stdinTakenBy), name})};
      bool unused = false;
      flag(unused);
      stdinTakenBy = name;
      options.actions.push_back({name, {}});
    } else if (isValueAction(name)) {
      options.actions.push_back({name, value()});
    } else {
      throw UsageError{tr("unknown option {0}", {name})};
    }
  }
  checkCombination(options, haveCommand);
  return options;
}

}  // namespace jc::cli
