#include "document/document_options.h"

namespace pelo {

namespace {

// Record tags of the document options.
constexpr std::uint16_t kTagFlagA = 1000;
constexpr std::uint16_t kTagFlagB = 1001;

}  // namespace

void DocumentOptionsRecordHandler(CBinaryReader& reader, std::uint16_t tag,
                                  std::uint32_t /*length*/, void* context) {
  auto* options = static_cast<CDocumentOptions*>(context);
  if (tag == kTagFlagA) {
    options->flagA = reader.ReadByte();
  } else if (tag == kTagFlagB) {
    options->flagB = reader.ReadByte();
  }
}

}  // namespace pelo
