#include "document/document_options.h"

namespace pelo {

void DocumentOptionsRecordHandler(CBinaryReader& reader, std::uint16_t tag,
                                  std::uint32_t /*length*/, void* context) {
  auto* options = static_cast<CDocumentOptions*>(context);
  if (tag == 1000) {
    options->flagA = reader.ReadByte();
  } else if (tag == 1001) {
    options->flagB = reader.ReadByte();
  }
}

}  // namespace pelo
