// The archive view of a document: for each page its composed picture, the
// picture with every layer, each layer alone and, at 8 bits with several
// palettes, the picture in each palette. Each entry is a BMP file that the
// bitmap builder draws; its name lies in a folder per page and is made from
// the document's own names, in code page 932.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "document/image_document.h"
#include "platform/cstring.h"
#include "platform/plugin_result.h"
#include "plugin/bitmap_builder.h"

namespace pelo {

struct ArchiveEntry {
  CString folder;    // "001 Page name", without a separator
  CString fileName;  // "layer 01 Sword (hidden).bmp"
  PictureChoice choice;
  std::size_t fileBytes = 0;  // the whole BMP file
};

// What the entries of one list may hold together, counted as the BMP files a
// host receives: one call draws a single entry, but a host that extracts
// every entry pays for all of them, and a file of a few hundred bytes can
// name a hundred thousand layers on a large page. 4 GiB is twice a 32-bit
// host's address space: it holds a 4,096 x 4,096 page with 83 layers at 24
// bits, or an 8,192 x 8,192 one with 19.
inline constexpr std::uint64_t kMaxListBytes = std::uint64_t{4} << 30;

// The entries in their fixed order, or the builder's result for the first
// picture it cannot plan, or 5 when they pass kMaxListBytes together (the
// list is then empty).
PluginResult ListArchiveEntries(const CImageDocument& document, std::vector<ArchiveEntry>* entries);

// folder, a backslash and the file name: the name a host asks for.
CString ArchiveEntryPath(const ArchiveEntry& entry);

// Index of the entry whose path is name, -1 when none is. ignoreCase folds
// the ASCII letters, never the bytes of a double-byte character.
int FindArchiveEntry(const std::vector<ArchiveEntry>& entries, std::string_view name,
                     bool ignoreCase);

// A document's name as part of a file name: at most kMaxNamePartBytes, the
// characters that a file name cannot hold replaced by '_', no spaces or dots
// at the end (which Windows drops).
inline constexpr std::size_t kMaxNamePartBytes = 100;
CString FileNamePart(const CString& name);

}  // namespace pelo
