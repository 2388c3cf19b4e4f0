// The program's colours, as red, green, blue. Lines of the panel use the
// palette (ui::QBColor) instead.
#pragma once

#include "ui/ui.h"

namespace colours {
constexpr ui::Rgb kWhite = ui::RGB(255, 255, 255);
constexpr ui::Rgb kBlack = ui::RGB(0, 0, 0);
constexpr ui::Rgb kGrey = ui::RGB(192, 192, 192);
constexpr ui::Rgb kRed = ui::RGB(255, 0, 0);
constexpr ui::Rgb kGreen = ui::RGB(0, 255, 0);
constexpr ui::Rgb kDarkGreen = ui::RGB(0, 128, 0);
constexpr ui::Rgb kBlue = ui::RGB(0, 0, 255);
constexpr ui::Rgb kDarkBlue = ui::RGB(0, 0, 192);
constexpr ui::Rgb kYellow = ui::RGB(255, 255, 0);
constexpr ui::Rgb kPaleYellow = ui::RGB(255, 255, 192);
constexpr ui::Rgb kTitleBar = ui::RGB(192, 192, 255);
constexpr ui::Rgb kListBack = ui::RGB(224, 224, 224);
}  // namespace colours
