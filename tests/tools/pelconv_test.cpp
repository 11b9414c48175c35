// pelconv as its users meet it: the PNGs it writes hold exactly the picture
// that the plug-in's GetPicture returns, and every failure is reported
// without leaving a partial file behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

#include "dib_picture.h"
#include "module_copy.h"
#include "pelconv_run.h"
#include "plugin_module.h"
#include "png_file.h"
#include "support/document_writer.h"

namespace pelo::tools::test {
namespace {

namespace fs = std::filesystem;

const fs::path kSamples = PELO_SAMPLES_DIR;
const char* const kSampleNames[] = {"sprite", "mushroom-bank", "landscape-24bit", "cottage-legacy"};

void WriteBytes(const fs::path& path, const pelo::test::Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

pelo::test::Bytes ReadBytes(const fs::path& path) {
  const std::string text = ReadText(path);
  return pelo::test::Bytes(text.begin(), text.end());
}

// What a host gets from GetPicture with this LayerBond, in PNG terms.
Raster HostPicture(const fs::path& file, int layerBond) {
  ModuleCopy copy;
  EXPECT_TRUE(copy.Make(PELO_MODULE_PATH, layerBond)) << copy.error();
  PluginModule module;
  EXPECT_TRUE(module.Load(copy.path())) << module.error();
  SpiLocalHandle header = nullptr, pixels = nullptr;
  EXPECT_EQ(module.Picture(file.c_str(), 0, 0, &header, &pixels), SPI_SUCCESS);
  DibPicture picture(module, header, pixels);
  EXPECT_TRUE(picture.Open()) << picture.error();
  return FromDib(picture);
}

// ------------------------------------------------------- round trips ---

struct RoundTrip {
  const char* sample;
  const char* layers;  // --layers value
  int layerBond;
};

void PrintTo(const RoundTrip& c, std::ostream* os) {
  *os << c.sample << " --layers " << c.layers;
}

class PelconvRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(PelconvRoundTrip, PngEqualsTheHostsPictureForEachLayerMode) {
  const RoundTrip& c = GetParam();
  ScratchFolder scratch;
  const fs::path input = kSamples / (std::string(c.sample) + ".pel");
  const RunResult run =
      RunPelconv(scratch.path(), {"--layers", c.layers, "-o", "png", input.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const fs::path png = scratch.path() / "png" / (std::string(c.sample) + ".png");
  EXPECT_EQ(run.out, png.string().substr(scratch.path().string().size() + 1) + "\n");

  const Raster written = ReadPng(png.string());
  const Raster expected = HostPicture(input, c.layerBond);
  EXPECT_EQ(written.width, expected.width);
  EXPECT_EQ(written.height, expected.height);
  EXPECT_EQ(written.bitsPerPixel, expected.bitsPerPixel);
  EXPECT_EQ(written.palette, expected.palette);
  EXPECT_TRUE(written.pixels == expected.pixels) << "pixels differ";
}

std::vector<RoundTrip> AllRoundTrips() {
  std::vector<RoundTrip> cases;
  for (const char* name : kSampleNames) {
    cases.push_back({name, "visible", 0});
    cases.push_back({name, "all", 1});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Samples, PelconvRoundTrip, ::testing::ValuesIn(AllRoundTrips()),
                         [](const auto& info) {
                           std::string name =
                               std::string(info.param.sample) + "_" + info.param.layers;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

TEST(Pelconv, SamplesHaveTheExpectedFormsAndTheHiddenSwordShowsOnlyWithAllLayers) {
  const Raster visible = HostPicture(kSamples / "sprite.pel", 0);
  const Raster all = HostPicture(kSamples / "sprite.pel", 1);
  EXPECT_EQ(visible.bitsPerPixel, 8);
  EXPECT_EQ(visible.palette.size(), 256u);
  EXPECT_NE(visible.pixels, all.pixels);
  EXPECT_EQ(HostPicture(kSamples / "landscape-24bit.pel", 0).bitsPerPixel, 24);
}

TEST(Pelconv, StandardInputGivesThePngOnStandardOutput) {
  ScratchFolder scratch;
  for (const char* name : kSampleNames) {
    const fs::path input = kSamples / (std::string(name) + ".pel");
    const RunResult run = RunPelconv(scratch.path(), {"-"}, input.string());
    ASSERT_EQ(run.status, 0) << name << ": " << run.err;
    const fs::path png = scratch.path() / "stdout.png";
    WriteBytes(png, pelo::test::Bytes(run.out.begin(), run.out.end()));
    EXPECT_EQ(ReadPng(png.string()), HostPicture(input, 0)) << name;
  }
}

TEST(Pelconv, WritesBesideEachInputByDefault) {
  ScratchFolder scratch;
  fs::copy_file(kSamples / "sprite.pel", scratch.path() / "hero.pel");
  fs::copy_file(kSamples / "cottage-legacy.pel", scratch.path() / "house");
  const RunResult run = RunPelconv(scratch.path(), {"--quiet", "hero.pel", "house"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(FilesIn(scratch.path()),
            (std::vector<std::string>{"hero.pel", "hero.png", "house", "house.png"}));
}

// ----------------------------------------------------- layer setting ---

class ModuleWithSetting {
 public:
  explicit ModuleWithSetting(int layerBond) {
    EXPECT_TRUE(copy_.Make(PELO_MODULE_PATH, layerBond));
  }
  std::string path() const { return copy_.path(); }
  std::string settings() const { return fs::path(path()).replace_extension(".ini").string(); }

 private:
  ModuleCopy copy_;
};

TEST(Pelconv, WithoutLayersTheModulesOwnSettingAppliesAndLayersNeverTouchesIt) {
  ModuleWithSetting module(1);
  const std::string before = ReadText(module.settings());
  ScratchFolder scratch;
  const std::string sprite = (kSamples / "sprite.pel").string();
  struct Case {
    std::vector<std::string> extra;
    int layerBond;
  };
  for (const Case& c :
       {Case{{}, 1}, Case{{"--layers", "visible"}, 0}, Case{{"--layers", "all"}, 1}}) {
    std::vector<std::string> args = {"--plugin", module.path(), "-o", "out", sprite};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const RunResult run = RunPelconv(scratch.path(), args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadPng((scratch.path() / "out" / "sprite.png").string()),
              HostPicture(sprite, c.layerBond));
  }
  EXPECT_EQ(ReadText(module.settings()), before);
}

// ------------------------------------------------------------ errors ---

pelo::test::Bytes FirstHalf(const fs::path& path) {
  pelo::test::Bytes bytes = ReadBytes(path);
  bytes.resize(bytes.size() / 2);
  return bytes;
}

struct BadFile {
  const char* name;
  std::optional<pelo::test::Bytes> content;  // none: the file does not exist
  const char* reason;                        // part of the message
};

std::vector<BadFile> BadFiles() {
  const std::string text = "just some text, no picture";
  return {
      {"unknown.pel", pelo::test::Bytes(text.begin(), text.end()),
       "neither \"PELO\" nor \"PELO2\""},
      {"empty.pel", pelo::test::Bytes{}, "neither \"PELO\" nor \"PELO2\""},
      {"truncated.pel", FirstHalf(kSamples / "sprite.pel"), "content was rejected: "},
      {"truncated-legacy.pel", FirstHalf(kSamples / "cottage-legacy.pel"), "ends too early"},
      {"wrong-signature.pel",
       pelo::test::Bytes{'P', 'E', 'L', 'O', '3', 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0},
       "signature is not \"PELO\" followed by a zero byte"},
      {"missing.pel", std::nullopt, "cannot open the file: No such file or directory"},
  };
}

void PrintTo(const BadFile& c, std::ostream* os) {
  *os << c.name;
}

class PelconvBadFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(PelconvBadFile, IsReportedWhileTheGoodFilesConvertAndNoPngIsLeft) {
  const BadFile& bad = GetParam();
  ScratchFolder scratch;
  fs::copy_file(kSamples / "sprite.pel", scratch.path() / "a-good.pel");
  fs::copy_file(kSamples / "cottage-legacy.pel", scratch.path() / "z-good.pel");
  if (bad.content) WriteBytes(scratch.path() / bad.name, *bad.content);

  const RunResult run = RunPelconv(scratch.path(), {"a-good.pel", bad.name, "z-good.pel"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(std::string("pelconv: ") + bad.name + ": "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(bad.reason), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "a-good.png\nz-good.png\n");
  std::vector<std::string> expected = {"a-good.pel", "a-good.png", "z-good.pel", "z-good.png"};
  if (bad.content) expected.push_back(bad.name);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FilesIn(scratch.path()), expected);
}

INSTANTIATE_TEST_SUITE_P(Inputs, PelconvBadFile, ::testing::ValuesIn(BadFiles()),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), '-', '_');
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name;
                         });

TEST(Pelconv, RejectedCurrentFileNamesTheLoadersReasonInUtf8) {
  ScratchFolder scratch;
  pelo::test::ContainerOptions options;
  options.declaredSize = 1 << 20;  // more than the body holds
  pelo::test::DocumentDesc doc;
  WriteBytes(scratch.path() / "short.pel", pelo::test::WriteDocumentFile(doc, options));
  const RunResult run = RunPelconv(scratch.path(), {"short.pel"});
  EXPECT_EQ(run.status, 1);
  const auto colon = run.err.find("rejected: ");
  ASSERT_NE(colon, std::string::npos) << run.err;
  EXPECT_GT(run.err.find(" (plug-in result 3)"), colon + 10) << "the loader's text is missing";
}

TEST(Pelconv, AFailedConversionKeepsTheOldPngAndLeavesNoTemporaryFile) {
  ScratchFolder scratch;
  WriteBytes(scratch.path() / "picture.pel", pelo::test::Bytes{'P', 'E', 'L', 'O', '2'});
  WriteBytes(scratch.path() / "picture.png", pelo::test::Bytes{'o', 'l', 'd'});
  EXPECT_EQ(RunPelconv(scratch.path(), {"picture.pel"}).status, 1);
  EXPECT_EQ(ReadText(scratch.path() / "picture.png"), "old");
  EXPECT_EQ(FilesIn(scratch.path()), (std::vector<std::string>{"picture.pel", "picture.png"}));

  fs::copy_file(kSamples / "sprite.pel", scratch.path() / "picture.pel",
                fs::copy_options::overwrite_existing);
  EXPECT_EQ(RunPelconv(scratch.path(), {"picture.pel"}).status, 0);
  EXPECT_EQ(ReadPng((scratch.path() / "picture.png").string()),
            HostPicture(kSamples / "sprite.pel", 0));
}

TEST(Pelconv, UnwritableOutputsAreReportedAndLeaveNothingBehind) {
  ScratchFolder scratch;
  const std::string sprite = (kSamples / "sprite.pel").string();
  WriteBytes(scratch.path() / "a-file", pelo::test::Bytes{'x'});
  // Root may write anywhere, so the outputs are made unwritable by what
  // stands in their way, not by permissions.
  RunResult run = RunPelconv(scratch.path(), {"-o", "a-file/pngs", sprite});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot use the output folder a-file/pngs"), std::string::npos) << run.err;

  fs::create_directories(scratch.path() / "out" / "sprite.png");  // a folder where the PNG goes
  run =
      RunPelconv(scratch.path(), {"-o", "out", sprite, (kSamples / "mushroom-bank.pel").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("sprite.pel: cannot replace out/sprite.png"), std::string::npos)
      << run.err;
  EXPECT_EQ(FilesIn(scratch.path() / "out"),
            (std::vector<std::string>{"mushroom-bank.png", "sprite.png"}));
  EXPECT_TRUE(fs::is_empty(scratch.path() / "out" / "sprite.png"));
}

// ----------------------------------------------------- command line ---

struct CommandLine {
  std::vector<std::string> args;
  int status;
  const char* output;  // part of standard output or, for errors, standard error
};

class PelconvCommandLine : public ::testing::TestWithParam<CommandLine> {};

TEST_P(PelconvCommandLine, AnswersAsUsersExpect) {
  const CommandLine& c = GetParam();
  ScratchFolder scratch;
  const RunResult run = RunPelconv(scratch.path(), c.args);
  EXPECT_EQ(run.status, c.status);
  const std::string& text = c.status == 0 ? run.out : run.err;
  EXPECT_NE(text.find(c.output), std::string::npos) << run.out << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Options, PelconvCommandLine,
    ::testing::Values(
        CommandLine{{"--help"}, 0, "Usage: pelconv"}, CommandLine{{"--version"}, 0, "pelconv 1."},
        CommandLine{{}, 2, "no input files"},
        CommandLine{{"--layers", "some", "x.pel"}, 2, "visible or all"},
        CommandLine{{"--frobnicate", "x.pel"}, 2, "unknown option --frobnicate"},
        CommandLine{{"-o"}, 2, "needs a value"},
        CommandLine{{"--plugin", "/nonexistent/module.so", "x.pel"}, 2, "cannot use the plug-in"},
        CommandLine{{"--thumbnail", "128", "x.pel"}, 2, "needs SIZE, INPUT and OUTPUT"},
        CommandLine{{"--thumbnail", "0", "x.pel", "x.png"}, 2, "SIZE from 1 to 4096"},
        CommandLine{{"--thumbnail", "12px", "x.pel", "x.png"}, 2, "not \"12px\""},
        CommandLine{{"--thumbnail", "4097", "x.pel", "x.png"}, 2, "SIZE from 1 to 4096"},
        CommandLine{{"--thumbnail", "64", "x.pel", "x.png", "y.pel"}, 2, "no other files"},
        CommandLine{{"--info", "--thumbnail", "64", "x.pel", "x.png"}, 2, "no other files"},
        CommandLine{{"--thumbnail", "64", "missing.pel", "x.png"}, 1, "missing.pel: cannot open"},
        CommandLine{{"--split", "--layers", "all", "x.pel"}, 2, "--layers do not apply"},
        CommandLine{{"--split", "-"}, 2, "standard input (-) has none"},
        CommandLine{{"--split", "missing.pel"}, 1, "missing.pel: cannot open"}));

// -------------------------------------------------------------- split ---

// Every file under folder, as paths relative to it with '/' between parts.
std::vector<std::string> TreeOf(const fs::path& folder) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const std::u8string name = entry.path().lexically_relative(folder).generic_u8string();
    files.emplace_back(name.begin(), name.end());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(PelconvSplit, WritesTheTreeOfTheSpriteSample) {
  ScratchFolder scratch;
  const RunResult run =
      RunPelconv(scratch.path(), {"--split", "-o", "out", (kSamples / "sprite.pel").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> expected = {
      "001 Stand/all layers.png",
      "001 Stand/layer 01 Sword (hidden).png",
      "001 Stand/layer 02 \xe9\xa1\x94.png",
      "001 Stand/layer 03 Body.png",
      "001 Stand/layer 04 \xe5\xbd\xb1.png",
      "001 Stand/palette 01 Day.png",
      "001 Stand/palette 02 Night.png",
      "001 Stand/picture.png",
      "002 Blink/all layers.png",
      "002 Blink/layer 01 Sword (hidden).png",
      "002 Blink/layer 02 \xe9\xa1\x94.png",
      "002 Blink/layer 03 Body.png",
      "002 Blink/layer 04 \xe5\xbd\xb1.png",
      "002 Blink/palette 01 Day.png",
      "002 Blink/palette 02 Night.png",
      "002 Blink/picture.png",
  };
  EXPECT_EQ(TreeOf(scratch.path() / "out" / "sprite"), expected);
}

// The picture of the current page, with its visible layers or every layer,
// is the host's picture; the file stays where it is.
TEST(PelconvSplit, PictureEntriesAreTheHostsPicturesForEverySample) {
  ScratchFolder scratch;
  for (const char* name : kSampleNames) {
    SCOPED_TRACE(name);
    const fs::path input = scratch.path() / (std::string(name) + ".pel");
    fs::copy_file(kSamples / (std::string(name) + ".pel"), input);
    const RunResult run = RunPelconv(scratch.path(), {"--split", "--quiet", input.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    const fs::path folder = scratch.path() / name;
    const std::vector<std::string> tree = TreeOf(folder);
    ASSERT_FALSE(tree.empty());
    // The samples' current page is their first.
    const std::string page = tree.front().substr(0, tree.front().find('/'));
    EXPECT_EQ(ReadPng((folder / page / "picture.png").string()), HostPicture(input, 0));
    EXPECT_EQ(ReadPng((folder / page / "all layers.png").string()), HostPicture(input, 1));
  }
}

TEST(PelconvSplit, ABadFileIsReportedWhileTheOthersSplit) {
  ScratchFolder scratch;
  WriteBytes(scratch.path() / "bad.pel", pelo::test::Bytes(64, 'x'));
  fs::copy_file(kSamples / "mushroom-bank.pel", scratch.path() / "good.pel");
  const RunResult run = RunPelconv(scratch.path(), {"--split", "--quiet", "bad.pel", "good.pel"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("bad.pel: "), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(scratch.path() / "bad"));
  EXPECT_EQ(TreeOf(scratch.path() / "good").size(), 6u);
}

// ---------------------------------------------------------- thumbnail ---

TEST(Pelconv, ThumbnailIsTheHostsPictureEnlargedByAWholeFactorWithItsColourTable) {
  ScratchFolder scratch;
  const fs::path sprite = kSamples / "sprite.pel";
  // 32 x 32 into 100 x 100: three times.
  const RunResult run = RunPelconv(
      scratch.path(), {"--layers", "all", "--thumbnail", "100", sprite.string(), "thumb.png"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  const Raster host = HostPicture(sprite, 1);
  const Raster thumb = ReadPng((scratch.path() / "thumb.png").string());
  ASSERT_EQ(thumb.width, 96);
  ASSERT_EQ(thumb.height, 96);
  EXPECT_EQ(thumb.palette, host.palette);
  for (int y = 0; y < thumb.height; ++y)
    for (int x = 0; x < thumb.width; ++x)
      ASSERT_EQ(thumb.pixels[y * 96 + x], host.pixels[(y / 3) * 32 + x / 3]) << x << ", " << y;
}

// --------------------------------------------------------------- info ---

TEST(Pelconv, InfoDescribesPagesPalettesAndLayersWithUtf8Names) {
  ScratchFolder scratch;
  std::vector<std::string> args = {"--info"};
  for (const char* name : kSampleNames)
    args.push_back((kSamples / (std::string(name) + ".pel")).string());
  const RunResult run = RunPelconv(scratch.path(), args);
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* expected :
       {"sprite.pel: current format (PELO2), 32 x 32 pixels, 8 bits per pixel",
        "* 0 \"Day\", 256 colours", "  1 \"Night\", 256 colours", "* 0 \"Stand\", 32 x 32",
        "  1 \"Blink\", 32 x 32", "0 \"Sword\", hidden", "1 \"\xe9\xa1\x94\", visible",
        "3 \"\xe5\xbd\xb1\", visible", "bank mode",
        "landscape-24bit.pel: current format (PELO2), 64 x 40 pixels, 24 bits per pixel",
        "cottage-legacy.pel: legacy format (PELO), 40 x 32 pixels, 8 bits per pixel",
        "\"Smoke\", visible"})
    EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
}

TEST(Pelconv, InfoReportsUnreadableFilesAndGoesOn) {
  ScratchFolder scratch;
  WriteBytes(scratch.path() / "bad.pel", pelo::test::Bytes{'n', 'o'});
  const RunResult run =
      RunPelconv(scratch.path(), {"--info", "bad.pel", (kSamples / "sprite.pel").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("bad.pel: not a .pel picture"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("sprite.pel: current format"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace pelo::tools::test
