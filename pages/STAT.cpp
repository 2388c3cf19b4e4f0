// The statistics page: one picture of the whole page, at the size that
// suits the screen's height.
#include "window/KESTOR_11.h"

namespace {

// Screen heights, in twips, above which the larger pictures are shown:
// 0.9 and 0.75 of the reference height (768 pixels).
constexpr float kLargeAbove = 768 * 15 * 9 / 10;
constexpr float kMediumAbove = 768 * 15 * 3 / 4;
// The box the smallest picture is stretched to, in twips.
constexpr float kSmallWidth = 9120;
constexpr float kSmallHeight = 5460;

}  // namespace

void KESTOR_11::STAT() {
  INVISIBLE();
  const float SH = Height();
  ui::Image& picture = SH > kLargeAbove    ? STAT_Image3
                       : SH > kMediumAbove ? STAT_Image2
                                           : STAT_Image1;
  if (&picture == &STAT_Image1) {
    STAT_Image1.SetWidth(kSmallWidth);
    STAT_Image1.SetHeight(kSmallHeight);
  }
  picture.SetVisible(true);
  BLANCS.SetWidth(picture.Width());
  BLANCS.SetHeight(picture.Height());
  BLANCS.SetLeft((Width() - BLANCS.Width()) / 2);
  BLANCS.SetTop(0);
}
