// A library that looks like the panel module but must be refused: built with
// or without the factory entry, and with another interface version, none, or
// a version that is data instead of a function.
#include <cstdlib>

#include "plugin/print_dialog_extension.h"

#ifdef JC_FAKE_ENTRY
// A host that called this would end here: it must refuse the module first.
extern "C" __attribute__((visibility("default"))) jc::PDEPlugIn*
KorvelPrintPdeVx418JCPDEPlugInCreate() {
  std::abort();
}
#endif

#ifdef JC_FAKE_VERSION
extern "C" __attribute__((visibility("default"))) int jobcontrol_plugin_interface_version() {
  return JC_FAKE_VERSION;
}
#endif

#ifdef JC_FAKE_VERSION_DATA
// What a host that called this would run is the number's bytes.
extern "C" __attribute__((visibility("default"))) const int jobcontrol_plugin_interface_version =
    JC_FAKE_VERSION_DATA;
#endif
