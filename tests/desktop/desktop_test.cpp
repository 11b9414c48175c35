// .pel files on a desktop, through the real programs: the MIME database
// (gio), the thumbnailer entry a file manager runs, gdk-pixbuf's own
// thumbnailer, and GdkPixbuf in this process. Each shows pelconv's picture,
// enlarged or reduced without new colours, and fails cleanly on broken files.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "pelconv_run.h"
#include "private_desktop.h"
#include "program_run.h"
#include "rgb_picture.h"
#include "sample_files.h"

namespace pelo::desktop::test {
namespace {

namespace fs = std::filesystem;
using tools::test::FilesIn;
using tools::test::ScratchFolder;

std::string ContentType(const fs::path& folder, const fs::path& file) {
  const RunResult run =
      RunProgram(folder, {"gio", "info", "-a", "standard::content-type", file.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string key = "standard::content-type: ";
  const auto at = run.out.find(key);
  if (at == std::string::npos) return {};
  const auto start = at + key.size();
  return run.out.substr(start, run.out.find('\n', start) - start);
}

// ------------------------------------------------------------ MIME type ---

TEST(MimeType, SamplesAreKnownByNameAndCopiesWithoutExtensionByContent) {
  ScratchFolder scratch;
  for (const std::string& name : SampleNames()) {
    EXPECT_EQ(ContentType(scratch.path(), SamplePath(name)), "image/x-pelo") << name;
    const fs::path copy = scratch.path() / (name + "-no-extension");
    fs::copy_file(SamplePath(name), copy);
    EXPECT_EQ(ContentType(scratch.path(), copy), "image/x-pelo") << name;
  }
  const fs::path text = scratch.path() / "notes";
  std::ofstream(text) << "PEL is not at the start of this text\n";
  EXPECT_NE(ContentType(scratch.path(), text), "image/x-pelo");
}

// ---------------------------------------------------- thumbnailer entry ---

// The entry's Exec line as a file manager expands it: split at spaces, each
// field code replaced by one whole argument, and no shell.
std::vector<std::string> ThumbnailerCommand(int size, const std::string& input,
                                            const std::string& output) {
  std::ifstream in(PELO_THUMBNAILER_ENTRY);
  std::string line;
  std::vector<std::string> keys;
  std::string exec;
  while (std::getline(in, line)) {
    keys.push_back(line);
    if (line.rfind("Exec=", 0) == 0) exec = line.substr(5);
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"[Thumbnailer Entry]", "TryExec=pelconv",
                                            "Exec=pelconv --thumbnail %s %i %o",
                                            "MimeType=image/x-pelo;"}));
  std::vector<std::string> argv;
  std::istringstream fields(exec);
  for (std::string field; fields >> field;) {
    if (field == "%s") field = std::to_string(size);
    if (field == "%i") field = input;
    if (field == "%o") field = output;
    argv.push_back(field);
  }
  return argv;
}

struct ThumbnailCase {
  const char* sample;
  int size;
  const char* input;   // the name the file has
  const char* output;  // the name the thumbnail gets
};

void PrintTo(const ThumbnailCase& c, std::ostream* os) {
  *os << c.sample << " at " << c.size << " as [" << c.input << "]";
}

class ThumbnailerEntry : public ::testing::TestWithParam<ThumbnailCase> {};

TEST_P(ThumbnailerEntry, GivesPelconvsPictureScaledByAWholeFactor) {
  const ThumbnailCase& c = GetParam();
  ScratchFolder scratch;
  fs::copy_file(SamplePath(c.sample), scratch.path() / c.input);
  const RunResult run = RunProgram(scratch.path(), ThumbnailerCommand(c.size, c.input, c.output));
  ASSERT_EQ(run.status, 0) << run.err;
  const RgbPicture reference = PelconvPicture(SamplePath(c.sample), scratch.path());
  const RgbPicture thumbnail = ReadPngAsRgb((scratch.path() / c.output).string());
  EXPECT_LE(std::max(thumbnail.width, thumbnail.height), c.size);
  EXPECT_EQ(thumbnail, WholeFactorThumbnail(reference, c.size));
}

INSTANTIATE_TEST_SUITE_P(
    Names, ThumbnailerEntry,
    ::testing::Values(ThumbnailCase{"sprite", 128, "with space.pel", "thumb nail.png"},
                      ThumbnailCase{"landscape-24bit", 16, "it's \"quoted\".pel", "'q\".png"},
                      ThumbnailCase{"cottage-legacy", 128, "-leading-dash.pel", "-out.png"},
                      ThumbnailCase{"mushroom-bank", 20, "--thumbnail.pel", "--help"},
                      ThumbnailCase{"cottage-legacy", 7, "-", "-o"},
                      ThumbnailCase{"sprite", 31, "odd.pel", "odd.png"}));

TEST(ThumbnailerEntry, BrokenFilesFailAndLeaveNoThumbnail) {
  for (const BrokenFile& broken : BrokenFiles()) {
    ScratchFolder scratch;
    WriteFile(scratch.path() / broken.name, broken.bytes);
    const RunResult run =
        RunProgram(scratch.path(), ThumbnailerCommand(128, broken.name, "thumb.png"));
    EXPECT_NE(run.status, 0) << broken.name;
    EXPECT_NE(run.err.find(broken.reason), std::string::npos) << run.err;
    EXPECT_EQ(FilesIn(scratch.path()), std::vector<std::string>{broken.name});
  }
}

// ---------------------------------------------- gdk-pixbuf's thumbnailer ---

TEST(GdkPixbufThumbnailer, GivesPelconvsPictureWithoutNewColours) {
  for (const std::string& name : SampleNames()) {
    for (const int size : {128, 16}) {
      SCOPED_TRACE(name + " at " + std::to_string(size));
      ScratchFolder scratch;
      const RunResult run =
          RunProgram(scratch.path(), {"gdk-pixbuf-thumbnailer", "-s", std::to_string(size),
                                      SamplePath(name).string(), "thumb.png"});
      ASSERT_EQ(run.status, 0) << run.err;
      const RgbPicture reference = PelconvPicture(SamplePath(name), scratch.path());
      const RgbPicture thumbnail = ReadPngAsRgb((scratch.path() / "thumb.png").string());
      EXPECT_EQ(std::max(thumbnail.width, thumbnail.height), size);
      // gdk-pixbuf picks the size; the loader fills it by nearest neighbour,
      // a whole factor wherever the size allows one.
      EXPECT_EQ(thumbnail, NearestNeighbour(reference, thumbnail.width, thumbnail.height));
      if (thumbnail.width % reference.width == 0 && thumbnail.height % reference.height == 0) {
        EXPECT_EQ(thumbnail, WholeFactorThumbnail(reference, size));
      }
      const auto colors = thumbnail.Colors();
      const auto allowed = reference.Colors();
      EXPECT_TRUE(std::includes(allowed.begin(), allowed.end(), colors.begin(), colors.end()));
    }
  }
}

TEST(GdkPixbufThumbnailer, BrokenFilesFailAndLeaveNoThumbnail) {
  for (const BrokenFile& broken : BrokenFiles()) {
    ScratchFolder scratch;
    WriteFile(scratch.path() / broken.name, broken.bytes);
    const RunResult run = RunProgram(
        scratch.path(), {"gdk-pixbuf-thumbnailer", "-s", "128", broken.name, "thumb.png"});
    EXPECT_NE(run.status, 0) << broken.name;
    EXPECT_EQ(FilesIn(scratch.path()), std::vector<std::string>{broken.name});
  }
}

// -------------------------------------------------- GdkPixbuf in process ---

RgbPicture FromPixbuf(GdkPixbuf* pixbuf) {
  EXPECT_EQ(gdk_pixbuf_get_n_channels(pixbuf), 3);
  RgbPicture picture{gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf), {}};
  const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
  for (int y = 0; y < picture.height; ++y) {
    const guchar* row = pixels + static_cast<std::size_t>(y) * gdk_pixbuf_get_rowstride(pixbuf);
    picture.rgb.insert(picture.rgb.end(), row, row + 3 * picture.width);
  }
  return picture;
}

struct PixbufDeleter {
  void operator()(GdkPixbuf* p) const { g_object_unref(p); }
};
struct LoaderDeleter {
  void operator()(GdkPixbufLoader* p) const { g_object_unref(p); }
};
struct ErrorDeleter {
  void operator()(GError* e) const { g_error_free(e); }
};

// Fed in small pieces, as a program streaming a file does.
std::unique_ptr<GdkPixbufLoader, LoaderDeleter> LoadInPieces(const std::vector<std::uint8_t>& bytes,
                                                             GError** error) {
  std::unique_ptr<GdkPixbufLoader, LoaderDeleter> loader(
      gdk_pixbuf_loader_new_with_type("pelo", error));
  if (!loader) return nullptr;
  for (std::size_t at = 0; at < bytes.size(); at += 7) {
    const gsize piece = std::min<std::size_t>(7, bytes.size() - at);
    if (!gdk_pixbuf_loader_write(loader.get(), bytes.data() + at, piece, error)) {
      gdk_pixbuf_loader_close(loader.get(), nullptr);
      return nullptr;
    }
  }
  if (!gdk_pixbuf_loader_close(loader.get(), error)) return nullptr;
  return loader;
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
}

TEST(GdkPixbufLoader, OpensEverySampleWithPelconvsPixelsFromAFileAndInPieces) {
  for (const std::string& name : SampleNames()) {
    SCOPED_TRACE(name);
    ScratchFolder scratch;
    const RgbPicture reference = PelconvPicture(SamplePath(name), scratch.path());
    GError* error = nullptr;
    std::unique_ptr<GdkPixbuf, PixbufDeleter> pixbuf(
        gdk_pixbuf_new_from_file(SamplePath(name).c_str(), &error));
    ASSERT_TRUE(pixbuf) << error->message;
    EXPECT_EQ(FromPixbuf(pixbuf.get()), reference);

    const auto loader = LoadInPieces(ReadAll(SamplePath(name)), &error);
    ASSERT_TRUE(loader) << error->message;
    EXPECT_EQ(FromPixbuf(gdk_pixbuf_loader_get_pixbuf(loader.get())), reference);
    GdkPixbufFormat* format = gdk_pixbuf_loader_get_format(loader.get());
    gchar** types = gdk_pixbuf_format_get_mime_types(format);
    EXPECT_STREQ(types[0], "image/x-pelo");
    g_strfreev(types);
  }
}

TEST(GdkPixbufLoader, BrokenFilesGiveAnErrorWithTheModulesReasonInUtf8) {
  for (const BrokenFile& broken : BrokenFiles()) {
    SCOPED_TRACE(broken.name);
    GError* raw = nullptr;
    EXPECT_FALSE(LoadInPieces(broken.bytes, &raw));
    ASSERT_NE(raw, nullptr);
    const std::unique_ptr<GError, ErrorDeleter> error(raw);
    EXPECT_EQ(error->domain, GDK_PIXBUF_ERROR);
    EXPECT_TRUE(g_utf8_validate(error->message, -1, nullptr));
    EXPECT_NE(std::string(error->message).find(broken.reason), std::string::npos) << error->message;
  }
}

}  // namespace
}  // namespace pelo::desktop::test

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Before any GLib call reads the environment.
  const pelo::desktop::test::PrivateDesktop desktop;
  return RUN_ALL_TESTS();
}
