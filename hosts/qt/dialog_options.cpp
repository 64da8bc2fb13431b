#include "hosts/qt/dialog_options.h"

#include <charconv>
#include <string_view>

#include "hosts/common/host_translation.h"

namespace jc::qt {

std::string dialogUsageText() {
  return tr(R"(Usage: jobcontrol-dialog [--printer NAME] [--prefs-dir DIR]
                         [--standard-attributes auto|on|off] [FILE...]
       jobcontrol-dialog --screenshot FILE.png [--tab N] [--printer NAME]

Opens the print dialog with the Job Control tab. On Print the files go to the
chosen CUPS queue with the dialog's choices and the panel's entries, and the
job id is printed; without FILE a test page is printed through the dialog's
printer. Cancel sends nothing and stores nothing.

--printer NAME      the CUPS queue chosen when the dialog opens
--prefs-dir DIR     where per-printer preferences live
                    (default: $XDG_CONFIG_HOME/jobcontrol)
--standard-attributes auto|on|off
                    also send the pass code, user number and account number
                    as the standard job attributes; auto (the default): for
                    driverless CUPS queues only
--screenshot FILE   draws the dialog with the tab open, off screen, into a
                    PNG file instead of opening it
--tab N             the panel's page in the picture (from 0)
--help, --version

Exit status: 0 printed or cancelled, 1 failure (the module refused, CUPS
refused the job, no display to open the dialog on), 2 a wrong command line
or a missing file.
)");
}

namespace {

class Parser {
 public:
  Parser(int argc, char** argv) : argc_(argc), argv_(argv) {}

  DialogOptions parse() {
    DialogOptions o;
    bool optionsEnd = false;
    for (i_ = 1; i_ < argc_; ++i_) {
      std::string arg = argv_[i_];
      if (optionsEnd || arg.empty() || arg[0] != '-' || arg == "-") {
        o.files.push_back(arg);
        continue;
      }
      std::optional<std::string> inlineValue;
      if (auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
        inlineValue = arg.substr(eq + 1);
        arg.resize(eq);
      }
      if (arg == "--") {
        optionsEnd = true;
      } else if (arg == "--help" || arg == "-h") {
        o.help = true;
      } else if (arg == "--version") {
        o.version = true;
      } else if (arg == "--printer") {
        o.printer = value(arg, inlineValue);
      } else if (arg == "--prefs-dir") {
        o.prefsDir = value(arg, inlineValue);
      } else if (arg == "--standard-attributes") {
        const std::string mode = value(arg, inlineValue);
        const auto parsed = parseStandardAttributeMode(mode);
        if (!parsed) throw DialogUsageError{tr("{0} takes auto, on or off, not {1}", {arg, mode})};
        o.standardAttributes = *parsed;
      } else if (arg == "--screenshot") {
        o.screenshot = value(arg, inlineValue);
      } else if (arg == "--tab") {
        o.tab = number(arg, value(arg, inlineValue));
      } else {
        throw DialogUsageError{tr("unknown option {0}", {arg})};
      }
    }
    return o;
  }

 private:
  std::string value(const std::string& option, const std::optional<std::string>& inlineValue) {
    if (inlineValue) return *inlineValue;
    if (i_ + 1 >= argc_) throw DialogUsageError{tr("{0} needs a value", {option})};
    return argv_[++i_];
  }

  static int number(const std::string& option, const std::string& text) {
    int n = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size() || n < 0)
      throw DialogUsageError{tr("{0} takes a number, 0 or more", {option})};
    return n;
  }

  int argc_;
  char** argv_;
  int i_ = 1;
};

}  // namespace

DialogOptions parseDialogOptions(int argc, char** argv) { return Parser(argc, argv).parse(); }

}  // namespace jc::qt
