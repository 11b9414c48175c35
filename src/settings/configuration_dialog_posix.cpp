#include "settings/configuration_dialog.h"

namespace pelo {

// There is no dialog manager here; pelconv's --layers sets the value instead.
int RunConfigurationDialog(void*) {
  return -1;
}

}  // namespace pelo
