#include "surface/blur.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "surface/blit.h"

namespace fogloom {
namespace {

// The rows that the blits of one round draw together: each blit draws the rows and columns
// where the shifted source overlaps the target.
RowSpan blurRowsDrawn(const PixelView& target, const PixelView& source) {
    RowSpan drawn;
    for (int dx = -2; dx <= 0; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            const int right = std::min(target.width, source.width + dx);
            const int top = std::max(dy, 0);
            const int bottom = std::min(target.height, source.height + dy);
            if (right <= 0 || top >= bottom) continue;
            drawn.include({top, bottom - 1});
        }
    return drawn;
}

RowSpan blitsOneAfterAnother(const PixelView& target, const PixelView& source, int alpha, int passes) {
    RowSpan drawn;
    for (int pass = 0; pass < passes; ++pass)
        for (int dx = -2; dx <= 0; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                drawn.include(blitPixels(target, dx, dy, source, BlitMode::Alpha, alpha));
            }
    return drawn;
}

// One source row in the kernels' folded form, and whether all of it takes part in every
// blend (no mask colour, and a real row, not one beyond the top or bottom edge).
struct FoldedRow {
    std::uint32_t* values = nullptr;
    std::uint32_t* keep = nullptr;
    bool clean = false;
};

}  // namespace

namespace {

// The fused blends (alpha 63, 32-bit pixels) on target rows [firstRow, endRow).
void blurRows(const BlendKernels& kernels, const PixelView& target, const PixelView& source, int passes,
              int firstRow, int endRow) {
    // Target pixel (x, y) takes source pixels x..x + 2 of rows y - 1..y + 1, so no blend
    // reaches a column at or right of the source's width.
    const int width = std::min(target.width, source.width);
    // Columns whose three source columns all exist.
    const int cleanEnd = std::min(target.width, source.width - 2);
    // The kernels read up to two columns beyond the last target column.
    const int padded = source.width + 2;

    std::vector<std::uint32_t> scratch(static_cast<std::size_t>(padded) * 6);
    FoldedRow slots[3];
    for (int i = 0; i < 3; ++i) {
        slots[i].values = scratch.data() + static_cast<std::size_t>(padded) * (2 * i);
        slots[i].keep = scratch.data() + static_cast<std::size_t>(padded) * (2 * i + 1);
    }
    // Source row r (-1..source height) lives in slot (r + 1) % 3 while it is needed.
    auto fold = [&](int r) {
        FoldedRow& slot = slots[(r + 1) % 3];
        if (r >= 0 && r < source.height) {
            slot.clean = !kernels.foldSourceRow(source.row32(r), source.width, padded, slot.values, slot.keep);
        } else {  // beyond the edge: every blend from here keeps the target pixel
            std::fill(slot.values, slot.values + padded, 0u);
            std::fill(slot.keep, slot.keep + padded, ~std::uint32_t{0});
            slot.clean = false;
        }
    };
    fold(firstRow - 1);
    fold(firstRow);
    for (int y = firstRow; y < endRow; ++y) {
        fold(y + 1);
        const FoldedRow& above = slots[y % 3];
        const FoldedRow& level = slots[(y + 1) % 3];
        const FoldedRow& below = slots[(y + 2) % 3];
        const std::uint32_t* const rows[3] = {above.values, level.values, below.values};
        const std::uint32_t* const keeps[3] = {above.keep, level.keep, below.keep};
        std::uint32_t* out = target.row32(y);
        int x = 0;
        if (above.clean && level.clean && below.clean && cleanEnd > 0) {
            kernels.blurRowClean(out, rows, 0, cleanEnd, passes);
            x = cleanEnd;
        }
        kernels.blurRowKeeping(out, rows, keeps, x, width, passes);
    }
}

}  // namespace

RowSpan blurPixelsWith(const BlendKernels& kernels, const PixelView& target, const PixelView& source, int alpha,
                       int passes) {
    if (target.empty() || source.empty() || target.bytesPerPixel != source.bytesPerPixel || passes <= 0) return {};
    if (alpha != 63 || target.bytesPerPixel != 4) return blitsOneAfterAnother(target, source, alpha, passes);
    // No blend reaches a target row below the source's height + 1.
    blurRows(kernels, target, source, passes, 0, std::min(target.height, source.height + 1));
    return blurRowsDrawn(target, source);
}

RowSpan blurPixels(const PixelView& target, const PixelView& source, int alpha, int passes) {
    return blurPixelsWith(bestBlendKernels(), target, source, alpha, passes);
}

int blurBlits(Surface target, Image* source, int alpha, int passes) {
    if (passes <= 0) return 0;
    if (source != nullptr && target.image() == source) {
        int result = 0;
        for (int pass = 0; pass < passes; ++pass)
            for (int dx = -2; dx <= 0; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    result |= blit(target, static_cast<float>(dx), static_cast<float>(dy), source, BlitMode::Alpha,
                                   alpha);
        return result;
    }
    SurfaceAccess access(target);
    if (!access.screenOpen() || source == nullptr) return 1;
    if (imageBytesPerPixel(source) != access.screenBytesPerPixel()) return 1;
    if (!access.ok() || access.view().bytesPerPixel != access.screenBytesPerPixel()) return 1;
    access.finish(blurPixels(access.view(), imageView(source), alpha, passes));
    return 0;
}

}  // namespace fogloom
