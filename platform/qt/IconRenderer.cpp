#include "platform/qt/IconRenderer.h"

#include <QPixmap>
#include <algorithm>

QImage IconRenderer::Render(const Icon* icon, int size) {
  IconBitmap bitmap = RenderIconBitmap(icon, size);
  if (bitmap.size == 0)
    return QImage();
  QImage image(bitmap.rgba.data(), bitmap.size, bitmap.size, bitmap.size * 4,
               QImage::Format_RGBA8888);
  // The bitmap goes when this function returns; the image must own a copy of its pixels.
  return image.copy();
}

QPixmap IconRenderer::Pixmap(const Icon* icon, int size, qreal ratio) {
  QImage image = Render(icon, size);
  int scale = std::max(1, qRound(ratio));
  if (image.isNull() || scale == 1)
    return QPixmap::fromImage(image);
  QPixmap pixmap = QPixmap::fromImage(
      image.scaled(size * scale, size * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  pixmap.setDevicePixelRatio(scale);
  return pixmap;
}

QIcon IconRenderer::ToQIcon(std::initializer_list<const Icon*> icons) {
  QIcon result;
  for (const Icon* icon : icons) {
    if (!icon)
      continue;
    for (const IconImage& image : icon->images) {
      result.addPixmap(Pixmap(icon, image.size, 1));
      result.addPixmap(Pixmap(icon, image.size, 2));
    }
  }
  return result;
}
