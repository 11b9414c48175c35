// A small INI reader and writer. Section and key names compare without
// regard to ASCII case and blanks around names and values are ignored, as
// the Windows profile API does; lines are written with CR LF.
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/profile.h"

namespace pelo {

namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n");
  return s.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const char* b) {
  return ::strcasecmp(a.c_str(), b) == 0;
}

// Straight through the system calls: the builder reads the settings for
// every picture, and a stream object costs more than the file's few bytes.
bool ReadLines(const std::string& path, std::vector<std::string>* lines) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines->push_back(std::move(line));
    start = end + 1;
  }
  return true;
}

bool IsSection(const std::string& line, std::string* name) {
  const std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  const auto close = t.find(']');
  if (close == std::string::npos) return false;
  *name = Trim(t.substr(1, close - 1));
  return true;
}

bool IsKey(const std::string& line, const char* key, std::string* value) {
  const auto eq = line.find('=');
  if (eq == std::string::npos || !SameName(Trim(line.substr(0, eq)), key)) return false;
  *value = Trim(line.substr(eq + 1));
  return true;
}

// The line index of the key inside the section, -1 when absent; *sectionEnd
// receives the index after the section's last line (-1: no such section).
long FindKey(const std::vector<std::string>& lines, const char* section, const char* key,
             long* sectionEnd, std::string* value) {
  bool inside = false;
  *sectionEnd = -1;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string name;
    if (IsSection(lines[i], &name)) {
      inside = SameName(name, section);
      if (inside) *sectionEnd = static_cast<long>(i) + 1;
      continue;
    }
    if (!inside) continue;
    if (!Trim(lines[i]).empty()) *sectionEnd = static_cast<long>(i) + 1;
    if (IsKey(lines[i], key, value)) return static_cast<long>(i);
  }
  return -1;
}

}  // namespace

int ReadProfileInt(const char* section, const char* key, int defaultValue,
                   const std::string& path) {
  std::vector<std::string> lines;
  if (!ReadLines(path, &lines)) return defaultValue;
  long sectionEnd = -1;
  std::string value;
  if (FindKey(lines, section, key, &sectionEnd, &value) < 0) return defaultValue;
  return static_cast<int>(std::strtol(value.c_str(), nullptr, 10));
}

bool WriteProfileString(const char* section, const char* key, const char* value,
                        const std::string& path) {
  std::vector<std::string> lines;
  ReadLines(path, &lines);
  long sectionEnd = -1;
  std::string old;
  const long at = FindKey(lines, section, key, &sectionEnd, &old);
  const std::string entry = std::string(key) + "=" + value;
  if (at >= 0) {
    lines[static_cast<std::size_t>(at)] = entry;
  } else if (sectionEnd >= 0) {
    lines.insert(lines.begin() + sectionEnd, entry);
  } else {
    lines.push_back(std::string("[") + section + "]");
    lines.push_back(entry);
  }
  std::ostringstream text;
  for (const auto& line : lines) text << line << "\r\n";
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const std::string bytes = text.str();
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && written;
}

}  // namespace pelo
