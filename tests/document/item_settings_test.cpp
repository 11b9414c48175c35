#include "items/item_settings.h"

#include <gtest/gtest.h>

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

TEST_F(ItemSettingsTest, ANewObjectHoldsTheLoadTimeDefaults) {
  EXPECT_EQ(CItemSettings::DefaultAmount(), 100u);
  EXPECT_EQ(CItemSettings::DefaultOption1(), 1);
  EXPECT_EQ(CItemSettings::DefaultOption2(), 2);
  CItemSettings settings;
  EXPECT_EQ(settings.amount, 100u);
  EXPECT_EQ(settings.option1, 1);
  EXPECT_EQ(settings.option2, 2);
}

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

TEST_F(ItemSettingsTest, CopiesCarryTheValues) {
  CItemSettings settings;
  settings.SetOption2(9, false);
  CItemSettings copy(settings);
  EXPECT_EQ(copy.option2, 9);
}

TEST_F(ItemSettingsTest, APaletteOption1RecordBecomesTheDefault) {
  CColorPalette palette;
  const auto body = RecordWriter().Byte(2001, 0).bytes();
  LoadBody(body, [&](CBinaryReader& reader, std::uint32_t length) {
    palette.Load(reader, length, 4, 8, 0);
  });
  CColorPalette next;
  EXPECT_EQ(next.settings.option1, 0);
  EXPECT_EQ(next.settings.amount, 100u);
  EXPECT_EQ(next.settings.option2, 2);
}

TEST_F(ItemSettingsTest, APaletteAmountRecordDoesNotBecomeTheDefault) {
  CColorPalette palette;
  const auto body = RecordWriter().Dword(2000, 50).bytes();
  LoadBody(body, [&](CBinaryReader& reader, std::uint32_t length) {
    palette.Load(reader, length, 4, 8, 0);
  });
  EXPECT_EQ(palette.settings.amount, 50u);
  EXPECT_EQ(CItemSettings::DefaultAmount(), 100u);
}

TEST_F(ItemSettingsTest, ALayerOption1RecordReachesEveryNewItem) {
  test::LayerDesc desc;
  desc.extra.Byte(2001, 0);
  CLayer layer;
  const auto body = test::LayerBody(desc).bytes();
  LoadBody(body, [&](CBinaryReader& reader, std::uint32_t length) {
    layer.Load(reader, length, 1, 1, 8);
  });
  CColorPalette palette;
  CPage page;
  CLayer next;
  const std::initializer_list<const CItemSettings*> all = {&palette.settings, &page.settings,
                                                           &next.settings};
  for (const CItemSettings* settings : all) {
    EXPECT_EQ(settings->option1, 0);
    EXPECT_EQ(settings->amount, 100u);
    EXPECT_EQ(settings->option2, 2);
  }
}

TEST_F(ItemSettingsTest, PageSettingsRecordsNeverChangeTheDefaults) {
  test::PageDesc desc;
  desc.width = desc.height = 1;
  desc.currentLayer.reset();
  desc.extra.Dword(3000, 5).Byte(3001, 6).Byte(3002, 7);
  CPage page;
  const auto body = test::PageBody(desc).bytes();
  LoadBody(body,
           [&](CBinaryReader& reader, std::uint32_t length) { page.Load(reader, length, 8); });
  EXPECT_EQ(page.settings.amount, 5u);
  EXPECT_EQ(page.settings.option1, 6);
  EXPECT_EQ(page.settings.option2, 7);
  EXPECT_EQ(CItemSettings::DefaultAmount(), 100u);
  EXPECT_EQ(CItemSettings::DefaultOption1(), 1);
  EXPECT_EQ(CItemSettings::DefaultOption2(), 2);
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
