#include "hosts/cli/module_loader.h"

#include <dlfcn.h>

#include <cstdlib>
#include <stdexcept>

namespace jc::cli {

LoadedModule::LoadedModule(const std::filesystem::path& file) {
  handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) throw std::runtime_error(std::string("cannot load the panel module: ") + dlerror());
  create_ = reinterpret_cast<PDEPlugInCreateFunction>(dlsym(handle_, kPDEPlugInCreateSymbol));
  if (!create_) {
    dlclose(handle_);
    throw std::runtime_error("the panel module has no factory entry " + file.string());
  }
}

LoadedModule::~LoadedModule() {
  if (handle_) dlclose(handle_);
}

std::unique_ptr<PDEPlugIn> LoadedModule::createFactory() const {
  return std::unique_ptr<PDEPlugIn>(create_());
}

std::filesystem::path defaultModulePath() {
  if (const char* module = std::getenv("JOBCONTROL_MODULE"); module && *module) return module;
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return exe.parent_path().parent_path() / "lib" / "jobcontrol" / "jobcontrol-panel.so";
}

}  // namespace jc::cli
