#include "progress_line.h"

#include "system_paths.h"

namespace pelo::tools {

namespace {
constexpr std::size_t kMaxNameBytes = 60;
}

ProgressLine::ProgressLine(std::size_t total, bool wanted)
    : total_(total), enabled_(wanted && total > 1 && IsTerminal(stderr)) {}

void ProgressLine::Show(std::size_t done, const std::string& name) {
  if (!enabled_) return;
  std::string line(1, '[');
  line += std::to_string(done);
  line += '/';
  line += std::to_string(total_);
  line += "] converting ";
  if (name.size() > kMaxNameBytes) {
    line += "...";
    line.append(name, name.size() - kMaxNameBytes, kMaxNameBytes);
  } else {
    line += name;
  }
  const std::size_t width = line.size();
  if (width < shownWidth_) line.append(shownWidth_ - width, ' ');
  std::fprintf(stderr, "\r%s", line.c_str());
  std::fflush(stderr);
  shownWidth_ = width;
}

void ProgressLine::Clear() {
  if (!enabled_ || shownWidth_ == 0) return;
  std::fprintf(stderr, "\r%s\r", std::string(shownWidth_, ' ').c_str());
  std::fflush(stderr);
  shownWidth_ = 0;
}

}  // namespace pelo::tools
