// Loads the plug-in module, checks the interface it was built for and makes its
// factory. This is all a host knows of the panel's code.
#pragma once

#include <filesystem>
#include <memory>

#include "hosts/common/host_error.h"
#include "plugin/print_dialog_extension.h"

namespace jc {

// A module that cannot be loaded, has no entry point or speaks another
// interface version; the message names the file and, for a version, both.
class ModuleError : public HostError {
 public:
  using HostError::HostError;
};

class LoadedModule {
 public:
  // Loads `file` and checks it; throws ModuleError. Only a regular file is
  // loaded (a FIFO is refused at once, not waited on), and only a function is
  // called as the entry or the version. Nothing of the module but its
  // initialisers runs before its interface version has been found equal to
  // this host's: the module is trusted code, found where this build installs
  // it or where JOBCONTROL_MODULE names it.
  explicit LoadedModule(const std::filesystem::path& file);
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  // A new factory from the module's entry point.
  std::unique_ptr<PDEPlugIn> createFactory() const;
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
  void* handle_ = nullptr;
  PDEPlugInCreateFunction create_ = nullptr;
};

// JOBCONTROL_MODULE when set, else the module where this build installs it,
// found from the running program's folder.
std::filesystem::path defaultModulePath();

// JOBCONTROL_MODULE when set, else the module where this build installs it,
// found from the file that holds `codeAddress`: the running program
// (<prefix>/bin) or a shared library (<prefix>/lib).
std::filesystem::path modulePathFor(const void* codeAddress);

}  // namespace jc
