#pragma once
// Dialog units, in which the window templates give sizes and positions: a horizontal unit is a
// quarter of the font's average character width, a vertical unit an eighth of its height.

namespace zelvo {

struct DialogBaseUnits {
    int width;   // average character width of the template's font, in pixels
    int height;  // character height of the template's font, in pixels
};

// The average character width from the width of the 52 letters "A" to "Z" and "a" to "z"
// written together, rounded to the nearest pixel.
int averageCharWidth(int widthOfLetters);

struct PixelRect {
    int x, y, width, height;
};

// A template rectangle (x, y, width, height in dialog units) in pixels: its corners are
// converted, each rounded to the nearest pixel (halves away from zero), so that controls that
// touch in the template touch on the screen, without a gap or an overlap.
PixelRect toPixels(const DialogBaseUnits& base, int x, int y, int width, int height);

}  // namespace zelvo
