#include "sample_designs.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "pixel_art.h"
#include "support/document_writer.h"

namespace pelo::tools {

namespace {

using test::Bytes;
using Rgb = std::array<std::uint8_t, 3>;

// Layer and page names are code page 932 text, as the editor writes them.
constexpr char kFaceName[] = "\x8a\xe7";    // 顔 (face)
constexpr char kShadowName[] = "\x89\x65";  // 影 (shadow)

// ---------------------------------------------------------------- art ---

// One character per pixel; the legends below give the colours.
// clang-format off
std::vector<std::string> SpriteBody() {
  return Placed(32, 32, 1,
                {
      "...............oo...............",
      ".............oorRo..............",
      "............orrrRo..............",
      "...........orrrrRRo.............",
      "..........orrrrrrRRo............",
      ".........orrrrrrrrRRo...........",
      "........orrrrrrrrrrRRo..........",
      ".......oyyyyyyyyyyyyyYYo........",
      ".......ooYYYYYYYYYYYYYoo........",
      "........ohhhhhhhhhhhhho.........",
      "........ohhsssssssshhHo.........",
      "........ohssssssssssSHo.........",
      "........ohssssssssssSHo.........",
      "........ohssssssssssSSo.........",
      ".........osssssssssSSo..........",
      "..........ooSSSSSSSoo...........",
      "........oogggGSSSGgggoo.........",
      ".......ogggggGSGgggggGGo........",
      "......ogGogggggggggggoGGo.......",
      "......ogGogggggggggggoGGo.......",
      "......ogGobbbbyYbbbbboGGo.......",
      "......ossoggggyYgggggossSo......",
      "......oSSoggggggggggGoSSo.......",
      ".......oo.ogggggggggGo.oo.......",
      "..........oppppoppppPo..........",
      "..........oppppoppppPo..........",
      "..........oppPo.oppPPo..........",
      ".........okkkko.okkkkko.........",
      ".........okkkkko.okkkkko........",
      ".........oooooo..ooooooo........",
                });
}

std::vector<std::string> SpriteFace() {
  return Placed(32, 32, 13,
                {
      "...........ew....ew.............",
      "...........ee....ee.............",
      "..........c.........c...........",
      "...............mm...............",
                });
}

std::vector<std::string> SpriteSword() {
  return Placed(32, 32, 10,
                {
      ".........................o......",
      "........................owo.....",
      "........................owo.....",
      "........................owo.....",
      "........................owo.....",
      "........................owo.....",
      "........................owo.....",
      "........................owo.....",
      "........................owo.....",
      "........................owo.....",
      "......................oolwLoo...",
      "......................oyyyyYo...",
      "......................ooobooo...",
      "........................obo.....",
      "........................oyo.....",
      ".........................o......",
                });
}

std::vector<std::string> SpriteShadow() {
  return Placed(32, 32, 28,
                {
      "........xxxxxxxxxxxxxxxxx.......",
      ".......xxxxxxxxxxxxxxxxxxx......",
      "........xxxxxxxxxxxxxxxxx.......",
                });
}

std::vector<std::string> MushroomCap() {
  return Placed(32, 32, 3,
                {
      "...........oooooooooo...........",
      "........oooqqrrrrrrrrooo........",
      "......ooqqrrrrrrrrrrrrrroo......",
      ".....oqqrrrrrrrrrrrrrrrrrRo.....",
      "....oqrrrrrrrrrrrrrrrrrrrRRo....",
      "...oqrrrrrrrrrrrrrrrrrrrrrRRo...",
      "...oqrrrrrrrrrrrrrrrrrrrrrRRo...",
      "..oqrrrrrrrrrrrrrrrrrrrrrrrRRo..",
      "..orrrrrrrrrrrrrrrrrrrrrrrrRRo..",
      "..orrrrrrrrrrrrrrrrrrrrrrrRRRo..",
      "..oRrrrrrrrrrrrrrrrrrrrrrRRRRo..",
      "..ooRRRRRRRRRRRRRRRRRRRRRRRRoo..",
      "....oooooooooooooooooooooooo....",
                });
}

std::vector<std::string> MushroomSpots() {
  return Placed(32, 32, 5,
                {
      "...........wwww.................",
      "..........wwwwww.......ww.......",
      "......ww..wwwwWW......wwWW......",
      ".....wwWW..wWWW.......wWWW......",
      ".....wWWW..............WW.......",
      "......WW........www.............",
      "...............wwwWW.....ww.....",
      "...............wwWWW....wwW.....",
      "................WWW.............",
                });
}

std::vector<std::string> MushroomStem() {
  return Placed(32, 32, 15,
                {
      "...........occccccccco..........",
      "..........occcccccccCCo.........",
      "..........occcccccccCCo.........",
      "..........occccoocccCCo.........",
      "..........ocCccoocccCCo.........",
      "..........occcccccccCCo.........",
      "..........occcccccccCCo.........",
      "..........occcccccccCCo.........",
      "..........occcccccccCCo.........",
      "..........ocCcccccccCCo.........",
      "...........occcccccCCo..........",
      "...........ooooooooooo..........",
                });
}

std::vector<std::string> MushroomGrass() {
  return Placed(32, 32, 23,
                {
      ".....h.......h.........h........",
      "....hgh..h..hgh...h...hgh..h....",
      "...hggh.hgh.hggh.hgh.hgggh.hgh..",
      "..hgggghhgghhgggghggghgggghhgggh",
      "hhgggggggggggggggggggggggggggggg",
      "gggGggggGgggggGgggggGggggGggggGg",
      "DdDddDdddDddDdddDdDddDddDddddDdd",
      "dDddDddDdddDddDdDddDddDddDdDddDd",
      "ddddddddDdddddddddddDddddddddddd",
                });
}

std::vector<std::string> CottageRoof() {
  return Placed(40, 32, 5,
                {
      "...........................ooo..........",
      "...........................oko..........",
      "...........................oko..........",
      "..................oo.......oko..........",
      "................oorroo.....oko..........",
      "..............oorrrrrroo...oko..........",
      "............oorrrrrrrrrroo.oko..........",
      "..........oorrrrrrrrrrrrrroooko.........",
      "........oorrrrrrrrrrrrrrrrrroo..........",
      "......oorrrrrrrrrrrrrrrrrrrrrroo........",
      "....oorrrrrrrrrrrrrrrrrrrrrrrrrroo......",
      "...oRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRo.....",
      "....oooooooooooooooooooooooooooooo......",
                });
}

std::vector<std::string> CottageWalls() {
  return Placed(40, 32, 17,
                {
      ".....owwwwwwwwwwwwwwwwwwwwwwwwwwwo......",
      ".....owwwwwwwwwwwwwwwwwwwwwwwwwwWo......",
      ".....owwoooooowwwwwwoooowwwwwwwwWo......",
      ".....owwoyyyyowwwwwwoddowwoooooowo......",
      ".....owwoyoyyowwwwwwoddowwoyyyyoWo......",
      ".....owwoooooowwwwwwoddowwoyoyyoWo......",
      ".....owwoyyyyowwwwwwodyowwoooooowo......",
      ".....owwoooooowwwwwwoddowwwwwwwwWo......",
      ".....owwwwwwwwwwwwwwoddowwwwwwwwWo......",
      ".....oWWWWWWWWWWWWWWoddoWWWWWWWWWo......",
      ".....ooooooooooooooooooooooooooooo......",
                });
}

std::vector<std::string> CottageSmoke() {
  return Placed(40, 32, 0,
                {
      "........................ccc.............",
      ".........................ccSS.....ccc...",
      "............................ccS..ccSSc..",
      ".........................ccccc..cccS....",
      "..........................cSS...........",
                });
}

std::vector<std::string> CottageGround() {
  return Placed(40, 32, 27,
                {
      "gggggggggggggggggggggGsSgggggggggggggggg",
      "ggGgggggGggggggggggggsSsgggggGggggggGggg",
      "gggggGgggggggGggggggsSssGgggggggGggggggg",
      "GggggggggGggggggggGssSssgggGgggggggggggG",
      "ggggGgggggggggGgggsssSsssggggggGgggggggg",
                });
}
// clang-format on

// ------------------------------------------------------------ colours ---

// Palette entries as blue, green, red, the order documents keep.
Bytes BgrPalette(const std::vector<Rgb>& rgb, std::size_t entries) {
  Bytes out(entries * 3, 0);
  for (std::size_t i = 0; i < rgb.size() && i < entries; ++i) {
    out[3 * i] = rgb[i][2];
    out[3 * i + 1] = rgb[i][1];
    out[3 * i + 2] = rgb[i][0];
  }
  return out;
}

std::array<std::uint8_t, 3> Bgr(const Rgb& c) {
  return {c[2], c[1], c[0]};
}

Rgb Mix(const Rgb& a, const Rgb& b, int step, int steps) {
  Rgb out{};
  for (int i = 0; i < 3; ++i)
    out[i] = static_cast<std::uint8_t>(a[i] + (b[i] - a[i]) * step / steps);
  return out;
}

const std::vector<Rgb> kSpriteColors = {
    {205, 226, 236}, {34, 32, 52},    {247, 206, 168}, {222, 160, 112}, {143, 86, 59},
    {204, 52, 56},   {140, 34, 44},   {106, 190, 48},  {55, 140, 60},   {102, 57, 49},
    {69, 40, 60},    {255, 255, 255}, {170, 188, 198}, {110, 120, 132}, {251, 222, 64},
    {150, 172, 184}, {70, 90, 200},   {102, 58, 40},   {200, 150, 40},  {80, 96, 150},
    {54, 64, 110},   {150, 40, 50},   {245, 150, 150}};

const Legend kSpriteLegend = {{'.', 0},  {'o', 1},  {'s', 2},  {'S', 3},  {'h', 4},  {'r', 5},
                              {'R', 6},  {'g', 7},  {'G', 8},  {'b', 9},  {'k', 10}, {'w', 11},
                              {'l', 12}, {'L', 13}, {'y', 14}, {'x', 15}, {'e', 16}, {'H', 17},
                              {'Y', 18}, {'p', 19}, {'P', 20}, {'m', 21}, {'c', 22}};

// The same sprite by moonlight: darker, bluer.
std::vector<Rgb> NightColors() {
  std::vector<Rgb> night;
  for (const Rgb& c : kSpriteColors)
    night.push_back({static_cast<std::uint8_t>(c[0] * 45 / 100),
                     static_cast<std::uint8_t>(c[1] * 50 / 100),
                     static_cast<std::uint8_t>(std::min(255, c[2] * 75 / 100 + 20))});
  return night;
}

// 16 banks of 16 shades, dark to light through the bank's base colour.
struct Ramp {
  Rgb dark, base, light;
};
const std::array<Ramp, 16> kBankRamps = {{
    {{10, 10, 14}, {110, 110, 120}, {250, 250, 250}},  // 0x0_ greys
    {{40, 5, 10}, {200, 40, 50}, {255, 200, 190}},     // 0x1_ red
    {{40, 30, 15}, {200, 170, 120}, {255, 250, 235}},  // 0x2_ cream
    {{10, 35, 10}, {80, 170, 60}, {220, 255, 190}},    // 0x3_ green
    {{25, 12, 5}, {120, 75, 40}, {230, 190, 150}},     // 0x4_ brown
    {{10, 30, 70}, {70, 140, 220}, {220, 240, 255}},   // 0x5_ sky
    {{30, 10, 50}, {130, 70, 190}, {235, 215, 255}},   // 0x6_ violet
    {{50, 20, 0}, {230, 130, 30}, {255, 230, 190}},    // 0x7_ orange
    {{0, 40, 40}, {40, 170, 160}, {200, 255, 245}},    // 0x8_ teal
    {{50, 45, 0}, {230, 200, 40}, {255, 250, 200}},    // 0x9_ yellow
    {{50, 10, 30}, {220, 90, 150}, {255, 220, 235}},   // 0xA_ pink
    {{20, 20, 40}, {90, 100, 160}, {220, 225, 250}},   // 0xB_ slate
    {{30, 40, 0}, {140, 180, 30}, {235, 250, 190}},    // 0xC_ lime
    {{40, 20, 20}, {150, 100, 90}, {240, 220, 210}},   // 0xD_ clay
    {{0, 20, 50}, {30, 90, 200}, {190, 215, 255}},     // 0xE_ blue
    {{35, 25, 10}, {160, 130, 80}, {245, 235, 210}},   // 0xF_ sand
}};

std::vector<Rgb> BankColors() {
  std::vector<Rgb> colors;
  for (const Ramp& ramp : kBankRamps)
    for (int i = 0; i < 16; ++i)
      colors.push_back(i < 8 ? Mix(ramp.dark, ramp.base, i, 8)
                             : Mix(ramp.base, ramp.light, i - 8, 7));
  return colors;
}

// Indices of the mushroom; '.' is each layer's own clear index (see below).
const Legend kMushroomLegend = {{'o', 0x02}, {'r', 0x1A}, {'R', 0x16}, {'q', 0x1D}, {'w', 0x2E},
                                {'W', 0x2A}, {'c', 0x2C}, {'C', 0x28}, {'g', 0x3A}, {'G', 0x36},
                                {'h', 0x3D}, {'d', 0x45}, {'D', 0x43}};

const std::vector<Rgb> kCottageColors = {
    {176, 216, 240}, {40, 30, 40},    {180, 70, 50},   {130, 45, 40},  {230, 210, 160},
    {200, 175, 125}, {120, 80, 50},   {250, 230, 120}, {90, 150, 60},  {60, 110, 50},
    {140, 140, 150}, {220, 220, 225}, {100, 100, 110}, {250, 250, 250}};

const Legend kCottageLegend = {{'.', 0},  {'o', 1},  {'r', 2},  {'R', 3}, {'w', 4},
                               {'W', 5},  {'d', 6},  {'y', 7},  {'g', 8}, {'G', 9},
                               {'s', 10}, {'S', 11}, {'k', 12}, {'c', 13}};

// ------------------------------------------------------------- sprite ---

std::vector<std::string> BlinkingFace() {
  std::vector<std::string> face = SpriteFace();
  face[13] = std::string(32, '.');
  face[14] = "...........oo....oo.............";
  return face;
}

test::LayerDesc IndexedLayer(std::string name, std::uint8_t visible,
                             const std::vector<std::string>& rows, const Legend& legend) {
  test::LayerDesc layer;
  layer.name = std::move(name);
  layer.visible = visible;
  layer.pixels = PixelArt(rows, legend).pixels();
  return layer;
}

// The first layer is the top one: the sword, hidden, covers the hand.
test::PageDesc SpritePage(std::string name, const std::vector<std::string>& face) {
  test::PageDesc page;
  page.name = std::move(name);
  page.width = 32;
  page.height = 32;
  page.layers.push_back(IndexedLayer("Sword", 0, SpriteSword(), kSpriteLegend));
  page.layers.push_back(IndexedLayer(kFaceName, 1, face, kSpriteLegend));
  page.layers.push_back(IndexedLayer("Body", 1, SpriteBody(), kSpriteLegend));
  page.layers.push_back(IndexedLayer(kShadowName, 1, SpriteShadow(), kSpriteLegend));
  page.currentLayer = 2;
  return page;
}

Bytes Sprite() {
  test::DocumentDesc doc;
  doc.depth = 8;
  doc.colorCount = 256;
  doc.palettes.push_back({"Day", BgrPalette(kSpriteColors, 256), {}});
  doc.palettes.push_back({"Night", BgrPalette(NightColors(), 256), {}});
  doc.currentPalette = 0;
  doc.pages.push_back(SpritePage("Stand", SpriteFace()));
  doc.pages.push_back(SpritePage("Blink", BlinkingFace()));
  doc.currentPage = 0;
  doc.backgroundIndex = 0;
  doc.backgroundColor = Bgr(kSpriteColors[0]);
  return test::WriteDocumentFile(doc);
}

// --------------------------------------------------------------- bank ---

// In bank mode every index whose low four bits are 0 is clear; each layer
// uses another of them for its empty pixels.
test::LayerDesc BankLayer(std::string name, const std::vector<std::string>& rows,
                          std::uint8_t clear) {
  Legend legend = kMushroomLegend;
  legend['.'] = clear;
  return IndexedLayer(std::move(name), 1, rows, legend);
}

Bytes Mushroom() {
  test::DocumentDesc doc;
  doc.depth = 8;
  doc.colorCount = 256;
  doc.palettes.push_back({"Banks", BgrPalette(BankColors(), 256), {}});
  test::PageDesc page;
  page.name = "Mushroom";
  page.width = 32;
  page.height = 32;
  page.layers.push_back(BankLayer("Spots", MushroomSpots(), 0x10));
  page.layers.push_back(BankLayer("Cap", MushroomCap(), 0x20));
  page.layers.push_back(BankLayer("Stem", MushroomStem(), 0x30));
  page.layers.push_back(BankLayer("Grass", MushroomGrass(), 0x00));
  doc.pages.push_back(std::move(page));
  doc.backgroundIndex = 0x5B;  // a sky shade fills what no layer covers
  doc.backgroundColor = Bgr(BankColors()[0x5B]);
  doc.bank = 0x00100010;
  return test::WriteDocumentFile(doc);
}

// ---------------------------------------------------------- landscape ---

constexpr int kLandWidth = 64;
constexpr int kLandHeight = 40;
constexpr Rgb kKey = {255, 0, 255};  // the background colour: clear in every layer

class RgbLayer {
 public:
  RgbLayer() : pixels_(kLandWidth * kLandHeight, kKey) {}
  void Set(int x, int y, const Rgb& c) {
    if (x >= 0 && x < kLandWidth && y >= 0 && y < kLandHeight) pixels_[y * kLandWidth + x] = c;
  }
  Bytes Bgr() const {
    Bytes out;
    for (const Rgb& c : pixels_) out.insert(out.end(), {c[2], c[1], c[0]});
    return out;
  }

