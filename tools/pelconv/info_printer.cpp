#include "info_printer.h"

#include "document/color_palette.h"
#include "failure_reason.h"
#include "pages/layer.h"
#include "pages/page.h"
#include "readers/picture_loader.h"
#include "text_conversion.h"

namespace pelo::tools {

namespace {

const char* CurrentMark(const CItemList& list, int index) {
  return list.currentIndex == index ? "*" : " ";
}

std::string Quoted(const std::string& cp932) {
  std::string text(1, '"');
  text += Cp932ToUtf8(cp932);
  text += '"';
  return text;
}

// Reads the document as the plug-in would: the current format through the
// loader, the legacy format through its reader.
std::string LoadDocument(const PictureInput& input, CImageDocument* document, bool* legacy) {
  try {
    std::unique_ptr<CFile> file = input.OpenFile();
    if (!file) return "cannot open the file";
    CPictureLoader loader(*file);
    *legacy = loader.format() == kFormatLegacy;
    if (loader.Load(document) == kResultSuccess) return "";
    if (*legacy) return "cannot read the layers";
    if (loader.format() == kFormatNone)
      return "not a .pel picture: it begins with neither \"PELO\" nor \"PELO2\"";
    return Cp932ToUtf8(document->errorText);
  } catch (...) {
    return "the file is damaged or ends too early";
  }
}

}  // namespace

std::string InfoPrinter::Load(PictureInput& input, PictureInfo* info, CImageDocument* document,
                              bool* legacy) {
  if (!input.Prepare()) return input.error();
  const int result =
      module_.PictureInfoOf(input.Source(), input.PositionOrSize(), input.Flag(), info);
  if (result != SPI_SUCCESS) return DescribeFailure(result, input);
  return LoadDocument(input, document, legacy);
}

bool InfoPrinter::Print(PictureInput& input) {
  PictureInfo info{};
  CImageDocument document;
  bool legacy = false;
  if (const std::string reason = Load(input, &info, &document, &legacy); !reason.empty()) {
    std::fprintf(stderr, "pelconv: %s: %s\n", input.Name().c_str(), reason.c_str());
    return false;
  }
  std::fprintf(out_, "%s: %s, %d x %d pixels, %d bits per pixel\n", input.Name().c_str(),
               legacy ? "legacy format (PELO)" : "current format (PELO2)", info.width, info.height,
               info.colorDepth);
  if (legacy) {
    const auto* page = static_cast<const CPage*>(document.pages.GetCurrent());
    if (page != nullptr) PrintLayers(*page, "  ", false);
  } else {
    PrintDocument(document);
  }
  return true;
}

void InfoPrinter::PrintDocument(const CImageDocument& document) {
  std::fprintf(out_, "  document depth %d, %u colours per palette, ", document.depth,
               document.colorCount);
  const auto& background = document.backgroundColor;
  if (document.depth > 8) {
    std::fprintf(out_, "background colour #%02X%02X%02X", background.color[2], background.color[1],
                 background.color[0]);
  } else {
    std::fprintf(out_, "background index %d", background.index);
  }
  if (document.bankMode != 0) std::fprintf(out_, ", bank mode (index 0 of every 16 is clear)");
  std::fprintf(out_, "\n");
  PrintPalettes(document);
  PrintPages(document);
}

void InfoPrinter::PrintPalettes(const CImageDocument& document) {
  const CItemList& list = document.palettes;
  std::fprintf(out_, "  palettes: %d (* current)\n", list.GetCount());
  for (int i = 0; i < list.GetCount(); ++i) {
    const auto* palette = static_cast<const CColorPalette*>(list.GetAt(i));
    if (palette == nullptr) continue;
    std::fprintf(out_, "   %s %d %s, %d colours\n", CurrentMark(list, i), i,
                 Quoted(palette->name).c_str(), palette->colorCount);
  }
}

void InfoPrinter::PrintPages(const CImageDocument& document) {
  const CItemList& list = document.pages;
  std::fprintf(out_, "  pages: %d (* current)\n", list.GetCount());
  for (int i = 0; i < list.GetCount(); ++i) {
    const auto* page = static_cast<const CPage*>(list.GetAt(i));
    if (page == nullptr) continue;
    std::fprintf(out_, "   %s %d %s, %d x %d\n", CurrentMark(list, i), i,
                 Quoted(page->name).c_str(), page->width, page->height);
    PrintLayers(*page, "      ", true);
  }
}

void InfoPrinter::PrintLayers(const CPage& page, const char* indent, bool markCurrent) {
  const CItemList& list = page.layers;
  std::fprintf(out_, "%slayers: %d, top first%s\n", indent, list.GetCount(),
               markCurrent ? " (* current)" : "");
  for (int i = 0; i < list.GetCount(); ++i) {
    const auto* layer = static_cast<const CLayer*>(list.GetAt(i));
    if (layer == nullptr) continue;
    std::fprintf(out_, "%s %s %d %s, %s\n", indent, markCurrent ? CurrentMark(list, i) : " ", i,
                 Quoted(layer->name).c_str(), layer->visible != 0 ? "visible" : "hidden");
  }
}

}  // namespace pelo::tools
