#include "surface/image.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

#include "surface/screen.h"

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#define FOGLOOM_IMAGE_PAGES 1
#endif

namespace fogloom {
namespace {

// Layout of a block: [capacity, 8 bytes][unused][header, 4 bytes][pixels...]. The header
// sits just before a 64-byte boundary so that the pixels start on one.
constexpr std::size_t PixelOffset = 64;
constexpr std::size_t HeaderOffset = PixelOffset - 4;

std::atomic<int> liveImages{0};

// Blocks come from the system and go back to it whole: the work images are megabytes each and
// are made and released every turn, and a general-purpose heap would keep their released
// pages resident and let the process grow turn after turn.
void* takeBlock(std::size_t total) {
#if defined(FOGLOOM_IMAGE_PAGES)
    void* block = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return block == MAP_FAILED ? nullptr : block;  // page-aligned, so 64-byte aligned too
#else
    return std::aligned_alloc(64, total);
#endif
}

void giveBackBlock(void* block, std::size_t total) {
#if defined(FOGLOOM_IMAGE_PAGES)
    munmap(block, total);
#else
    (void)total;
    std::free(block);
#endif
}

std::size_t blockBytes(std::size_t pixelBytes) { return (PixelOffset + pixelBytes + 63) / 64 * 64; }
std::atomic<int> peakImages{0};

std::uint8_t* blockOf(const Image* image) {
    return reinterpret_cast<std::uint8_t*>(const_cast<Image*>(image)) - HeaderOffset;
}
std::uint8_t* headerOf(const Image* image) {
    return reinterpret_cast<std::uint8_t*>(const_cast<Image*>(image));
}
std::uint16_t word(const Image* image, int index) {
    std::uint16_t w;
    std::memcpy(&w, headerOf(image) + 2 * index, 2);
    return w;
}

}  // namespace

Image* allocateImage(int width, int height, int bytesPerPixel, std::uint32_t fill) {
    if (width < 1 || width > MaxImageWidth || height < 1 || height > MaxImageHeight) return nullptr;
    if (bytesPerPixel != 1 && bytesPerPixel != 2 && bytesPerPixel != 4) return nullptr;
    const std::size_t bytes = static_cast<std::size_t>(width) * height * bytesPerPixel;
    auto* block = static_cast<std::uint8_t*>(takeBlock(blockBytes(bytes)));
    if (block == nullptr) return nullptr;
    std::memcpy(block, &bytes, sizeof bytes);
    auto* image = reinterpret_cast<Image*>(block + HeaderOffset);
    setImageSize(image, width, height, bytesPerPixel);
    const PixelView view = imageView(image);
    for (int y = 0; y < height; ++y) view.setRun(y, 0, width - 1, fill);
    const int live = liveImages.fetch_add(1, std::memory_order_relaxed) + 1;
    int peak = peakImages.load(std::memory_order_relaxed);
    while (live > peak && !peakImages.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
    }
    return image;
}

Image* createImage(int width, int height, std::uint32_t colour) {
    const int bytesPerPixel = currentBytesPerPixel();
    if (bytesPerPixel == 0) return nullptr;
    std::uint32_t fill = colour;
    if (colour == NoColor) fill = bytesPerPixel == 4 ? MaskColor : 0;
    return allocateImage(width, height, bytesPerPixel, fill);
}

void destroyImage(Image* image) {
    if (image == nullptr) return;
    giveBackBlock(blockOf(image), blockBytes(imageCapacity(image)));
    liveImages.fetch_sub(1, std::memory_order_relaxed);
}

int imageWidth(const Image* image) { return word(image, 0) >> 3; }
int imageHeight(const Image* image) { return word(image, 1); }
int imageBytesPerPixel(const Image* image) { return word(image, 0) & 7; }

std::size_t imageCapacity(const Image* image) {
    std::size_t bytes;
    std::memcpy(&bytes, blockOf(image), sizeof bytes);
    return bytes;
}

bool setImageSize(Image* image, int width, int height, int bytesPerPixel) {
    if (width < 1 || width > MaxImageWidth || height < 1 || height > MaxImageHeight) return false;
    if (bytesPerPixel < 1 || bytesPerPixel > 4) return false;
    if (static_cast<std::size_t>(width) * height * bytesPerPixel > imageCapacity(image)) return false;
    const auto w0 = static_cast<std::uint16_t>((width << 3) | bytesPerPixel);
    const auto w1 = static_cast<std::uint16_t>(height);
    std::memcpy(headerOf(image), &w0, 2);
    std::memcpy(headerOf(image) + 2, &w1, 2);
    return true;
}

PixelView imageView(Image* image) {
    if (image == nullptr) return {};
    return PixelView{headerOf(image) + 4, imageWidth(image), imageHeight(image), imageBytesPerPixel(image)};
}

const std::uint8_t* imageHeader(const Image* image) { return headerOf(image); }

int liveImageCount() { return liveImages.load(std::memory_order_relaxed); }
int peakImageCount() { return peakImages.load(std::memory_order_relaxed); }
void resetPeakImageCount() { peakImages.store(liveImages.load(std::memory_order_relaxed), std::memory_order_relaxed); }

}  // namespace fogloom
