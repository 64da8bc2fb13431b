// The plug-in module's one visible symbol: the factory a host creates.
#include "plugin/plugin_factory.h"

extern "C" __attribute__((visibility("default"))) jc::PDEPlugIn*
KorvelPrintPdeVx418JCPDEPlugInCreate() {
  static const int anchor = 0;  // an address inside this module, to find its resources
  return new jc::KorvelPrintPdeVx418JCPDEPlugIn(
      [](jc::HostCallback* hostInfo) { return jc::moduleEnvironment(hostInfo, &anchor); });
}
