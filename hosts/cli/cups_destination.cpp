#include "hosts/cli/cups_destination.h"

#include <cups/cups.h>
#include <unistd.h>

#include <stdexcept>

#include "hosts/cli/cli_options.h"

namespace jc::cli {

CupsDestination::CupsDestination(const std::string& name) {
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr);
  if (!dest)
    throw UsageError{"no CUPS destination named \"" + name + "\": " + cupsLastErrorString()};
  printer_.id = dest->name;
  printer_.cupsDestination = dest->name;
  if (const char* uri = cupsGetOption("device-uri", dest->num_options, dest->options))
    printer_.deviceURI = uri;
  cupsFreeDests(1, dest);
  const char* ppd = cupsGetPPD2(CUPS_HTTP_DEFAULT, name.c_str());
  if (!ppd) throw UsageError{"CUPS gives no PPD for \"" + name + "\": " + cupsLastErrorString()};
  printer_.ppdFile = ppd;
  temporaryPpd_ = true;
}

CupsDestination::~CupsDestination() {
  if (temporaryPpd_) ::unlink(printer_.ppdFile.c_str());
}

int sendJob(const std::string& destination, const std::string& file, const std::string& title,
            const PrintSettings& settings) {
  const int job = cupsPrintFile(destination.c_str(), file.c_str(), title.c_str(), settings.count(),
                                settings.options());
  if (job == 0)
    throw std::runtime_error(std::string("CUPS refused the job: ") + cupsLastErrorString());
  return job;
}

}  // namespace jc::cli
