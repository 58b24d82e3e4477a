#include "surface/blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "surface/blend_kernels.h"
#include "surface/coords.h"

namespace fogloom {

RowSpan fillBoxPixels(const PixelView& target, int x1, int y1, int x2, int y2, std::uint32_t colour) {
    if (target.empty()) return {};
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 < 0 || y2 < 0 || x1 >= target.width || y1 >= target.height) return {};
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, target.width - 1);
    y2 = std::min(y2, target.height - 1);
    for (int y = y1; y <= y2; ++y) target.setRun(y, x1, x2, colour);
    return {y1, y2};
}

std::uint32_t alphaPixelReference(std::uint32_t target, std::uint32_t source, int alpha) {
    if (isMaskPixel(source)) return target;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int t = static_cast<int>((target >> shift) & 0xFF);
        const int s = static_cast<int>((source >> shift) & 0xFF);
        const int scaled = (s - t) * (alpha + 1);
        // floor division by 256, rounding towards minus infinity
        const int step = scaled >= 0 ? scaled / 256 : -((-scaled + 255) / 256);
        out |= static_cast<std::uint32_t>(t + step) << shift;
    }
    return out;
}

void alphaRow(std::uint32_t* target, const std::uint32_t* source, int count, int alpha) {
    // The rule only gives pixels for alpha 0..255; hold other values at those ends.
    bestBlendKernels().alphaRow(target, source, count, std::clamp(alpha, 0, 255));
}

namespace {

void transparentRow32(std::uint32_t* target, const std::uint32_t* source, int count) {
    for (int i = 0; i < count; ++i) {
        const std::uint32_t s = source[i];
        target[i] = isMaskPixel(s) ? target[i] : (s & 0xFFFFFF);
    }
}

// Index 0 (or pixel value 0 on 16-bit surfaces) is the mask colour there.
template <typename Pixel>
void transparentRowSmall(Pixel* target, const Pixel* source, int count) {
    for (int i = 0; i < count; ++i)
        if (source[i] != 0) target[i] = source[i];
}

}  // namespace

RowSpan blitPixels(const PixelView& target, int x, int y, const PixelView& source, BlitMode mode, int alpha) {
    if (target.empty() || source.empty() || target.bytesPerPixel != source.bytesPerPixel) return {};
    if (mode == BlitMode::Alpha) {
        if (alpha <= 0) return {};
        if (alpha >= 255 || target.bytesPerPixel != 4) mode = BlitMode::Transparent;
    }
    // Clip once: target columns [left, right), rows [top, bottom).
    const long long left = std::max<long long>(x, 0);
    const long long top = std::max<long long>(y, 0);
    const long long right = std::min<long long>(static_cast<long long>(x) + source.width, target.width);
    const long long bottom = std::min<long long>(static_cast<long long>(y) + source.height, target.height);
    if (left >= right || top >= bottom) return {};
    const int count = static_cast<int>(right - left);
    const int bpp = target.bytesPerPixel;
    const BlendKernels& kernels = bestBlendKernels();
    for (long long ty = top; ty < bottom; ++ty) {
        std::uint8_t* out = target.row(static_cast<int>(ty)) + left * bpp;
        const std::uint8_t* in = source.row(static_cast<int>(ty - y)) + (left - x) * bpp;
        switch (mode) {
            case BlitMode::Opaque:
                std::memmove(out, in, static_cast<std::size_t>(count) * bpp);
                break;
            case BlitMode::Transparent:
                if (bpp == 4)
                    transparentRow32(reinterpret_cast<std::uint32_t*>(out), reinterpret_cast<const std::uint32_t*>(in), count);
                else if (bpp == 2)
                    transparentRowSmall(reinterpret_cast<std::uint16_t*>(out), reinterpret_cast<const std::uint16_t*>(in), count);
                else
                    transparentRowSmall(out, in, count);
                break;
            case BlitMode::Alpha:
                kernels.alphaRow(reinterpret_cast<std::uint32_t*>(out), reinterpret_cast<const std::uint32_t*>(in), count,
                                 alpha);
                break;
        }
    }
    return {static_cast<int>(top), static_cast<int>(bottom - 1)};
}

void fillBox(Surface target, float x1, float y1, float x2, float y2, std::uint32_t colour) {
    int ix1, iy1, ix2, iy2;
    if (!toPixel(x1, ix1) || !toPixel(y1, iy1) || !toPixel(x2, ix2) || !toPixel(y2, iy2)) return;
    SurfaceAccess access(target);
    if (!access.ok()) return;
    access.finish(fillBoxPixels(access.view(), ix1, iy1, ix2, iy2, colour));
}

int copyOut(Surface source, float x1, float y1, float x2, float y2, Image* destination) {
    int ix1, iy1, ix2, iy2;
    if (!toPixel(x1, ix1) || !toPixel(y1, iy1) || !toPixel(x2, ix2) || !toPixel(y2, iy2)) return 1;
    if (ix2 < ix1) std::swap(ix1, ix2);
    if (iy2 < iy1) std::swap(iy1, iy2);
    SurfaceAccess access(source);
    if (!access.screenOpen() || !access.ok() || destination == nullptr) return 1;
    const PixelView& from = access.view();
    // Images of another depth than the screen's can't be copied in this mode.
    if (from.bytesPerPixel != access.screenBytesPerPixel()) return 1;
    if (ix1 < 0 || iy1 < 0 || ix2 >= from.width || iy2 >= from.height) return 1;
    const int w = ix2 - ix1 + 1;
    const int h = iy2 - iy1 + 1;
    const int bpp = from.bytesPerPixel;
    if (!setImageSize(destination, w, h, bpp)) return 1;
    const PixelView to = imageView(destination);
    for (int j = 0; j < h; ++j)
        std::memmove(to.row(j), from.row(iy1 + j) + static_cast<std::size_t>(ix1) * bpp, to.rowBytes());
    return 0;
}

int blit(Surface target, float x, float y, Image* image, BlitMode mode, int alpha) {
    int ix, iy;
    SurfaceAccess access(target);
    if (!access.screenOpen() || image == nullptr) return 1;
    if (imageBytesPerPixel(image) != access.screenBytesPerPixel()) return 1;
    if (!access.ok() || access.view().bytesPerPixel != access.screenBytesPerPixel()) return 1;
    if (!toPixel(x, ix) || !toPixel(y, iy)) return 1;
    if (target.image() == image) {
        // Placing an image on itself would read pixels it has already changed; work from a copy.
        const PixelView view = imageView(image);
        std::vector<std::uint8_t> copy(view.data, view.data + view.rowBytes() * view.height);
        const PixelView from{copy.data(), view.width, view.height, view.bytesPerPixel};
        access.finish(blitPixels(access.view(), ix, iy, from, mode, alpha));
        return 0;
    }
    access.finish(blitPixels(access.view(), ix, iy, imageView(image), mode, alpha));
    return 0;
}

}  // namespace fogloom
