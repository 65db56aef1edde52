#include "study/Stamp.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace study {

namespace fs = std::filesystem;

std::optional<std::string> fileDigest(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  unsigned long long hash = 14695981039346656037ull;
  std::vector<char> block(1 << 16);
  while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); i++) {
      hash = (hash ^ static_cast<unsigned char>(block[static_cast<std::size_t>(i)])) *
             1099511628211ull;
    }
  }
  if (in.bad()) {
    return std::nullopt;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", hash);
  return std::string(text);
}

std::optional<Stamp::FileState> Stamp::stateOf(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || !fs::is_regular_file(status)) {
    return std::nullopt;
  }
  const std::uintmax_t size = fs::file_size(path, error);
  const fs::file_time_type time = fs::last_write_time(path, error);
  if (error) {
    return std::nullopt;
  }
  return FileState{
      path, size,
      std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count()};
}

Stamp Stamp::ofFiles(const std::string& prefix, const std::string& inputs) {
  Stamp stamp;
  stamp.Inputs = inputs;
  const fs::path pattern(prefix);
  const fs::path folder = pattern.parent_path().empty() ? fs::path(".") : pattern.parent_path();
  stamp.Folder = folder.string();
  const std::string start = pattern.filename().string();
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.compare(0, start.size(), start) != 0 ||
        name.compare(0, start.size() + 5, start + "stamp") == 0) {
      continue;
    }
    if (std::optional<FileState> state = stateOf(entry.path().string())) {
      state->path = name;
      stamp.Files.push_back(std::move(*state));
    }
  }
  return stamp;
}

std::optional<Stamp> Stamp::read(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  unsigned long inputLines = 0;
  if (!(in >> inputLines) || !std::getline(in, line)) {
    return std::nullopt;
  }
  Stamp stamp;
  const fs::path folder = fs::path(path).parent_path();
  stamp.Folder = folder.empty() ? "." : folder.string();
  for (unsigned long i = 0; i < inputLines; i++) {
    if (!std::getline(in, line)) {
      return std::nullopt;
    }
    stamp.Inputs += line + "\n";
  }
  // Then one file a line: size, time and name (the rest of the line).
  for (FileState file; in >> file.size >> file.modified && in.get() == ' ' &&
                       std::getline(in, file.path);) {
    stamp.Files.push_back(file);
  }
  if (!in.eof()) {
    return std::nullopt;
  }
  return stamp;
}

bool Stamp::write(const std::string& path) const {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    unsigned long lines = 0;
    for (char c : Inputs) {
      lines += c == '\n' ? 1 : 0;
    }
    out << lines << "\n" << Inputs;
    for (const FileState& file : Files) {
      out << file.size << " " << file.modified << " " << file.path << "\n";
    }
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  std::error_code error;
  fs::rename(temporary, path, error);
  return !error;
}

bool Stamp::matches(const std::string& inputs) const {
  if (inputs != Inputs || Files.empty()) {
    return false;
  }
  for (const FileState& file : Files) {
    const std::optional<FileState> now = stateOf((fs::path(Folder) / file.path).string());
    if (!now || now->size != file.size || now->modified != file.modified) {
      return false;
    }
  }
  return true;
}

}  // namespace study
