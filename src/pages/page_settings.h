// A page's settings: the per-item values plus two value records that only
// pages carry.
#pragma once

#include "document/item_settings.h"
#include "io/value_record.h"

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
