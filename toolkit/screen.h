#pragma once

namespace toolkit {

// Tells Windows that the program draws itself at the scale of each monitor, so that Windows
// never stretches its windows as bitmaps. Per-monitor (version 2) where Windows has it (Windows
// 10 1703 and later): each window is told the scale of the monitor it is on, and WM_DPICHANGED
// when it moves to another. Elsewhere, or where Windows refuses, system-aware (Windows 7 to 10
// 1607): one scale, the primary monitor's at sign-in, for every window. It must come before the
// process makes any window or screen device context.
void DeclareDpiAwareness();

// How many twips (1/1440 inch) make one pixel on the screen, from the screen's real DPI:
// 15 at 96 DPI, 12 at 120 DPI.
float TwipsPerPixelX();
float TwipsPerPixelY();

// A length in twips as whole screen pixels, rounded to the nearest.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);

}  // namespace toolkit
