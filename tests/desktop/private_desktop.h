// A desktop of the test's own: a MIME database holding only the .pel type,
// a GdkPixbuf loader cache naming only the .pel loader, and pelconv first in
// PATH, all in a temporary folder and announced through the environment
// before any library reads it.
#pragma once

#include <filesystem>

namespace pelo::desktop::test {

class PrivateDesktop {
 public:
  PrivateDesktop();
  PrivateDesktop(const PrivateDesktop&) = delete;
  PrivateDesktop& operator=(const PrivateDesktop&) = delete;
  ~PrivateDesktop();

  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
};

}  // namespace pelo::desktop::test
