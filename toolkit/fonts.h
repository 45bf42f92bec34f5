#pragma once

#include "toolkit/handle.h"
#include "toolkit/scale.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace toolkit {

// A font's size and weight; its face is the form's (FontFaces).
struct FontSpec {
    double points;
    int weight;
};

// The faces of a form's fonts, all ANSI character set, upright and plain: one for the design
// scale, and one that scales smoothly to any size for every other.
struct FontFaces {
    std::wstring atDesignScale;
    std::wstring scalable;
};

// A form's fonts at one scale, each made on its first use and deleted with the set: what the
// form hands its controls to draw their texts in.
class FontSet {
  public:
    // `formFont`: the font of the form, and of each control without one of its own.
    FontSet(const Scale& scale, FontFaces faces, FontSpec formFont)
        : scale_(scale), faces_(std::move(faces)), formFont_(formFont) {}

    // The same faces at another scale, with none of its fonts made yet.
    FontSet AtScale(const Scale& scale) const { return {scale, faces_, formFont_}; }

    // The font of that size and weight, or the form's own when none is given; the set owns it.
    HFONT Of(const std::optional<FontSpec>& font);

  private:
    Scale scale_;
    FontFaces faces_;
    FontSpec formFont_;
    std::vector<std::pair<FontSpec, UniqueFont>> made_;
};

}  // namespace toolkit
