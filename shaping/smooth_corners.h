#pragma once

#include "toolkit/form.h"

#include <cstdint>

// Rounded window corners through a window region.
namespace shaping {

// Gives the form the shape CreateRoundRectRgn(0, 0, W, H, C, C), in window coordinates, where
// W and H are its current outer size in pixels at its own scale and C is cornerSize (the
// diameter of each corner's quarter circle), each rounded half to even. Replaces any shape it had
// before; does not follow later size changes. Nothing is clamped: a corner of 0, a negative one or
// one larger than the window is passed on as converted.
//
// Raises, before any region exists, so that the window keeps its previous shape:
// - a floating-point error when a size divided by the form's twips per pixel faults (division
//   by zero 11 for x / 0, overflow 6 for 0 / 0);
// - overflow (6) when W, H or C is NaN, infinite or outside the 32-bit signed range.
// The results of the platform calls are not reported: should CreateRoundRectRgn fail, the
// window loses its region; should SetWindowRgn refuse the region, it is deleted and the
// window keeps its previous shape.
void SmoothFormCorners(toolkit::Form& form, double cornerSize);

// One length in pixels: twips / twipsPerPixel in double precision, checked for a
// floating-point fault, then rounded by RoundToInt32. Raises as above.
std::int32_t PixelsFromTwips(float twips, float twipsPerPixel);

// Rounds to the nearest 32-bit signed integer, a value halfway between two going to the even
// one (400.5 gives 400, 401.5 gives 402); raises overflow (6) for NaN, an infinity or a
// result outside the 32-bit range.
std::int32_t RoundToInt32(double value);

}  // namespace shaping
