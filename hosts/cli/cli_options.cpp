#include "hosts/cli/cli_options.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace jc::cli {
namespace {

// Actions that take a value, in the form "--name VALUE".
constexpr std::array<std::string_view, 17> kValueActions = {
    "--retention",       "--hold-mode",     "--passcode",   "--folder",        "--folder-name",
    "--folder-passcode", "--auth",          "--login-name", "--password-file", "--user-number",
    "--account-number",  "--user-name",     "--job-name",   "--address",       "--lock",
    "--unlock",          "--password-stdin"};

bool isValueAction(std::string_view option) {
  return option != "--password-stdin" &&
         std::find(kValueActions.begin(), kValueActions.end(), option) != kValueActions.end();
}

}  // namespace

const char* usageText() {
  return R"(Usage: jobcontrol [PRINTER] [--settings FILE] [--prefs-dir DIR] [--title TEXT]
                  COMMAND [ACTIONS...] [--json]

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

COMMAND   show            print the panel
          save            save; print the print-settings entries
          print FILE      save, store the preferences and send the job
          folders         press the folder-list button; print the folders

ACTIONS   --retention on|off           --hold-mode hold-only|hold-after-print|sample-print
          --passcode DIGITS            --folder quick|main|custom|NAME
          --folder-name TEXT           --folder-passcode DIGITS
          --auth login|user-number     --login-name TEXT
          --password-file FILE (its first line) | --password-stdin
          --user-number DIGITS         --account-number DIGITS
          --user-name TEXT             --job-name TEXT
          --address HOST[:PORT]
          --lock FIELD  --unlock FIELD
                 FIELD: passcode login-name password user-number account-number
                        user-name job-name folder-passcode folder-name

--json    print one JSON object
--help    this text

Exit status: 0 done, 2 a refused or malformed value (nothing written),
3 the printer's folders could not be retrieved, 1 any other failure.
)";
}

Options parseOptions(int argc, char** argv) {
  Options options;
  bool haveCommand = false;
  auto need = [&](int& i, std::string_view option) -> std::string {
    if (i + 1 >= argc) throw UsageError{std::string(option) + " needs a value"};
    return argv[++i];
  };
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--printer") {
      options.cupsPrinter = need(i, arg);
    } else if (arg == "--ppd") {
      options.ppdFile = need(i, arg);
    } else if (arg == "--device-uri") {
      options.deviceURI = need(i, arg);
    } else if (arg == "--printer-id") {
      options.printerID = need(i, arg);
    } else if (arg == "--settings") {
      options.settingsFile = need(i, arg);
    } else if (arg == "--prefs-dir") {
      options.prefsDir = need(i, arg);
    } else if (arg == "--title") {
      options.title = need(i, arg);
    } else if (arg == "--password-stdin") {
      options.actions.push_back({std::string(arg), {}});
    } else if (isValueAction(arg)) {
      options.actions.push_back({std::string(arg), need(i, arg)});
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError{"unknown option " + std::string(arg)};
    } else if (!haveCommand) {
      haveCommand = true;
      if (arg == "show")
        options.command = Command::Show;
      else if (arg == "save")
        options.command = Command::Save;
      else if (arg == "folders")
        options.command = Command::Folders;
      else if (arg == "print") {
        options.command = Command::Print;
        if (i + 1 >= argc || (argv[i + 1][0] == '-' && argv[i + 1][1] != '\0'))
          throw UsageError{"print needs the FILE to print"};
        options.printFile = argv[++i];
      } else
        throw UsageError{"unknown command " + std::string(arg)};
    } else {
      throw UsageError{"unexpected argument " + std::string(arg)};
    }
  }
  if (options.help) return options;
  if (!haveCommand) throw UsageError{"no command given (show, save, print FILE or folders)"};
  if (options.cupsPrinter && (options.ppdFile || options.deviceURI || options.printerID))
    throw UsageError{"--printer cannot be combined with --ppd, --device-uri or --printer-id"};
  return options;
}

}  // namespace jc::cli
