#include "document/color_setting.h"

namespace pelo {

void ColorSettingRecordHandler(CBinaryReader& reader, std::uint16_t tag, std::uint32_t /*length*/,
                               void* context) {
  auto* setting = static_cast<CColorSetting*>(context);
  switch (tag) {
    case 1000:
      setting->index = reader.ReadByte();
      break;
    case 1001:
      reader.ReadBytes(setting->color.data(), 3, true);
      break;
    case 1002:
      setting->level = reader.ReadByte();
      break;
    case 1003:
      for (auto& component : setting->components) component = reader.ReadWord();
      break;
    case 1004:
      setting->mode = reader.ReadByte();
      break;
    default:
      break;
  }
}

}  // namespace pelo
