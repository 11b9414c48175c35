#include "window_capture.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <vector>

namespace pelo::wine {

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutBe32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(Bytes& out, const char* type, const Bytes& data) {
  PutBe32(out, static_cast<std::uint32_t>(data.size()));
  Bytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  PutBe32(out, static_cast<std::uint32_t>(::crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// rows: height rows of width RGB triples, each preceded by filter byte 0.
bool WritePng(const std::string& path, int width, int height, const Bytes& rows) {
  uLongf packedSize = ::compressBound(static_cast<uLong>(rows.size()));
  Bytes packed(packedSize);
  if (::compress(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size())) != Z_OK)
    return false;
  packed.resize(packedSize);

  Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  PutBe32(header, static_cast<std::uint32_t>(width));
  PutBe32(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(file);
}

}  // namespace

bool SaveWindowPng(HWND window, const std::string& path) {
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // A round trip through the window's thread: it has painted by the time
  // this returns.
  ::SendMessageA(window, WM_NULL, 0, 0);
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (bitmap != nullptr && bits != nullptr) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    // From the screen, as the user sees it: wine's PrintWindow leaves the
    // child controls out.
    ok = ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
    ::GdiFlush();
    ::SelectObject(memory, old);
  }
  Bytes rows;
  if (ok) {
    const auto* bgrx = static_cast<const std::uint8_t*>(bits);
    rows.reserve(static_cast<std::size_t>(height) * (1 + static_cast<std::size_t>(width) * 3));
    for (int y = 0; y < height; ++y) {
      rows.push_back(0);
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = bgrx + (static_cast<std::size_t>(y) * width + x) * 4;
        rows.insert(rows.end(), {p[2], p[1], p[0]});
      }
    }
  }
  if (bitmap != nullptr) ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return ok && WritePng(path, width, height, rows);
}

}  // namespace pelo::wine
