// The module's one setting, LayerBond: 0 composites only the visible layers,
// any other value every layer. It lives in the INI file beside the module
// (the module's path with the extension ".ini"), section "Config", and is
// read afresh every time, so a change applies to the next picture.
#pragma once

#include <string>

namespace pelo {

std::string SettingsPath();
int ReadLayerBond();
// Stores value formatted with "%d"; false when the file cannot be written.
bool WriteLayerBond(int value);

}  // namespace pelo
