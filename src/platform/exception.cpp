#include "platform/exception.h"

#include <algorithm>
#include <cstring>

namespace pelo {

bool CException::GetErrorMessage(char* buffer, std::size_t maxChars) const {
  if (buffer == nullptr || maxChars == 0) return false;
  const std::size_t count = std::min(message_.size(), maxChars - 1);
  std::memcpy(buffer, message_.data(), count);
  buffer[count] = '\0';
  return true;
}

// Texts are code page 932, as every text the module keeps.
// "ファイルの終わりを越えて読み込もうとしました。"
CFileException CFileException::EndOfFile() {
  return CFileException(
      endOfFile,
      "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x8f\x49\x82\xed\x82\xe8\x82\xf0\x89\x7a\x82\xa6"
      "\x82\xc4\x93\xc7\x82\xdd\x8d\x9e\x82\xe0\x82\xa4\x82\xc6\x82\xb5\x82\xdc\x82\xb5\x82\xbd"
      "\x81\x42");
}

// "ファイルの位置を設定できませんでした。"
CFileException CFileException::BadSeek() {
  return CFileException(
      badSeek,
      "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x88\xca\x92\x75\x82\xf0\x90\xdd\x92\xe8\x82\xc5"
      "\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42");
}

// "ファイルの読み込み中にエラーが発生しました。"
CFileException CFileException::ReadError() {
  return CFileException(
      generic,
      "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x92\x86\x82\xc9"
      "\x83\x47\x83\x89\x81\x5b\x82\xaa\x94\xad\x90\xb6\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42");
}

// "メモリが不足しています。"
CMemoryException::CMemoryException()
    : CException(
          "\x83\x81\x83\x82\x83\x8a\x82\xaa\x95\x73\x91\xab\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb7"
          "\x81\x42") {}

}  // namespace pelo
