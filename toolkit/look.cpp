#include "toolkit/look.h"

#include "toolkit/screen.h"

namespace toolkit {

Look SystemLook() {
    if (!ContrastThemeOn()) {
        return {};
    }
    return {true, GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
            GetSysColor(COLOR_HOTLIGHT), GetSysColor(COLOR_WINDOWFRAME)};
}

void FillWithColor(HDC dc, const RECT& rect, COLORREF color) {
    const COLORREF before = SetDCBrushColor(dc, color);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, before);
}

}  // namespace toolkit
