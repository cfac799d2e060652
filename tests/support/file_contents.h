#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace gk::testing {

// Whole-file reads and writes for setting up and checking files; a missing file reads empty.
inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  const std::string text = ReadText(path);
  return {text.begin(), text.end()};
}

inline bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return out.good();
}

inline bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  return WriteText(path, std::string(bytes.begin(), bytes.end()));
}

}  // namespace gk::testing
