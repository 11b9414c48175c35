#include "pel_image_plugin.h"

#include <QIODevice>
#include <memory>

#include "pel_image_handler.h"

namespace pelo::desktop {

QImageIOPlugin::Capabilities PelImagePlugin::capabilities(QIODevice* device,
                                                          const QByteArray& format) const {
  if (format == "pel") return CanRead;
  if (!format.isEmpty() || device == nullptr || !device->isReadable()) return {};
  return PelImageHandler::CanRead(device) ? CanRead : Capabilities();
}

QImageIOHandler* PelImagePlugin::create(QIODevice* device, const QByteArray& format) const {
  // Qt takes ownership of the handler.
  auto* handler = std::make_unique<PelImageHandler>().release();
  handler->setDevice(device);
  handler->setFormat(format);
  return handler;
}

}  // namespace pelo::desktop
