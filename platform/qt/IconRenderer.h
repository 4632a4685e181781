// Turns the program's 16-colour icon resources into Qt pictures.
#pragma once

#include <QIcon>
#include <QImage>
#include <initializer_list>

#include "platform/Resources.h"

class IconRenderer {
 public:
  // The image of `size` pixels, or a null image when the icon has none of that size.
  static QImage Render(const Icon* icon, int size);
  // Every image of the icons, so that the window system picks the size it needs. A null icon
  // adds none.
  static QIcon ToQIcon(std::initializer_list<const Icon*> icons);
};
