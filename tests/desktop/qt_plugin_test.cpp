// A Qt program reading .pel files through the image plug-in: every sample
// by name and by content gives pelconv's pixels, broken files give no image.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>

#include "pelconv_run.h"
#include "rgb_picture.h"
#include "sample_files.h"

namespace pelo::desktop::test {
namespace {

namespace fs = std::filesystem;
using tools::test::ScratchFolder;

RgbPicture FromImage(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  RgbPicture picture{rgb.width(), rgb.height(), {}};
  for (int y = 0; y < rgb.height(); ++y)
    picture.rgb.insert(picture.rgb.end(), rgb.constScanLine(y),
                       rgb.constScanLine(y) + 3 * rgb.width());
  return picture;
}

TEST(QtPlugin, AnnouncesItsKeyAndMimeType) {
  EXPECT_TRUE(QImageReader::supportedImageFormats().contains("pel"));
  EXPECT_TRUE(QImageReader::supportedMimeTypes().contains("image/x-pelo"));
}

TEST(QtPlugin, ReadsEverySampleWithPelconvsPixelsByNameAndByContent) {
  for (const std::string& name : SampleNames()) {
    SCOPED_TRACE(name);
    ScratchFolder scratch;
    const RgbPicture reference = PelconvPicture(SamplePath(name), scratch.path());
    const fs::path copy = scratch.path() / "no-extension";
    fs::copy_file(SamplePath(name), copy);
    for (const fs::path& path : {SamplePath(name), copy}) {
      QImageReader reader(QString::fromStdString(path.string()));
      EXPECT_EQ(reader.format(), "pel");
      const QImage image = reader.read();
      ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
      EXPECT_EQ(FromImage(image), reference);
    }
  }
}

TEST(QtPlugin, BrokenFilesGiveNoImage) {
  for (const BrokenFile& broken : BrokenFiles()) {
    SCOPED_TRACE(broken.name);
    ScratchFolder scratch;
    const fs::path path = scratch.path() / broken.name;
    WriteFile(path, broken.bytes);
    QImageReader reader(QString::fromStdString(path.string()), "pel");
    EXPECT_TRUE(reader.read().isNull());
    EXPECT_FALSE(reader.errorString().isEmpty());
  }
}

}  // namespace
}  // namespace pelo::desktop::test

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
