// The circles kind: a white disc of radius s (6..33) with a grey disc of radius s - 4.
#pragma once

#include "surface/image.h"

namespace fogloom {

// The draw step of a circle layer, straight onto the canvas.
void drawCircle(Image* canvas, int cx, int cy, int s);
void renderCircles();

}  // namespace fogloom
