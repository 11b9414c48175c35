// What hostile files make the module allocate: every load and its picture
// are charged to an observing budget, which must stay within the documented
// limit of one call.
#include "support/hostile_files.h"

#include <gtest/gtest.h>

#include <limits>
#include <thread>

#include "document/image_document.h"
#include "io/container_reader.h"
#include "platform/allocation.h"
#include "platform/local_memory.h"
#include "platform/mem_file.h"
#include "plugin/bitmap_builder.h"
#include "readers/picture_loader.h"
#include "support/document_writer.h"

namespace pelo {
namespace {

// Loads and builds the file as GetPicture does, without the call's budget.
void LoadAndBuild(const test::HostileFile& f) {
  CMemFile file(f.bytes.data(), f.bytes.size());
  CImageDocument document;
  try {
    if (CPictureLoader(file).Load(&document) != kResultSuccess) return;
  } catch (const CException&) {
    return;
  }
  LocalHandle header = nullptr;
  LocalHandle pixels = nullptr;
  if (BuildPictureBitmap(document, PictureChoice(), &header, &pixels) != kResultSuccess) return;
  FreeBlock(header);
  FreeBlock(pixels);
}

TEST(HostileFiles, AllocateNoMoreThanTheirBudget) {
  for (const test::HostileFile& f : test::HostileFiles()) {
    SCOPED_TRACE(f.what);
    AllocationBudget observer(std::numeric_limits<std::size_t>::max());
    LoadAndBuild(f);
    EXPECT_LE(observer.used(), kMaxCallBytes);
  }
}

test::Bytes EmptyLayerRecords(std::uint8_t depth, std::uint16_t side, int count) {
  test::DocumentDesc d;
  d.depth = depth;
  test::PageDesc page{"page", side, side, {}, 0, {}};
  for (int i = 0; i < count; ++i) page.extra.Header(2003, 0);
  d.pages = {page};
  return test::WriteDocumentFile(d);
}

TEST(LoadLimits, ARefusedAllocationIsAFailedLoadWithTheMemoryText) {
  const test::Bytes bytes = EmptyLayerRecords(24, 0xFFFF, 1);
  CMemFile file(bytes.data(), bytes.size());
  CImageDocument document;
  EXPECT_FALSE(document.Load(file));
  EXPECT_EQ(document.errorText, CMemoryException().Message());
}

TEST(LoadLimits, ABodyDeflateCannotFillIsRefusedBeforeItsBuffer) {
  const test::Bytes body = test::DocumentBody({}).bytes();
  const test::Bytes good = test::MakeContainer(body);
  const std::uint64_t input = good.size() - 12;
  for (const std::uint64_t declared : {input * kMaxInflateRatio + 1, std::uint64_t{0xFFFFFFFF}}) {
    SCOPED_TRACE(declared);
    test::ContainerOptions o;
    o.declaredSize = static_cast<std::int64_t>(declared);
    const test::Bytes bytes = test::MakeContainer(body, o);
    CMemFile file(bytes.data(), bytes.size());
    CImageDocument document;
    AllocationBudget observer(std::numeric_limits<std::size_t>::max());
    EXPECT_FALSE(document.Load(file));
    EXPECT_EQ(observer.used(), 0u);
    EXPECT_NE(document.errorText, CMemoryException().Message());
  }
}

TEST(AllocationBudget, RefusesPastItsLimitAndChargesEveryOpenBudget) {
  AllocationBudget outer(1000);
  {
    AllocationBudget inner(100);
    EXPECT_NO_THROW(AllocateBytes(60));
    EXPECT_THROW(AllocateBytes(41), CMemoryException);
    EXPECT_NO_THROW(ChargeAllocation(40));
    EXPECT_EQ(inner.used(), 100u);
  }
  EXPECT_EQ(outer.used(), 100u);  // the refused request charged nothing
  EXPECT_THROW(ChargeAllocation(901), CMemoryException);
  EXPECT_NO_THROW(AllocateBytes(900));
}

TEST(AllocationBudget, CountsPerThreadAndOnlyWhileOpen) {
  { AllocationBudget spent(10); }
  EXPECT_NO_THROW(AllocateBytes(1000));  // no budget open any more
  AllocationBudget budget(10);
  std::size_t otherThreadUsed = 0;
  std::thread([&] {
    EXPECT_NO_THROW(AllocateBytes(1000));
    AllocationBudget own(5);
    EXPECT_THROW(AllocateBytes(6), CMemoryException);
    otherThreadUsed = own.used();
  }).join();
  EXPECT_EQ(otherThreadUsed, 0u);
  EXPECT_EQ(budget.used(), 0u);
}

TEST(LoadBudget, IsFourTimesTheBodyPlusTheMarginAndSaturates) {
  EXPECT_EQ(LoadBudgetFor(0), kLoadBudgetMargin);
  EXPECT_EQ(LoadBudgetFor(1000), 4000 + kLoadBudgetMargin);
  EXPECT_EQ(LoadBudgetFor(std::numeric_limits<std::uint64_t>::max()),
            std::numeric_limits<std::size_t>::max());
}

}  // namespace
}  // namespace pelo
