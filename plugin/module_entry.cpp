// The plug-in module's visible symbols: the factory a host creates, and the
// interface version the host checks before it creates one.
#include "plugin/plugin_factory.h"

extern "C" __attribute__((visibility("default"))) jc::PDEPlugIn*
KorvelPrintPdeVx418JCPDEPlugInCreate() {
  static const int anchor = 0;  // an address inside this module, to find its resources
  return new jc::KorvelPrintPdeVx418JCPDEPlugIn(
      [](jc::HostCallback* hostInfo) { return jc::moduleEnvironment(hostInfo, &anchor); });
}

extern "C" __attribute__((visibility("default"))) int jobcontrol_plugin_interface_version() {
  return jc::kPlugInInterfaceVersion;
}
