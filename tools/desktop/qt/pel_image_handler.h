// Reads one .pel picture for Qt's image reader. The plug-in module gives the
// document's current page only, so a file is one image.
#pragma once

#include <QImageIOHandler>

namespace pelo::desktop {

class PelImageHandler : public QImageIOHandler {
 public:
  bool canRead() const override;
  bool read(QImage* image) override;

  // Whether the device's next bytes begin a .pel file; reads nothing.
  static bool CanRead(QIODevice* device);
};

}  // namespace pelo::desktop
