// The GdkPixbuf loader module for .pel files: GTK programs, file choosers and
// gdk-pixbuf's thumbnailer open them through it. The bytes are gathered as
// they arrive and decoded once, at the end, by the picture plug-in.
#define GDK_PIXBUF_ENABLE_BACKEND
#include <gdk-pixbuf/gdk-pixbuf-io.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "module_picture.h"

namespace {

using pelo::desktop::ModulePicture;

struct LoadContext {
  GdkPixbufModuleSizeFunc sizeFunc;
  GdkPixbufModulePreparedFunc preparedFunc;
  GdkPixbufModuleUpdatedFunc updatedFunc;
  gpointer userData;
  std::vector<std::uint8_t> bytes;
};

gboolean Fail(GError** error, const std::string& reason) {
  gchar* text = g_utf8_make_valid(reason.c_str(), -1);
  g_set_error(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_CORRUPT_IMAGE, "%s", text);
  g_free(text);
  return FALSE;
}

// A caller that asks for another size gets it by nearest neighbour, so the
// pixels keep their colours rather than being blended by the generic scaler.
void Fill(const ModulePicture& picture, GdkPixbuf* pixbuf) {
  const int width = gdk_pixbuf_get_width(pixbuf);
  const int height = gdk_pixbuf_get_height(pixbuf);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
  const std::uint8_t* rgb = picture.rgb().data();
  for (int y = 0; y < height; ++y) {
    const auto sourceY = static_cast<std::size_t>(std::int64_t{y} * picture.height() / height);
    const std::uint8_t* row = rgb + sourceY * static_cast<std::size_t>(picture.width()) * 3;
    guchar* target = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
    for (int x = 0; x < width; ++x) {
      const auto sourceX = static_cast<std::size_t>(std::int64_t{x} * picture.width() / width);
      std::memcpy(target + 3 * static_cast<std::size_t>(x), row + 3 * sourceX, 3);
    }
  }
}

gboolean Deliver(LoadContext& context, GError** error) {
  ModulePicture picture;
  if (!picture.Decode(context.bytes.data(), context.bytes.size()))
    return Fail(error, picture.error());
  int width = picture.width();
  int height = picture.height();
  context.sizeFunc(&width, &height, context.userData);
  if (width <= 0 || height <= 0) return Fail(error, "the picture was asked for at no size");
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
  if (pixbuf == nullptr) return Fail(error, "no memory for the picture");
  Fill(picture, pixbuf);
  context.preparedFunc(pixbuf, nullptr, context.userData);
  context.updatedFunc(pixbuf, 0, 0, width, height, context.userData);
  g_object_unref(pixbuf);
  return TRUE;
}

gpointer BeginLoad(GdkPixbufModuleSizeFunc sizeFunc, GdkPixbufModulePreparedFunc preparedFunc,
                   GdkPixbufModuleUpdatedFunc updatedFunc, gpointer userData, GError** error) {
  try {
    // Owned by gdk-pixbuf until stop_load takes it back.
    return std::make_unique<LoadContext>(
               LoadContext{sizeFunc, preparedFunc, updatedFunc, userData, {}})
        .release();
  } catch (const std::bad_alloc&) {
    g_set_error(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY, "no memory");
    return nullptr;
  }
}

gboolean LoadIncrement(gpointer data, const guchar* buffer, guint size, GError** error) {
  auto* context = static_cast<LoadContext*>(data);
  try {
    context->bytes.insert(context->bytes.end(), buffer, buffer + size);
    return TRUE;
  } catch (const std::bad_alloc&) {
    g_set_error(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
                "no memory for the file");
    return FALSE;
  }
}

gboolean StopLoad(gpointer data, GError** error) {
  std::unique_ptr<LoadContext> context(static_cast<LoadContext*>(data));
  try {
    return Deliver(*context, error);
  } catch (...) {
    return Fail(error, "the picture could not be decoded");
  }
}

}  // namespace

extern "C" {

G_MODULE_EXPORT void fill_vtable(GdkPixbufModule* module) {
  module->begin_load = BeginLoad;
  module->load_increment = LoadIncrement;
  module->stop_load = StopLoad;
}

G_MODULE_EXPORT void fill_info(GdkPixbufFormat* info) {
  // Both formats begin with these four bytes.
  static GdkPixbufModulePattern signature[] = {{const_cast<gchar*>("PELO"), nullptr, 100},
                                               {nullptr, nullptr, 0}};
  static const gchar* mimeTypes[] = {"image/x-pelo", nullptr};
  static const gchar* extensions[] = {"pel", nullptr};
  info->name = const_cast<gchar*>("pelo");
  info->signature = signature;
  info->description = const_cast<gchar*>("PELO pixel art");
  info->mime_types = const_cast<gchar**>(mimeTypes);
  info->extensions = const_cast<gchar**>(extensions);
  info->flags = GDK_PIXBUF_FORMAT_THREADSAFE;
  info->license = const_cast<gchar*>("MIT");
}

}  // extern "C"
