#include "document/color_setting.h"

namespace pelo {

namespace {

// Record tags of a colour setting.
constexpr std::uint16_t kTagIndex = 1000;
constexpr std::uint16_t kTagColor = 1001;
constexpr std::uint16_t kTagLevel = 1002;
constexpr std::uint16_t kTagComponents = 1003;
constexpr std::uint16_t kTagMode = 1004;

}  // namespace

void ColorSettingRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t /*length*/,
                               void* context) {
  auto* setting = static_cast<CColorSetting*>(context);
  switch (tag) {
    case kTagIndex:
      setting->index = reader.ReadByte();
      break;
    case kTagColor:
      reader.ReadBytes(setting->color.data(), 3, true);
      break;
    case kTagLevel:
      setting->level = reader.ReadByte();
      break;
    case kTagComponents:
      for (auto& component : setting->components) component = reader.ReadWord();
      break;
    case kTagMode:
      setting->mode = reader.ReadByte();
      break;
    default:
      break;
  }
}

}  // namespace pelo
