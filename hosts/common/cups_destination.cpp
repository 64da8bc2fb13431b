#include "hosts/common/cups_destination.h"

#include <cups/cups.h>
#include <unistd.h>

#include "hosts/common/scheduler_check.h"

namespace jc {

CupsDestination::CupsDestination(const std::string& name) {
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr);
  if (!dest && !schedulerAnswers()) throw DestinationError(schedulerNotRunning());
  if (!dest)
    throw DestinationError(
        Message("no CUPS destination named \"{0}\": {1}", {name, cupsLastErrorString()}));
  printer_.id = dest->name;
  printer_.cupsDestination = dest->name;
  if (const char* uri = cupsGetOption("device-uri", dest->num_options, dest->options))
    printer_.deviceURI = uri;
  cupsFreeDests(1, dest);
  const char* ppd = cupsGetPPD2(CUPS_HTTP_DEFAULT, name.c_str());
  if (!ppd)
    throw DestinationError(
        Message("CUPS gives no PPD for \"{0}\": {1}", {name, cupsLastErrorString()}));
  printer_.ppdFile = ppd;
  temporaryPpd_ = true;
}

CupsDestination::~CupsDestination() {
  if (temporaryPpd_) ::unlink(printer_.ppdFile.c_str());
}

PrintSettings notHeldAgain(const PrintSettings& options) {
  PrintSettings sent = options;
  if (!sent.value(kJobHoldUntil)) sent.setValue(kJobHoldUntil, "no-hold");
  return sent;
}

int sendJob(const std::string& destination, const std::vector<std::string>& files,
            const std::string& title, const PrintSettings& options) {
  const PrintSettings settings = notHeldAgain(options);
  std::vector<const char*> names;
  for (const std::string& f : files) names.push_back(f.c_str());
  const int job = cupsPrintFiles(destination.c_str(), static_cast<int>(names.size()), names.data(),
                                 title.c_str(), settings.count(), settings.options());
  if (job == 0 && !schedulerAnswers()) throw HostError(schedulerNotRunning());
  if (job == 0) throw HostError(Message("CUPS refused the job: {0}", {cupsLastErrorString()}));
  return job;
}

}  // namespace jc
