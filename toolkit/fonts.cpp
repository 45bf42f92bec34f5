#include "toolkit/fonts.h"

#include "toolkit/run_time_error.h"

#include <algorithm>

namespace toolkit {
namespace {

// An upright, plain font of the ANSI character set, `height` as CreateFont takes it.
UniqueFont MadeFont(int height, int weight, const std::wstring& face, BYTE precision) {
    return UniqueFont(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  precision, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

// Whether the system draws `font`'s letters exactly as high as CreateFont's `height` asked.
bool HasLetterHeight(HFONT font, int height) {
    const WindowDc screen(nullptr);
    const SelectionGuard select(screen.get(), font);
    TEXTMETRICW metrics{};
    return GetTextMetricsW(screen.get(), &metrics) != FALSE &&
           metrics.tmHeight - metrics.tmInternalLeading == -height;
}

}  // namespace

HFONT FontSet::Of(const std::optional<FontSpec>& font) {
    const FontSpec wanted = font.value_or(formFont_);
    const auto same = [&wanted](const auto& entry) {
        return entry.first.points == wanted.points && entry.first.weight == wanted.weight;
    };
    const auto found = std::find_if(made_.begin(), made_.end(), same);
    if (found != made_.end()) {
        return found->second.get();
    }
    // At the design scale the face the design was drawn with, where the system has it at the
    // size asked for. That face has a few sizes only, drawn for one DPI and one code page, and
    // the system snaps a size it lacks to another (on a system at another scale, or with a code
    // page whose set has fewer sizes). Anywhere else a face drawn at exactly the size asked for.
    const int height = scale_.FontHeight(wanted.points);
    UniqueFont made;
    if (scale_.IsDesignScale()) {
        made = MadeFont(height, wanted.weight, faces_.atDesignScale, OUT_DEFAULT_PRECIS);
        if (made && !HasLetterHeight(made.get(), height)) {
            made.reset();
        }
    }
    if (!made) {
        made = MadeFont(height, wanted.weight, faces_.scalable, OUT_OUTLINE_PRECIS);
    }
    if (!made) {
        throw RunTimeError(kOutOfMemory);
    }
    made_.emplace_back(wanted, std::move(made));
    return made_.back().second.get();
}

}  // namespace toolkit
