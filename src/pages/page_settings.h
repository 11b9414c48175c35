// A page's settings: the per-item values plus two value records that only
// pages carry.
#pragma once

#include "io/value_record.h"
#include "items/item_settings.h"

namespace pelo {

class CPageSettings : public CItemSettings {
 public:
  CPageSettings() = default;
  CPageSettings(const CPageSettings&) = default;
  CPageSettings& operator=(const CPageSettings&) = default;
  ~CPageSettings() override;

  CValueRecord firstRecord;
  CValueRecord secondRecord;
};

}  // namespace pelo
