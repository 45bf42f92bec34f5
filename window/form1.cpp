#include "window/form1.h"

#include "assets/pictures.h"

namespace {

using toolkit::ButtonDesign;
using toolkit::FontSpec;
using toolkit::LabelDesign;

constexpr toolkit::Color kWhite = 0xFFFFFF;
constexpr toolkit::Color kRed = 0x0000FF;
constexpr toolkit::Color kPeach = 0xC0E0FF;

constexpr FontSpec kBold825{8.25, FW_BOLD};
constexpr FontSpec kBold975{9.75, FW_BOLD};
constexpr FontSpec kBold12{12, FW_BOLD};

toolkit::FormDesign Design() {
    return {L"Brevane Twinova", 6180, 3555, assets::kBackground, assets::kProgramIcon};
}

}  // namespace

Form1::Form1()
    : toolkit::Form(Design()),
      Command3(AddPushButton({3000, 1200, 495, 255}, ButtonDesign{L"EN", 10})),
      Command2(AddPushButton({2400, 1200, 495, 255}, ButtonDesign{L"RO", 9})),
      scrlSmooth(AddScrollBar({1320, 3840, 1695, 255}, {0, 100, 11, 7, false})),
      Command1(AddPushButton({3840, 660, 1935, 375},
                             ButtonDesign{L"Aplica Twinova", 0, true, kPeach})),
      Label7(AddLabel({120, 1200, 2175, 255}, LabelDesign{L"Chose your language:", kBold825})),
      lbValue(AddLabel({960, 3840, 180, 195},
                       LabelDesign{L"12", {}, 0x000000, false, toolkit::kButtonFaceColor, true,
                                   false})),
      Label6(AddLabel({3840, 120, 2175, 375},
                      LabelDesign{L"Click pe buton pentru a aplica Twinova", kBold825, kWhite})),
      Label5(AddLabel({2520, 0, 495, 375}, LabelDesign{})),
      Label4(AddLabel({1920, 0, 495, 375}, LabelDesign{})),
      Image1(AddImage(1920, 0, assets::kButtonStrip)),
      Label3(AddLabel({240, 720, 2415, 255},
                      LabelDesign{L"www.brevane.example", kBold975, kWhite})),
      Label2(AddLabel({120, 120, 1935, 375}, LabelDesign{L"Brevane Twinova", kBold12, kRed})),
      Label1(AddLabel({120, 1680, 3255, 1095}, LabelDesign{})) {}
