#include "items/item_settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "document/color_palette.h"
#include "pages/layer.h"
#include "pages/page.h"
#include "support/body_reader.h"
#include "support/document_writer.h"
#include "support/fresh_state_test.h"
#include "support/record_writer.h"

namespace pelo {
namespace {

using test::LoadBody;
using test::RecordWriter;

// The defaults are process-wide: every test starts and ends from the values
// the module has when it is loaded.
using ItemSettingsTest = test::FreshStateTest;

TEST_F(ItemSettingsTest, SettersWithoutRememberChangeOnlyTheObject) {
  CItemSettings settings;
  settings.SetAmount(50, false);
  settings.SetOption1(7, false);
  settings.SetOption2(8, false);
  EXPECT_EQ(settings.amount, 50u);
  EXPECT_EQ(settings.option1, 7);
  EXPECT_EQ(settings.option2, 8);
  CItemSettings fresh;
  EXPECT_EQ(fresh.amount, 100u);
  EXPECT_EQ(fresh.option1, 1);
  EXPECT_EQ(fresh.option2, 2);
}

TEST_F(ItemSettingsTest, SettersWithRememberChangeLaterObjectsOnly) {
  CItemSettings before;
  CItemSettings settings;
  settings.SetAmount(0xFFFFFFFF, true);
  settings.SetOption1(0, true);
  settings.SetOption2(255, true);
  CItemSettings after;
  EXPECT_EQ(after.amount, 0xFFFFFFFFu);
  EXPECT_EQ(after.option1, 0);
  EXPECT_EQ(after.option2, 255);
  EXPECT_EQ(before.amount, 100u);
  EXPECT_EQ(before.option1, 1);
  EXPECT_EQ(before.option2, 2);
}

struct Values {
  std::uint32_t amount;
  std::uint8_t option1;
  std::uint8_t option2;
  bool operator==(const Values&) const = default;
};

void PrintTo(const Values& v, std::ostream* os) {
  *os << "{" << v.amount << ", " << int{v.option1} << ", " << int{v.option2} << "}";
}

Values Of(const CItemSettings& settings) {
  return {settings.amount, settings.option1, settings.option2};
}

enum class Owner { kPalette, kLayer, kPage };

// Loads an item of owner whose body holds the records, and gives its
// settings.
Values LoadItem(Owner owner, const std::function<void(RecordWriter&)>& records) {
  if (owner == Owner::kPalette) {
    RecordWriter body;
    records(body);
    CColorPalette palette;
    LoadBody(body.bytes(), [&](CBinaryReader& reader, std::uint32_t length) {
      palette.Load(reader, length, 4, 8, 0);
    });
    return Of(palette.settings);
  }
  if (owner == Owner::kLayer) {
    test::LayerDesc desc;
    records(desc.extra);
    CLayer layer;
    LoadBody(test::LayerBody(desc).bytes(), [&](CBinaryReader& reader, std::uint32_t length) {
      layer.Load(reader, length, 1, 1, 8);
    });
    return Of(layer.settings);
  }
  test::PageDesc desc;
  desc.width = desc.height = 1;
  desc.currentLayer.reset();
  records(desc.extra);
  CPage page;
  LoadBody(test::PageBody(desc).bytes(),
           [&](CBinaryReader& reader, std::uint32_t length) { page.Load(reader, length, 8); });
  return Of(page.settings);
}

// Which settings records of a loaded item become the defaults of every item
// made after it: the option bytes of palettes and layers do, their amount
// and every settings record of a page do not.
TEST_F(ItemSettingsTest, WhichRecordBecomesTheDefault) {
  struct Case {
    const char* what;
    Owner owner;
    std::function<void(RecordWriter&)> records;
    Values loaded;
    Values defaults;
  };
  const Case cases[] = {
      {"palette option 1",
       Owner::kPalette,
       [](RecordWriter& w) { w.Byte(2001, 0); },
       {100, 0, 2},
       {100, 0, 2}},
      {"palette option 2",
       Owner::kPalette,
       [](RecordWriter& w) { w.Byte(2002, 9); },
       {100, 1, 9},
       {100, 1, 9}},
      {"palette amount",
       Owner::kPalette,
       [](RecordWriter& w) { w.Dword(2000, 50); },
       {50, 1, 2},
       {100, 1, 2}},
      {"layer option 1",
       Owner::kLayer,
       [](RecordWriter& w) { w.Byte(2001, 0); },
       {100, 0, 2},
       {100, 0, 2}},
      {"layer options 1 and 2",
       Owner::kLayer,
       [](RecordWriter& w) { w.Byte(2001, 5).Byte(2002, 7); },
       {100, 5, 7},
       {100, 5, 7}},
      {"layer amount",
       Owner::kLayer,
       [](RecordWriter& w) { w.Dword(2000, 50); },
       {50, 1, 2},
       {100, 1, 2}},
      {"page settings",
       Owner::kPage,
       [](RecordWriter& w) { w.Dword(3000, 5).Byte(3001, 6).Byte(3002, 7); },
       {5, 6, 7},
       {100, 1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CItemSettings::ResetDefaults();
    EXPECT_EQ(LoadItem(c.owner, c.records), c.loaded);
    EXPECT_EQ((Values{CItemSettings::DefaultAmount(), CItemSettings::DefaultOption1(),
                      CItemSettings::DefaultOption2()}),
              c.defaults);
    CColorPalette palette;
    CPage page;
    CLayer layer;
    EXPECT_EQ(Of(palette.settings), c.defaults);
    EXPECT_EQ(Of(page.settings), c.defaults);
    EXPECT_EQ(Of(layer.settings), c.defaults);
  }
}

TEST_F(ItemSettingsTest, ResetDefaultsRestoresTheLoadTimeValues) {
  CItemSettings settings;
  settings.SetAmount(1, true);
  settings.SetOption1(2, true);
  settings.SetOption2(3, true);
  CItemSettings::ResetDefaults();
  CItemSettings fresh;
  EXPECT_EQ(fresh.amount, 100u);
  EXPECT_EQ(fresh.option1, 1);
  EXPECT_EQ(fresh.option2, 2);
}

}  // namespace
}  // namespace pelo
