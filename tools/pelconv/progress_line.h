// A one-line "[3/12] name" progress display on standard error, redrawn in
// place. It shows only when asked for, for more than one file, and when
// standard error is a terminal; a message printed meanwhile clears it first.
#pragma once

#include <cstdio>
#include <string>

namespace pelo::tools {

class ProgressLine {
 public:
  ProgressLine(std::size_t total, bool wanted);
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;
  ~ProgressLine() { Clear(); }

  void Show(std::size_t done, const std::string& name);
  // Erases the line so that the next output starts on a clean line.
  void Clear();
  bool enabled() const { return enabled_; }

 private:
  std::size_t total_;
  bool enabled_;
  std::size_t shownWidth_ = 0;
};

}  // namespace pelo::tools
