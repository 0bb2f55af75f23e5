// Design measures are twips; the screen wants pixels. 15 twips are one pixel
// at 96 dpi, scaled with the screen's logical dpi.
#pragma once

class QWidget;

namespace dovetam {

int TwipsToPixels(int twips, const QWidget* w);
int PixelsToTwips(int pixels, const QWidget* w);
// Places w at left, top with width × height, all in twips.
void PlaceTwips(QWidget* w, int left, int top, int width, int height);

}  // namespace dovetam
