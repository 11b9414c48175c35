#include "pel_image_handler.h"

#include <QIODevice>
#include <QImage>
#include <QtGlobal>
#include <cstring>

#include "module_picture.h"

namespace pelo::desktop {

bool PelImageHandler::CanRead(QIODevice* device) {
  return device != nullptr && device->peek(4) == QByteArrayLiteral("PELO");
}

bool PelImageHandler::canRead() const {
  if (!CanRead(device())) return false;
  setFormat("pel");
  return true;
}

bool PelImageHandler::read(QImage* image) {
  const QByteArray bytes = device()->readAll();
  ModulePicture picture;
  if (!picture.Decode(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                      static_cast<std::size_t>(bytes.size()))) {
    // Qt's reader has no room for a handler's reason; the log has.
    qWarning("pel: %s", picture.error().c_str());
    return false;
  }
  QImage result(picture.width(), picture.height(), QImage::Format_RGB888);
  if (result.isNull()) {
    qWarning("pel: no memory for a %d x %d picture", picture.width(), picture.height());
    return false;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(picture.width()) * 3;
  for (int y = 0; y < picture.height(); ++y)
    std::memcpy(result.scanLine(y), picture.rgb().data() + rowBytes * static_cast<std::size_t>(y),
                rowBytes);
  *image = std::move(result);
  return true;
}

}  // namespace pelo::desktop
