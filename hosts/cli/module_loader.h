// Loads the plug-in module and makes its factory.
#pragma once

#include <filesystem>
#include <memory>

#include "plugin/print_dialog_extension.h"

namespace jc::cli {

class LoadedModule {
 public:
  // Throws std::runtime_error with dlerror's text when it cannot be loaded.
  explicit LoadedModule(const std::filesystem::path& file);
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  // A new factory from the module's entry point.
  std::unique_ptr<PDEPlugIn> createFactory() const;

 private:
  void* handle_ = nullptr;
  PDEPlugInCreateFunction create_ = nullptr;
};

// JOBCONTROL_MODULE when set, else <exe>/../lib/jobcontrol/jobcontrol-panel.so.
std::filesystem::path defaultModulePath();

}  // namespace jc::cli
