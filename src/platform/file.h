// A read-only file object: the framework's CFile as the readers use it.
// Positions are counted from the beginning of the file; a position of 2^31
// or more is refused, as the framework's 32-bit file layer does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pelo {

class CFile {
 public:
  static constexpr std::uint64_t kMaxPosition = 0x7FFFFFFF;

  CFile() = default;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  virtual ~CFile();  // closes an open file

  // Opens for reading only, sharing reads and denying writers. False when the
  // file cannot be opened; nothing is raised.
  // Windows: the name is in the process's ANSI code page and goes the way
  // of the UTF-16 form. Elsewhere: the bytes the system takes (UTF-8).
  bool Open(const char* fileName);
#ifdef _WIN32
  bool Open(const wchar_t* fileName);
#endif
  void Close();

  // Reads up to count bytes at the current position and returns the count
  // read (0 at the end). A failing read raises CFileException.
  virtual std::uint32_t Read(void* buffer, std::uint32_t count);
  virtual std::uint64_t GetPosition() const;
  // Moves to position, counted from the beginning. Beyond the end is allowed;
  // 2^31 or more raises CFileException.
  virtual void Seek(std::uint64_t position);
  // The size of the file in bytes. A failing query raises CFileException.
  virtual std::uint64_t GetLength() const;
  // The bytes between the position and the end; 0 past the end.
  std::uint64_t GetRemaining() const;

  // The count bytes at the position, in place, with the position moved past
  // them; null, the position unchanged, when the file cannot hand out its
  // bytes (a disk file never can) or fewer are left. The bytes belong to the
  // share from then on: nothing else reads or writes them.
  virtual std::shared_ptr<std::uint8_t[]> Share(std::size_t count);
  // All the file's bytes when they already lie in memory (a memory file),
  // for a reader that can take them in place; null otherwise.
  virtual const std::uint8_t* Contents() const {
    return nullptr;
  }

 private:
  std::intptr_t handle_ = -1;
};

}  // namespace pelo