 private:
  std::vector<Rgb> pixels_;
};

RgbLayer Sky() {
  RgbLayer sky;
  const Rgb top{40, 60, 140}, middle{110, 150, 220}, horizon{250, 190, 140};
  for (int y = 0; y < kLandHeight; ++y) {
    const Rgb c = y < 14   ? Mix(top, middle, y, 14)
                  : y < 28 ? Mix(middle, horizon, y - 14, 14)
                           : horizon;
    for (int x = 0; x < kLandWidth; ++x) sky.Set(x, y, c);
  }
  return sky;
}

RgbLayer Sun() {
  RgbLayer sun;
  for (int y = 0; y < kLandHeight; ++y)
    for (int x = 0; x < kLandWidth; ++x) {
      const int d = (x - 26) * (x - 26) + (y - 6) * (y - 6);
      if (d <= 16)
        sun.Set(x, y, {255, 244, 200});
      else if (d <= 25)
        sun.Set(x, y, {255, 220, 130});
    }
  return sun;
}

RgbLayer Mountains() {
  struct Peak {
    int x, top;
  };
  constexpr Peak kPeaks[] = {{6, 12}, {19, 9}, {31, 14}, {44, 10}, {58, 13}};
  RgbLayer layer;
  for (int x = 0; x < kLandWidth; ++x) {
    int top = kLandHeight;
    int peakX = 0;
    for (const Peak& p : kPeaks) {
      const int t = std::abs(x - p.x) + p.top;
      if (t < top) top = t, peakX = p.x;
    }
    top = std::clamp(top, 9, 26);
    for (int y = top; y < kLandHeight; ++y) {
      const bool snow = y < top + 2 && top < 14;
      const Rgb rock = x > peakX ? Rgb{88, 92, 130} : Rgb{110, 116, 160};  // lit from the left
      layer.Set(x, y, snow ? Rgb{240, 244, 250} : rock);
    }
  }
  return layer;
}

// The top row of the hills in every column.
constexpr int kHillTop[kLandWidth] = {
    28, 29, 29, 29, 29, 29, 29, 29, 28, 28, 28, 28, 28, 28, 29, 29, 29, 29, 29, 28, 28, 27,
    26, 25, 24, 24, 23, 23, 23, 23, 24, 25, 25, 26, 27, 27, 28, 28, 28, 28, 28, 28, 28, 28,
    28, 28, 28, 29, 29, 30, 30, 30, 30, 30, 29, 29, 28, 27, 26, 25, 24, 24, 24, 24};

RgbLayer Hills() {
  RgbLayer layer;
  for (int x = 0; x < kLandWidth; ++x)
    for (int y = kHillTop[x]; y < kLandHeight; ++y)
      layer.Set(x, y, y < kHillTop[x] + 2 ? Rgb{120, 190, 80} : Rgb{80, 160, 70});
  return layer;
}

RgbLayer Lake() {
  RgbLayer layer;
  for (int y = 34; y < kLandHeight; ++y)
    for (int x = 0; x < kLandWidth; ++x)
      layer.Set(x, y, (x + y * 3) % 11 != 0 ? Rgb{60, 120, 190} : Rgb{150, 200, 240});
  return layer;
}

RgbLayer Trees() {
  RgbLayer layer;
  for (int tx : {4, 9, 15, 38, 53, 60}) {
    const int base = kHillTop[tx] + 3;
    for (int dy = 0; dy < 7; ++dy)
      for (int x = tx - dy / 2; x <= tx + dy / 2; ++x)
        layer.Set(x, base - 7 + dy, x <= tx ? Rgb{30, 90, 50} : Rgb{20, 70, 40});
    layer.Set(tx, base, {90, 60, 40});
  }
  return layer;
}

test::LayerDesc RgbLayerDesc(std::string name, const RgbLayer& layer) {
  test::LayerDesc desc;
  desc.name = std::move(name);
  desc.pixels = layer.Bgr();
  return desc;
}

Bytes Landscape() {
  test::DocumentDesc doc;
  doc.depth = 24;
  doc.colorCount = 16;
  const std::vector<Rgb> swatches = {{40, 60, 140},   {110, 150, 220}, {250, 190, 140},
                                     {255, 244, 200}, {110, 116, 160}, {240, 244, 250},
                                     {80, 160, 70},   {60, 120, 190},  {30, 90, 50}};
  doc.palettes.push_back({"Swatches", BgrPalette(swatches, 16), {}});
  test::PageDesc page;
  page.name = "Evening";
  page.width = kLandWidth;
  page.height = kLandHeight;
  page.layers.push_back(RgbLayerDesc("Trees", Trees()));
  page.layers.push_back(RgbLayerDesc("Lake", Lake()));
  page.layers.push_back(RgbLayerDesc("Hills", Hills()));
  page.layers.push_back(RgbLayerDesc("Mountains", Mountains()));
  page.layers.push_back(RgbLayerDesc("Sun", Sun()));
  page.layers.push_back(RgbLayerDesc("Sky", Sky()));
  doc.pages.push_back(std::move(page));
  doc.backgroundColor = Bgr(kKey);
  return test::WriteDocumentFile(doc);
}

// ------------------------------------------------------------- legacy ---

Bytes Cottage() {
  test::LegacyFileDesc file;
  file.width = 40;
  file.height = 32;
  file.transparentIndex = 0;
  for (const Rgb& c : kCottageColors)
    file.paletteRgb.insert(file.paletteRgb.end(), c.begin(), c.end());
  const auto layer = [](const char* name, const std::vector<std::string>& rows) {
    return test::EncodeLegacyLayer(name, 1, PixelArt(rows, kCottageLegend).pixels());
  };
  file.layers = {layer("Smoke", CottageSmoke()), layer("Roof", CottageRoof()),
                 layer("Walls", CottageWalls()), layer("Ground", CottageGround())};
  return test::WriteLegacyFile(file);
}

}  // namespace

std::vector<SampleFile> MakeSamples() {
  return {{"sprite.pel", Sprite()},
          {"mushroom-bank.pel", Mushroom()},
          {"landscape-24bit.pel", Landscape()},
          {"cottage-legacy.pel", Cottage()}};
}

}  // namespace pelo::tools
