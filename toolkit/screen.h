#pragma once

namespace toolkit {

// How many twips (1/1440 inch) make one pixel on the screen, from the screen's real DPI:
// 15 at 96 DPI, 12 at 120 DPI.
float TwipsPerPixelX();
float TwipsPerPixelY();

// A length in twips as whole screen pixels, rounded to the nearest.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);

}  // namespace toolkit
