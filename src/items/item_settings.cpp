#include "items/item_settings.h"

#include <atomic>

namespace pelo {

namespace {
// Hosts call the module from several threads; each default is one atomic so
// that concurrent loads never race, while keeping "last writer wins".
std::atomic<std::uint32_t> defaultAmount{100};
std::atomic<std::uint8_t> defaultOption1{1};
std::atomic<std::uint8_t> defaultOption2{2};
}  // namespace

CItemSettings::CItemSettings()
    : amount(defaultAmount.load(std::memory_order_relaxed)),
      option1(defaultOption1.load(std::memory_order_relaxed)),
      option2(defaultOption2.load(std::memory_order_relaxed)) {}

void CItemSettings::SetAmount(std::uint32_t value, bool remember) {
  amount = value;
  if (remember) defaultAmount.store(value, std::memory_order_relaxed);
}

void CItemSettings::SetOption1(std::uint8_t value, bool remember) {
  option1 = value;
  if (remember) defaultOption1.store(value, std::memory_order_relaxed);
}

void CItemSettings::SetOption2(std::uint8_t value, bool remember) {
  option2 = value;
  if (remember) defaultOption2.store(value, std::memory_order_relaxed);
}

std::uint32_t CItemSettings::DefaultAmount() {
  return defaultAmount.load();
}
std::uint8_t CItemSettings::DefaultOption1() {
  return defaultOption1.load();
}
std::uint8_t CItemSettings::DefaultOption2() {
  return defaultOption2.load();
}

void CItemSettings::ResetDefaults() {
  defaultAmount = 100;
  defaultOption1 = 1;
  defaultOption2 = 2;
}

}  // namespace pelo
