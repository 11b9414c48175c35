#include "pages/page_settings.h"

namespace pelo {

CPageSettings::~CPageSettings() = default;

}  // namespace pelo
