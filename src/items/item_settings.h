// Three small per-item values that palettes, pages and layers carry. New
// objects start from process-wide defaults, which follow the values last
// loaded with remember set, for every object the process makes afterwards.
#pragma once

#include <cstdint>

namespace pelo {

class CItemSettings {
 public:
  CItemSettings();
  CItemSettings(const CItemSettings&) = default;
  CItemSettings& operator=(const CItemSettings&) = default;
  virtual ~CItemSettings() = default;

  void SetAmount(std::uint32_t value, bool remember);
  void SetOption1(std::uint8_t value, bool remember);
  void SetOption2(std::uint8_t value, bool remember);

  // The process-wide defaults (100, 1 and 2 when the module is loaded).
  static std::uint32_t DefaultAmount();
  static std::uint8_t DefaultOption1();
  static std::uint8_t DefaultOption2();
  // Test hook: puts the defaults back to their values at load time.
  static void ResetDefaults();

  std::uint32_t amount;
  std::uint8_t option1;
  std::uint8_t option2;
};

}  // namespace pelo
