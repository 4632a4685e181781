// Turns the program's 16-colour icon resources into Qt pictures.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <initializer_list>

#include "platform/IconBitmap.h"
#include "platform/Resources.h"

class IconRenderer {
 public:
  // The image of `size` pixels (see RenderIconBitmap), or a null image when there is none.
  static QImage Render(const Icon* icon, int size);
  // The image of `size` pixels shown on a screen of `ratio` device pixels a pixel: each pixel
  // grown into a square of whole device pixels, so that the picture stays sharp.
  static QPixmap Pixmap(const Icon* icon, int size, qreal ratio);
  // Every image of the icons, at one and at two device pixels a pixel, so that the window system
  // picks the size it needs. A null icon adds none.
  static QIcon ToQIcon(std::initializer_list<const Icon*> icons);
};
