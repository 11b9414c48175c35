#include "archive/archive_listing.h"

#include <cstdio>
#include <string>

#include "archive/entry_file.h"
#include "document/color_palette.h"
#include "pages/layer.h"
#include "pages/page.h"
#include "platform/mbcs.h"

namespace pelo {
namespace {

bool IsForbiddenInFileName(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return true;
  switch (c) {
    case '\\':
    case '/':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
      return true;
    default:
      return false;
  }
}

// "prefix" alone, or "prefix name" when the name has something left.
CString Numbered(const char* format, int number, const CString& name) {
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, format, number);
  const CString part = FileNamePart(name);
  return part.empty() ? CString(prefix) : CString(prefix) + " " + part;
}

class PageEntries {
 public:
  PageEntries(const CImageDocument& document, int pageIndex, std::vector<ArchiveEntry>* entries)
      : document_(document), page_(pageIndex), entries_(entries) {}

  PluginResult Add() {
    const auto* page = static_cast<const CPage*>(document_.pages.GetAt(page_));
    folder_ = Numbered("%03d", page_ + 1, page->name);
    if (const PluginResult r = AddOne("picture.bmp", LayerSet::kVisible, -1, -1);
        r != kResultSuccess)
      return r;
    if (const PluginResult r = AddOne("all layers.bmp", LayerSet::kAll, -1, -1);
        r != kResultSuccess)
      return r;
    for (int i = 0; i < page->layers.GetCount(); ++i) {
      const auto* layer = static_cast<const CLayer*>(page->layers.GetAt(i));
      CString name = Numbered("layer %02d", i + 1, layer->name);
      if (layer->visible == 0) name += " (hidden)";
      if (const PluginResult r = AddOne(name + ".bmp", LayerSet::kOne, i, -1); r != kResultSuccess)
        return r;
    }
    return AddPalettes();
  }

 private:
  // Only an indexed picture has a colour table to change.
  PluginResult AddPalettes() {
    const int count = document_.palettes.GetCount();
    if (count < 2) return kResultSuccess;
    PicturePlan plan;
    PictureChoice choice;
    choice.page = page_;
    if (PlanPicture(document_, choice, &plan) != kResultSuccess || !plan.indexed)
      return kResultSuccess;
    for (int i = 0; i < count; ++i) {
      const auto* palette = static_cast<const CColorPalette*>(document_.palettes.GetAt(i));
      const CString name = Numbered("palette %02d", i + 1, palette->name);
      if (const PluginResult r = AddOne(name + ".bmp", LayerSet::kVisible, -1, i);
          r != kResultSuccess)
        return r;
    }
    return kResultSuccess;
  }

  PluginResult AddOne(CString fileName, LayerSet layers, int layer, int palette) {
    ArchiveEntry entry;
    entry.folder = folder_;
    entry.fileName = std::move(fileName);
    entry.choice.page = page_;
    entry.choice.layers = layers;
    entry.choice.layer = layer;
    entry.choice.palette = palette;
    PicturePlan plan;
    const PluginResult planned = PlanEntryFile(document_, entry.choice, &plan, &entry.fileBytes);
    if (planned != kResultSuccess) return planned;
    entries_->push_back(std::move(entry));
    return kResultSuccess;
  }

  const CImageDocument& document_;
  int page_;
  std::vector<ArchiveEntry>* entries_;
  CString folder_;
};

bool IsTrailByteCp932(unsigned char c) {
  return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

unsigned char FoldAscii(unsigned char c) {
  return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
}

bool EqualNames(std::string_view a, std::string_view b, bool ignoreCase) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (IsLeadByteCp932(x) && i + 1 < a.size()) {
      // The trail byte may look like a letter: compare both bytes as they are.
      if (x != y || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (ignoreCase ? FoldAscii(x) != FoldAscii(y) : x != y) return false;
  }
  return true;
}

// Each entry is within the buffer limit, so the sum of 2^32 of them cannot
// wrap 64 bits.
std::uint64_t ListBytes(const std::vector<ArchiveEntry>& entries) {
  std::uint64_t total = 0;
  for (const ArchiveEntry& entry : entries) total += entry.fileBytes;
  return total;
}

}  // namespace

CString FileNamePart(const CString& name) {
  CString part = TruncateToCharBoundary(name, kMaxNamePartBytes);
  for (std::size_t i = 0; i < part.size(); ++i) {
    const auto c = static_cast<unsigned char>(part[i]);
    if (IsLeadByteCp932(c)) {
      // A lead byte without a trail byte would swallow the next character.
      if (i + 1 < part.size() && IsTrailByteCp932(static_cast<unsigned char>(part[i + 1]))) {
        ++i;
        continue;
      }
      part[i] = '_';
      continue;
    }
    if (IsForbiddenInFileName(c)) part[i] = '_';
  }
  while (!part.empty() && (part.back() == ' ' || part.back() == '.')) part.pop_back();
  return part;
}

PluginResult ListArchiveEntries(const CImageDocument& document,
                                std::vector<ArchiveEntry>* entries) {
  entries->clear();
  for (int i = 0; i < document.pages.GetCount(); ++i) {
    const PluginResult result = PageEntries(document, i, entries).Add();
    if (result != kResultSuccess) {
      entries->clear();
      return result;
    }
  }
  if (ListBytes(*entries) > kMaxListBytes) {
    entries->clear();
    return kResultNoMemory;
  }
  return entries->empty() ? kResultUnknownFormat : kResultSuccess;
}

CString ArchiveEntryPath(const ArchiveEntry& entry) {
  return entry.folder + "\\" + entry.fileName;
}

int FindArchiveEntry(const std::vector<ArchiveEntry>& entries, std::string_view name,
                     bool ignoreCase) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (EqualNames(ArchiveEntryPath(entries[i]), name, ignoreCase)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace pelo
