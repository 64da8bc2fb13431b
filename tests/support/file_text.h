// Whole files read and written byte for byte.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace jc::test {

// The file's bytes; none when it cannot be opened.
inline std::optional<std::string> readFileIfAny(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file's bytes; empty when it cannot be opened.
inline std::string readFile(const std::filesystem::path& file) {
  return readFileIfAny(file).value_or(std::string());
}

// Replaces the file's content with `bytes`.
inline void writeFile(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace jc::test
