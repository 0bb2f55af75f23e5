#include "ui/widgets/twips.h"

#include <QWidget>
#include <cmath>

namespace dovetam {

namespace {
double Scale(const QWidget* w) {
  const int dpi = w ? w->logicalDpiX() : 96;
  return (dpi > 0 ? dpi : 96) / 96.0;
}
}  // namespace

int TwipsToPixels(int twips, const QWidget* w) {
  return static_cast<int>(std::lround(twips / 15.0 * Scale(w)));
}

int PixelsToTwips(int pixels, const QWidget* w) {
  return static_cast<int>(std::lround(pixels * 15.0 / Scale(w)));
}

void PlaceTwips(QWidget* w, int left, int top, int width, int height) {
  w->setGeometry(TwipsToPixels(left, w), TwipsToPixels(top, w), TwipsToPixels(width, w),
                 TwipsToPixels(height, w));
}

}  // namespace dovetam
