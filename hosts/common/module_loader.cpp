#include "hosts/common/module_loader.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/unique_fd.h"

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

struct FileIdentity {
  dev_t device;
  ino_t inode;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of `file` when it is a regular file, which only then is
// handed to dlopen: dlopen's own open would wait for a writer on a FIFO,
// and O_NONBLOCK lets this one return at once.
FileIdentity regularFile(const std::filesystem::path& file) {
  const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  struct stat info {};
  if (!fd || ::fstat(fd.get(), &info) != 0)
    // In dlopen's words.
    throw ModuleError(
        Message("cannot load the panel module: {0}",
                {file.string() + ": cannot open shared object file: " + std::strerror(errno)}));
  if (!S_ISREG(info.st_mode))
    throw ModuleError(
        Message("cannot load the panel module: {0} is not a regular file", {file.string()}));
  return {info.st_dev, info.st_ino};
}

// The address of the function `name` of the module, or null when it has
// none. A symbol of that name that is data (an object of another build of
// the interface) is refused: calling it would jump into data.
void* functionOf(void* module, const std::filesystem::path& file, const char* name) {
  void* address = dlsym(module, name);
  if (!address) return nullptr;
  Dl_info info{};
  ElfW(Sym)* symbol = nullptr;
  const bool found = dladdr1(address, &info, reinterpret_cast<void**>(&symbol), RTLD_DL_SYMENT);
  const int type = found && symbol ? ELF64_ST_TYPE(symbol->st_info) : STT_NOTYPE;
  if (type != STT_FUNC && type != STT_GNU_IFUNC)
    throw ModuleError(
        Message("the panel module {0}: {1} is not a function", {file.string(), name}));
  return address;
}

}  // namespace

LoadedModule::LoadedModule(const std::filesystem::path& file) : file_(file) {
  const FileIdentity checked = regularFile(file);
  Handle module{dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)};
  if (!module.handle) throw ModuleError(Message("cannot load the panel module: {0}", {dlerror()}));
  // The file loaded must be the one checked (not one renamed into its place).
  struct stat loaded {};
  if (::stat(file.c_str(), &loaded) != 0 || FileIdentity{loaded.st_dev, loaded.st_ino} != checked)
    throw ModuleError(
        Message("cannot load the panel module: {0} changed while it was loaded", {file.string()}));
  create_ = reinterpret_cast<PDEPlugInCreateFunction>(
      functionOf(module.handle, file, kPDEPlugInCreateSymbol));
  if (!create_)
    throw ModuleError(Message("the panel module {0} has no factory entry {1}",
                              {file.string(), kPDEPlugInCreateSymbol}));
  auto version = reinterpret_cast<PlugInInterfaceVersionFunction>(
      functionOf(module.handle, file, kPlugInInterfaceVersionSymbol));
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
