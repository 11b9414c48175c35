#include <iconv.h>

#include <cstdio>
#include <memory>

#include "platform/folder_file.h"

namespace pelo {
namespace {

// False for bytes that do not form characters of the code page.
bool Utf8FromCp932(const CString& text, std::string* utf8) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  std::string out(text.size() * 3 + 1, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* at = out.data();
  std::size_t outLeft = out.size();
  const bool converted =
      iconv(converter, &in, &inLeft, &at, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(converter);
  if (!converted) return false;
  out.resize(out.size() - outLeft);
  *utf8 = std::move(out);
  return true;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool WriteFileInFolder(const char* folder, const CString& name, const void* data,
                       std::size_t size) {
  std::string utf8;
  if (folder == nullptr || !Utf8FromCp932(name, &utf8)) return false;
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  path += utf8;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  const bool whole = std::fwrite(data, 1, size, file.get()) == size;
  if (std::fclose(file.release()) == 0 && whole) return true;
  std::remove(path.c_str());
  return false;
}

}  // namespace pelo
