// The picture sequence that every renderer runs: clear the canvas, then per layer draw the
// random values, put the shape on the canvas, snapshot, blur and show; finally the tone.
#pragma once

#include "layers/picture.h"

namespace fogloom {

// One layer's random values, in canvas coordinates.
struct LayerValues {
    int cx = 0;  // 146..417
    int cy = 0;  // 250..729
    int s = 0;   // size (or radius)
    int r = 0;   // rotation in whole degrees, polygon kinds only
};

// What sets one kind apart from the others.
struct ShapeRecipe {
    int sizeCount;     // s = floor(u * sizeCount) + 6
    bool rotated;      // draws a fourth value r = floor(u * 360)
    void (*draw)(const WorkImages& images, const LayerValues& values);
};

// The layer values for the random units u (cx, cy, s, then r for rotated kinds).
LayerValues layerValuesFrom(const ShapeRecipe& recipe, const double (&u)[4]);
// Draws one layer's values from randomUnit, in order cx, cy, s (and r).
LayerValues drawLayerValues(const ShapeRecipe& recipe);
// Runs the whole picture sequence with the process-wide work images and layer count.
void renderPicture(const ShapeRecipe& recipe);

// The 18 Alpha blends of the snapshot onto the canvas, each followed by a 1 ms pause.
void blurCanvas();
// The middle 272 x 480 of the canvas onto the screen.
void showCanvas();

// The squares kind: a white box 2s + 1 wide with a two-pixel rim around a grey core.
void drawSquare(Image* canvas, int cx, int cy, int s);
void renderSquares();

}  // namespace fogloom
