#include "settings/layer_bond.h"

#include <cstdio>

#include "platform/module_path.h"
#include "platform/profile.h"

namespace pelo {

namespace {
constexpr char kSection[] = "Config";
constexpr char kKey[] = "LayerBond";
}  // namespace

std::string SettingsPath() {
  return RenameExtension(GetModulePath(), ".ini");
}

int ReadLayerBond() {
  return ReadProfileInt(kSection, kKey, 0, SettingsPath());
}

bool WriteLayerBond(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return WriteProfileString(kSection, kKey, text, SettingsPath());
}

}  // namespace pelo
