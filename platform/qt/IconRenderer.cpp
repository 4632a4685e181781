#include "platform/qt/IconRenderer.h"

#include <QPixmap>
#include <algorithm>
#include <cstring>

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}
}  // namespace

QImage IconRenderer::Render(const Icon* icon, int size) {
  if (!icon)
    return QImage();
  for (const IconImage& image : icon->images) {
    if (image.size != size)
      continue;
    QImage out(size, size, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    int y = 0;
    for (const char* row : image.rows) {
      if (y >= size)
        break;
      // A short or damaged row leaves the rest transparent rather than reading past it.
      int length = static_cast<int>(std::strlen(row));
      for (int x = 0; x < size && x < length; ++x) {
        int index = HexDigit(row[x]);
        if (index < 0)
          continue;
        DWORD rgb = kIconPalette[index];
        out.setPixel(x, y, 0xFF000000u | rgb);
      }
      ++y;
    }
    return out;
  }
  return QImage();
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
