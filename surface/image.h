// Off-screen images: one block of memory, a 4-byte header followed by the rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "surface/pixels.h"

namespace fogloom {

// The handle is the address of the header: two little-endian 16-bit words, the first
// holding bytes per pixel in bits 0-2 and the width in bits 3-15, the second the height.
// The pixels follow at once. The block also remembers, out of sight before the header,
// how many pixel bytes it has room for, so that no copy into it can overrun it.
struct Image;

inline constexpr int MaxImageWidth = 8191;
inline constexpr int MaxImageHeight = 65535;

// Makes an image of the current screen depth filled with `colour` (NoColor: the mask
// colour of that depth). No image without an open screen or with a size out of range.
Image* createImage(int width, int height, std::uint32_t colour);
// Releases an image; nothing for no image. Needs no screen.
void destroyImage(Image* image);

// The same without the screen: an image of the given bytes per pixel filled with a pixel value.
Image* allocateImage(int width, int height, int bytesPerPixel, std::uint32_t fill);

int imageWidth(const Image* image);
int imageHeight(const Image* image);
int imageBytesPerPixel(const Image* image);
// Room for pixels, in bytes, fixed when the image was made.
std::size_t imageCapacity(const Image* image);
// Rewrites the header; false (and nothing changed) when the pixels would not fit.
bool setImageSize(Image* image, int width, int height, int bytesPerPixel);
PixelView imageView(Image* image);
const std::uint8_t* imageHeader(const Image* image);

// How many images exist right now, and the most that existed at once since the last reset,
// for checking that turns release what they made.
int liveImageCount();
int peakImageCount();
void resetPeakImageCount();

}  // namespace fogloom
