// The entry of the Qt image-format plug-in: Qt and KDE viewers find .pel
// files by the key "pel", the type image/x-pelo or the bytes "PELO".
#pragma once

#include <QImageIOPlugin>

namespace pelo::desktop {

class PelImagePlugin : public QImageIOPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "pel.json")

 public:
  Capabilities capabilities(QIODevice* device, const QByteArray& format) const override;
  QImageIOHandler* create(QIODevice* device, const QByteArray& format) const override;
};

}  // namespace pelo::desktop
