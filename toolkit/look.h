#pragma once

#include <windows.h>

namespace toolkit {

// How a form and its controls are drawn: as designed, or, while the user has a contrast theme
// on, in that theme's few colours and without pictures, as Windows draws its own programs then.
// The form reads it when it is made and whenever the theme or the system's colours change, and
// hands it to whatever it paints.
struct Look {
    bool contrast = false;
    // The theme's colours when the look was read; only a contrast theme uses them.
    COLORREF surface = 0;  // COLOR_WINDOW
    COLORREF text = 0;     // COLOR_WINDOWTEXT
    COLORREF link = 0;     // COLOR_HOTLIGHT
    COLORREF edge = 0;     // COLOR_WINDOWFRAME
};

// The look the system asks for now.
Look SystemLook();

// Fills a rectangle with one colour, making no brush.
void FillWithColor(HDC dc, const RECT& rect, COLORREF color);

}  // namespace toolkit
