#include "app/menus.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/frame.h"
#include "surface/keys.h"
#include "surface/text.h"

namespace fogloom {
namespace {

// The layer menu's text colour, the white of entry 31. The shape menu keeps the white 15
// that opening the screen sets. The frame's rotations touch neither.
constexpr std::uint32_t LayerMenuColour = 31;
constexpr int IdlePauseMs = 20;
constexpr int FirstFrameEntry = 1;
constexpr int LastFrameEntry = 9;

struct MenuLine {
    int row;
    const char* text;
};

constexpr std::array<MenuLine, 7> ShapeItems = {{
    {5, "1. Circles"},
    {6, "2. Triangles"},
    {7, "3. Squares"},
    {8, "4. Rotated Squares"},
    {9, "5. 5 Pointed Stars"},
    {10, "6. Hexagons"},
    {12, "7. I think I'll quit instead."},
}};

constexpr std::array<MenuLine, 5> LayerItems = {{
    {6, "1. 10"},
    {7, "2. 20"},
    {8, "3. 30"},
    {9, "4. 40"},
    {10, "5. 50"},
}};

constexpr int ItemColumn = 2;

// The credit line ends with the smiling face, code 1.
constexpr std::string_view CreditLine = "Made by Nils Orvant - 2017. \x01";

void printItems(const auto& items) {
    for (const MenuLine& item : items) {
        locate(item.row, ItemColumn);
        printText(item.text, true);
    }
}

// The digit a poll result stands for, 0 when it is not exactly one digit 1..9.
int digitOf(const std::string& key) {
    if (key.size() != 1 || key[0] < '1' || key[0] > '9') return 0;
    return key[0] - '0';
}

}  // namespace

void centerPrint(int row, std::string_view text) {
    // 18 - L/2 in halves: n / 2 with n = 36 - L, a half going to the even neighbour.
    const long long n = 36 - static_cast<long long>(text.size());
    long long column = n >= 0 ? n / 2 : -((-n + 1) / 2);  // floor(n / 2)
    if (n % 2 != 0 && column % 2 != 0) ++column;
    locate(row, static_cast<int>(column));
    printText(text, true);
}

std::optional<ShapeKind> runShapeMenu() {
    centerPrint(2, "Please Choose The Shape Type:");
    printItems(ShapeItems);
    centerPrint(57, CreditLine);
    drawBorderFrame();
    for (;;) {
        const int digit = digitOf(pollKey());
        if (digit >= 1 && digit <= 6) return static_cast<ShapeKind>(digit);
        if (digit == 7) return std::nullopt;
        sleepMs(IdlePauseMs);
        rotatePaletteUp(FirstFrameEntry, LastFrameEntry);
    }
}

int runLayerMenu() {
    clearScreen();
    drawBorderFrame();
    setColor(LayerMenuColour);
    centerPrint(2, "How many shape layers?");
    centerPrint(3, "(50 is the normal.)");
    printItems(LayerItems);
    for (;;) {
        const int digit = digitOf(pollKey());
        if (digit >= 1 && digit <= 5) return digit * 10;
        sleepMs(IdlePauseMs);
        rotatePaletteDown(FirstFrameEntry, LastFrameEntry);
    }
}

}  // namespace fogloom
