#include "support/document_writer.h"

namespace pelo::test {

RecordWriter SelectionBody(const SelectionDesc& s) {
  Bytes rect;
  for (std::int32_t v : {s.left, s.top, s.right, s.bottom})
    PutLe32(rect, static_cast<std::uint32_t>(v));
  RecordWriter w;
  w.Data(1000, rect).Data(1001, s.mask).Data(1002, s.pixels);
  return w;
}

RecordWriter LayerBody(const LayerDesc& layer) {
  RecordWriter w;
  w.Text(1000, layer.name).Byte(1005, layer.visible);
  if (!layer.pixels.empty()) w.Data(1006, layer.pixels);
  if (layer.selection) w.Nested(1008, SelectionBody(*layer.selection));
  w.Raw(layer.extra.bytes());
  return w;
}

RecordWriter PageBody(const PageDesc& page) {
  RecordWriter w;
  w.Text(1000, page.name).Word(1005, page.width).Word(1006, page.height);
  for (const auto& layer : page.layers) w.Nested(2003, LayerBody(layer));
  if (page.currentLayer) w.Dword(2004, static_cast<std::uint32_t>(*page.currentLayer));
  w.Raw(page.extra.bytes());
  return w;
}

RecordWriter PaletteBody(const PaletteDesc& palette) {
  RecordWriter w;
  w.Text(1000, palette.name);
  if (!palette.colors.empty()) w.Data(1005, palette.colors);
  w.Raw(palette.extra.bytes());
  return w;
}

RecordWriter DocumentBody(const DocumentDesc& d) {
  RecordWriter w;
  w.Byte(1000, d.depth).Byte(1001, d.colorFormat).Word(3001, d.colorCount);
  for (const auto& palette : d.palettes) w.Nested(3003, PaletteBody(palette));
  if (d.currentPalette) w.Dword(3004, static_cast<std::uint32_t>(*d.currentPalette));
  w.Dword(3006, d.backgroundIndex);
  RecordWriter background;
  background.Byte(1000, d.backgroundIndex)
      .Data(1001, Bytes(d.backgroundColor.begin(), d.backgroundColor.end()));
  w.Nested(3008, background);
  for (const auto& page : d.pages) w.Nested(2003, PageBody(page));
  if (d.currentPage) w.Dword(2004, static_cast<std::uint32_t>(*d.currentPage));
  if (d.bank) w.Dword(4000, *d.bank);
  w.Raw(d.extra.bytes());
  return w;
}

Bytes WriteDocumentFile(const DocumentDesc& document, const ContainerOptions& options) {
  return MakeContainer(DocumentBody(document).bytes(), options);
}

LegacyLayerDesc EncodeLegacyLayer(std::string name, std::uint8_t visible, const Bytes& pixels,
                                  std::size_t minRun) {
  LegacyLayerDesc layer{std::move(name), visible, {}, {}};
  std::size_t i = 0;
  while (i < pixels.size()) {
    std::size_t j = i + 1;
    while (j < pixels.size() && pixels[j] == pixels[i]) ++j;
    if (j - i >= minRun) {
      layer.runs.push_back({static_cast<std::uint32_t>(layer.literals.size()),
                            static_cast<std::uint32_t>(j - i), pixels[i]});
    } else {
      layer.literals.insert(layer.literals.end(), pixels.begin() + static_cast<std::ptrdiff_t>(i),
                            pixels.begin() + static_cast<std::ptrdiff_t>(j));
    }
    i = j;
  }
  return layer;
}

Bytes WriteLegacyFile(const LegacyFileDesc& f) {
  Bytes out(f.signature.begin(), f.signature.end());
  PutLe32(out, f.width);
  PutLe32(out, f.height);
  PutLe16(out, f.declaredLayerCount.value_or(static_cast<std::uint16_t>(f.layers.size())));
  out.push_back(f.transparentIndex);
  Bytes palette = f.paletteRgb;
  palette.resize(768, 0);
  out.insert(out.end(), palette.begin(), palette.end());
  for (const auto& layer : f.layers) {
    Bytes name(80, 0);
    for (std::size_t i = 0; i < layer.name.size() && i < 80; ++i)
      name[i] = static_cast<std::uint8_t>(layer.name[i]);
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(layer.visible);
    PutLe32(out, static_cast<std::uint32_t>(layer.runs.size()));
    for (const auto& run : layer.runs) {
      PutLe32(out, run.position);
      PutLe32(out, run.length);
      out.push_back(run.value);
    }
    PutLe32(out, static_cast<std::uint32_t>(layer.literals.size()));
    out.insert(out.end(), layer.literals.begin(), layer.literals.end());
  }
  return out;
}

}  // namespace pelo::test
