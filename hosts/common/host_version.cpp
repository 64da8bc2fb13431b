#include "hosts/common/host_version.h"

#include "hosts/common/module_loader.h"

namespace jc {

void printHostVersion(std::ostream& out, std::string_view program) {
  out << program << " " << JC_VERSION << "\nplug-in interface version " << kPlugInInterfaceVersion
      << "\n";
  const std::filesystem::path file = defaultModulePath();
  const LoadedModule module(file);
  out << "panel module " << file.string() << ": interface version " << kPlugInInterfaceVersion
      << "\n";
}

}  // namespace jc
