#include "ui/model/dialog_units.hpp"

namespace zelvo {
namespace {

// value × multiplier / divisor rounded to the nearest integer, halves away from zero.
int scaleRounded(int value, int multiplier, int divisor) {
    const long long product = static_cast<long long>(value) * multiplier;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : -((-product + half) / divisor));
}

}  // namespace

int averageCharWidth(int widthOfLetters) { return scaleRounded(widthOfLetters, 1, 52); }

PixelRect toPixels(const DialogBaseUnits& base, int x, int y, int width, int height) {
    const int left = scaleRounded(x, base.width, 4);
    const int top = scaleRounded(y, base.height, 8);
    return {left, top, scaleRounded(x + width, base.width, 4) - left, scaleRounded(y + height, base.height, 8) - top};
}

}  // namespace zelvo
