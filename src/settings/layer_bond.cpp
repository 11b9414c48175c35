#include "settings/layer_bond.h"

#include <cstdio>

#include "platform/module_path.h"
#include "platform/profile.h"

namespace pelo {

namespace {
constexpr char kSection[] = "Config";
constexpr char kKey[] = "LayerBond";
}  // namespace

// The module cannot move while it is loaded, so its path is looked up once:
// on POSIX that lookup resolves every component of the path, which cost
// more than decoding a small picture.
std::string SettingsPath() {
  static const std::string path = RenameExtension(GetModulePath(), ".ini");
  return path;
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
