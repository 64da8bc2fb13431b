// Decodes arbitrary bytes into the job's print-settings entries and lets a
// real panel restore from them and save, then restore from its own save and
// save again, twice. None of it may crash.
//
// On the panel's own entries the second save gives exactly the first. On
// arbitrary entries it may not, in two ways that follow the reader's rules: a
// user name whose hex gives no bytes leaves the (empty) field as it is, the
// save then writes no user name, and the next restore takes the full user
// name instead; and a hold bit the job's holdButton set for a field whose
// entry is read but not saved again (an unreadable pass code) is saved once,
// then dropped. So the second save must match the first apart from the user
// name entries and holdButton, and from there on restore and save must be a
// fixed point.
#include <strings.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/fuzz_dialog.h"
#include "settings/print_settings_keys.h"

namespace {

using fuzz_dialog::Dialog;
using fuzz_dialog::FuzzHost;

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries entriesOf(const jc::PrintSettings& settings) {
  Entries out;
  for (int i = 0; i < settings.count(); ++i)
    out.emplace_back(settings.options()[i].name, settings.options()[i].value);
  std::sort(out.begin(), out.end());
  return out;
}

Entries restoreAndSave(jc::KorvelPrintPdeVx418JC& panel, const FuzzHost& host) {
  panel.restoreValuesAndReturnError(nullptr);
  panel.saveValuesAndReturnError(nullptr);
  return entriesOf(host.settings);
}

// The entries less those that one round of restore and save may still settle.
// Entry names compare as CUPS compares option names, ignoring case: an input's
// "holdButtOn" is the entry holdButton, and keeps the input's spelling when
// the panel saves over it.
Entries withoutSettledEntries(Entries entries) {
  namespace k = jc::keys;
  std::erase_if(entries, [](const auto& entry) {
    const auto is = [&](std::string_view name) {
      return strcasecmp(entry.first.c_str(), std::string(name).c_str()) == 0;
    };
    return is(k::kUserName) || is(k::kUserName2) || is(k::kHoldButton);
  });
  return entries;
}

// The entries the bytes spell, one a line: "<suffix>=<value>" stands for the
// entry korvel.print.PrintSettings.<suffix>; a line without '=' is skipped.
jc::PrintSettings decodeEntries(std::string_view bytes) {
  jc::PrintSettings settings;
  while (!bytes.empty()) {
    const size_t end = std::min(bytes.find('\n'), bytes.size());
    const std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    settings.setValue(std::string(jc::keys::kPrefix) + std::string(line.substr(0, equals)),
                      line.substr(equals + 1));
  }
  return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Dialog dialog("print-settings");
  dialog.resetPreferences();
  FuzzHost host(dialog.ppd.get());
  host.settings = decodeEntries(std::string_view(reinterpret_cast<const char*>(data), size));

  jc::KorvelPrintPdeVx418JC panel(&host, dialog.env);
  if (!panel.panelView()) std::abort();
  panel.willShow();
  const Entries first = restoreAndSave(panel, host);

  const Entries second = restoreAndSave(panel, host);
  if (withoutSettledEntries(second) != withoutSettledEntries(first)) std::abort();
  if (restoreAndSave(panel, host) != second) std::abort();
  return 0;
}
