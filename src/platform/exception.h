// The framework's exception family: every failure of the file layer and of
// memory allocation travels as one of these, carrying a message text.
#pragma once

#include <cstddef>
#include <string>

namespace pelo {

class CException {
 public:
  explicit CException(std::string message) : message_(std::move(message)) {}
  virtual ~CException() = default;

  // Copies the message, cut to maxChars - 1 bytes plus a terminating zero.
  // Returns false when there is no room for any text.
  bool GetErrorMessage(char* buffer, std::size_t maxChars) const;
  const std::string& Message() const { return message_; }

 private:
  std::string message_;
};

class CFileException : public CException {
 public:
  enum Cause { generic = 1, badSeek = 7, endOfFile = 14 };

  CFileException(Cause cause, std::string message)
      : CException(std::move(message)), cause_(cause) {}
  static CFileException EndOfFile();
  static CFileException BadSeek();
  static CFileException ReadError();

  Cause GetCause() const { return cause_; }

 private:
  Cause cause_;
};

// Raised where the module refuses or fails to obtain memory.
class CMemoryException : public CException {
 public:
  CMemoryException();
};

}  // namespace pelo
