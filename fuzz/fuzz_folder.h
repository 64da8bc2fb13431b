// A scratch folder of a fuzz target's own, removed with everything in it.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

struct FuzzFolder {
  std::filesystem::path path;
  // A new folder "<temp>/jc-<name>-fuzz-XXXXXX".
  explicit FuzzFolder(const std::string& name) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("jc-" + name + "-fuzz-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) std::abort();
    path = pattern;
  }
  ~FuzzFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  FuzzFolder(const FuzzFolder&) = delete;
  FuzzFolder& operator=(const FuzzFolder&) = delete;
};
