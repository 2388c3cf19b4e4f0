// Histogram bars: one routine draws the 2 x TRAIT_I + 1 vertical lines of a
// bar; TRACEHISTO draws the bars of classes 0 to 40 with it, TRACE_BARRE the
// bar of one class (a new count, the query's highlight).
#include <array>
#include <vector>

#include "engine/arith.h"
#include "window/KESTOR_11.h"

namespace {

constexpr int16_t kLastClass = 50;
constexpr int16_t kLastRedrawnClass = 40;

// Draws the bar of class cls in color at the current scale. A class outside
// 0 to 50 has no bar: nothing is drawn.
void DrawBar(KESTOR_11& k, int16_t cls, ui::Rgb color) {
  if (cls < 0 || cls > kLastClass) return;
  const int32_t raised = arith::Mul<int32_t>(k.EFFECTIF_L[static_cast<size_t>(cls)], 200);
  const float top = k.POSHIST_I - raised * k.ECHELLE_S;
  // The abscissae of the lines depend on the geometry only: kept per class
  // and worked out again when the geometry changes.
  struct Abscissae {
    int16_t h1 = 0, unite = 0, trait = -1;
    float eh = 0;
    std::vector<float> xs;
  };
  static std::array<Abscissae, kLastClass + 1> cache;
  Abscissae& a = cache[static_cast<size_t>(cls)];
  if (a.h1 != k.H1_I || a.unite != k.UNITE_I || a.trait != k.TRAIT_I || a.eh != k.ECHHORIZ_S) {
    a = Abscissae{k.H1_I, k.UNITE_I, k.TRAIT_I, k.ECHHORIZ_S, {}};
    const int16_t centre = arith::Mul<int16_t>(cls, k.UNITE_I);
    for (int off = -static_cast<int>(k.TRAIT_I); off <= k.TRAIT_I; ++off)
      a.xs.push_back(
          arith::Add<int16_t>(arith::Add<int16_t>(k.H1_I, static_cast<int16_t>(off)), centre) *
          k.ECHHORIZ_S);
  }
  k.VerticalLines(a.xs.data(), static_cast<int>(a.xs.size()), k.POSHIST_I, top, color);
}

}  // namespace

// Bars of classes 0 to 40, light blue, over whatever is drawn; K_I counts
// the classes.
void KESTOR_11::TRACEHISTO() {
  TRACER_BARRES(ui::QBColor(9));
}

void KESTOR_11::TRACER_BARRES(ui::Rgb color) {
  for (K_I = 0; K_I <= kLastRedrawnClass; ++K_I) DrawBar(*this, K_I, color);
}

// The bar of class k in color.
void KESTOR_11::TRACE_BARRE(int16_t k, ui::Rgb color) {
  DrawBar(*this, k, color);
}
