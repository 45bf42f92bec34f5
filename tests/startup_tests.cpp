// The window's state right after it is first shown.
#include "toolkit/screen.h"
#include "window/form1.h"

#include <gtest/gtest.h>

namespace {

// True when the window holds exactly the region CreateRoundRectRgn(0, 0, w, h, c, c).
bool HoldsRoundRect(HWND window, int width, int height, int corner) {
    const toolkit::UniqueRegion held(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(window, held.get()) == ERROR) {
        return false;
    }
    const toolkit::UniqueRegion expected(CreateRoundRectRgn(0, 0, width, height, corner, corner));
    const toolkit::UniqueRegion difference(CreateRectRgn(0, 0, 0, 0));
    return CombineRgn(difference.get(), held.get(), expected.get(), RGN_XOR) == NULLREGION;
}

}  // namespace

TEST(StartUp, TheWindowIsFirstShownRoundedInEnglish) {
    ASSERT_EQ(toolkit::TwipsPerPixelX(), 15.0f) << "the test prefix runs at 96 DPI";
    Form1 form;
    bool visibleDuringLoad = true;
    const toolkit::EventHandler load = form.Load;
    form.Load = [&] {
        load();
        visibleDuringLoad = IsWindowVisible(form.hWnd()) != FALSE;
        EXPECT_TRUE(HoldsRoundRect(form.hWnd(), 412, 237, 12));
        EXPECT_EQ(form.CurrentLanguage, L"English");
    };
    EXPECT_TRUE(form.CurrentLanguage.empty());
    EXPECT_EQ(form.Label6.Caption(), L"Click pe buton pentru a aplica Twinova");

    form.LoadAndShow();

    EXPECT_FALSE(visibleDuringLoad);
    EXPECT_TRUE(IsWindowVisible(form.hWnd()));
    EXPECT_FLOAT_EQ(form.Height(), 3555.0f);
    EXPECT_TRUE(HoldsRoundRect(form.hWnd(), 412, 237, 12));
    EXPECT_FALSE(HoldsRoundRect(form.hWnd(), 412, 237, 25));
    EXPECT_EQ(form.scrlSmooth.Value(), 11);
    EXPECT_EQ(form.lbValue.Caption(), L"12");
    EXPECT_FALSE(form.lbValue.Visible());
    EXPECT_FALSE(IsWindowVisible(form.scrlSmooth.hWnd()));
    EXPECT_EQ(form.Label6.Caption(), L"Click the button to apply");
    EXPECT_EQ(form.Command1.Caption(), L"Apply");
    EXPECT_EQ(form.CurrentLanguage, L"English");
    EXPECT_EQ(GetFocus(), form.Command1.hWnd());
}

TEST(StartUp, TheScrollBarsDesignedValuePlaysNoPart) {
    Form1 form;
    form.scrlSmooth.SetValue(40);
    form.Form_Load();
    EXPECT_EQ(form.lbValue.Caption(), L"12");
    EXPECT_TRUE(HoldsRoundRect(form.hWnd(), 412, 237, 12));
}
