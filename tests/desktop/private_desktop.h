// A desktop of the test's own: a MIME database holding only the .pel type,
// a GdkPixbuf loader cache naming only the .pel loader, and pelconv first in
// PATH, all in a temporary folder and announced through the environment
// before any library reads it.
#pragma once

#include <filesystem>

#include "pelconv_run.h"

namespace pelo::desktop::test {

class PrivateDesktop {
 public:
  PrivateDesktop();

  const std::filesystem::path& root() const { return folder_.path(); }

 private:
  tools::test::ScratchFolder folder_;
};

}  // namespace pelo::desktop::test
