#include "pixel_art.h"

#include <stdexcept>

namespace pelo::tools {

PixelArt::PixelArt(const std::vector<std::string>& rows, const Legend& legend) {
  height_ = static_cast<int>(rows.size());
  width_ = rows.empty() ? 0 : static_cast<int>(rows.front().size());
  for (std::size_t y = 0; y < rows.size(); ++y) {
    if (static_cast<int>(rows[y].size()) != width_)
      throw std::invalid_argument("row " + std::to_string(y) + " has another width");
    for (char c : rows[y]) {
      const auto found = legend.find(c);
      if (found == legend.end())
        throw std::invalid_argument(std::string("no colour for '") + c + "'");
      pixels_.push_back(found->second);
    }
  }
}

std::vector<std::string> Placed(int width, int height, int top,
                                const std::vector<std::string>& rows) {
  std::vector<std::string> out(static_cast<std::size_t>(height),
                               std::string(static_cast<std::size_t>(width), '.'));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::size_t y = static_cast<std::size_t>(top) + i;
    if (y < out.size()) out[y] = rows[i];
  }
  return out;
}

}  // namespace pelo::tools
