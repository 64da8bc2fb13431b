#include "hosts/common/module_loader.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdlib>
#include <string>

namespace jc {
namespace {

struct Handle {
  void* handle;
  ~Handle() {
    if (handle) dlclose(handle);
  }
  void* release() { return std::exchange(handle, nullptr); }
};

Message versionMismatch(const std::filesystem::path& file, int theirs) {
  return Message(
      "the panel module {0} was built for plug-in interface version {1}; this host speaks "
      "version {2}",
      {file.string(), std::to_string(theirs), std::to_string(kPlugInInterfaceVersion)});
}

Message versionUnnamed(const std::filesystem::path& file) {
  return Message(
      "the panel module {0} was built for plug-in interface version 1 (it names no version); "
      "this host speaks version {1}",
      {file.string(), std::to_string(kPlugInInterfaceVersion)});
}

}  // namespace

LoadedModule::LoadedModule(const std::filesystem::path& file) : file_(file) {
  Handle module{dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)};
  if (!module.handle) throw ModuleError(Message("cannot load the panel module: {0}", {dlerror()}));
  create_ = reinterpret_cast<PDEPlugInCreateFunction>(dlsym(module.handle, kPDEPlugInCreateSymbol));
  if (!create_)
    throw ModuleError(Message("the panel module {0} has no factory entry {1}",
                              {file.string(), kPDEPlugInCreateSymbol}));
  auto version = reinterpret_cast<PlugInInterfaceVersionFunction>(
      dlsym(module.handle, kPlugInInterfaceVersionSymbol));
  if (!version) throw ModuleError(versionUnnamed(file));
  if (const int theirs = version(); theirs != kPlugInInterfaceVersion)
    throw ModuleError(versionMismatch(file, theirs));
  handle_ = module.release();
}

LoadedModule::~LoadedModule() {
  if (handle_) dlclose(handle_);
}

std::unique_ptr<PDEPlugIn> LoadedModule::createFactory() const {
  return std::unique_ptr<PDEPlugIn>(create_());
}

std::filesystem::path modulePathFor(const void* codeAddress) {
  if (const char* module = std::getenv("JOBCONTROL_MODULE"); module && *module) return module;
  Dl_info info{};
  link_map* map = nullptr;
  if (dladdr1(codeAddress, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0 || !map ||
      !map->l_name || map->l_name[0] == '\0')
    return defaultModulePath();
  const std::filesystem::path library(map->l_name);
  return (library.parent_path() / JC_MODULE_DIR_FROM_LIBDIR / "jobcontrol-panel.so")
      .lexically_normal();
}

std::filesystem::path defaultModulePath() {
  if (const char* module = std::getenv("JOBCONTROL_MODULE"); module && *module) return module;
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return (exe.parent_path() / JC_MODULE_DIR_FROM_BINDIR / "jobcontrol-panel.so").lexically_normal();
}

}  // namespace jc
