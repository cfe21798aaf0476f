// Where every control of the main window stands, what it shows and in which tab order.
//
// Positions and sizes are in twips, the window's own unit: 1440 twips make an inch and 15 twips
// make one device-independent pixel; Qt's high-DPI scaling maps those to other densities. The
// option buttons are placed inside Frame1, every other control inside the window's client area.
#pragma once

#include <array>
#include <cstdint>

#include "geometry/frustum_solver.h"

namespace layout {

constexpr int TwipsPerPixel = 15;
constexpr int Px(int twips) { return twips / TwipsPerPixel; }

struct Rgb {
  int red, green, blue;
};

constexpr Rgb WindowColour = {192, 192, 255};
constexpr Rgb LabelColour = {255, 192, 128};
constexpr Rgb FrameColour = {192, 192, 255};
constexpr Rgb OptionColour = {128, 128, 255};
constexpr Rgb CalculateColour = {128, 255, 128};
constexpr Rgb ClearColour = {255, 0, 0};
constexpr Rgb ComputedCellColour = {255, 192, 192};
// The greyed text of the computed cells: a contrast of 4.6 to 1 against their pink.
constexpr Rgb ComputedTextColour = {88, 88, 88};

constexpr int ClientWidth = 7785;   // 519 pixels
constexpr int ClientHeight = 6225;  // 415 pixels

constexpr char16_t Caption[] = u"  Геометрия - пресечен кръгов конус";  // after the web address
constexpr char FontFamily[] = "Times New Roman";
constexpr int FontPointSize = 12;

enum class Kind { Label, Frame, Option, Command, Assignment };

// One control other than the grid cells. `index` is its index within its control array.
struct Control {
  Kind kind;
  std::int16_t index;
  int left, top, width, height;
  Rgb colour;  // unused for the assignment box, which keeps the platform's colours
  const char16_t* text;
  int tab_index;
};

// In the order they are created, which is also their stacking order from the bottom: labels
// first, beneath everything; the grid cells follow them (see CellStackingOrder).
constexpr Control Labels[] = {
    {Kind::Label, 0, 1920, 0, 4335, 375, LabelColour, u"Изчисляване на пресечен кръгов конус", 1},
    {Kind::Label, 1, 1920, 480, 975, 375, LabelColour, u"r", 24},
    {Kind::Label, 2, 2880, 480, 975, 375, LabelColour, u"R", 2},
    {Kind::Label, 3, 3840, 480, 975, 375, LabelColour, u"H", 25},
    {Kind::Label, 4, 4800, 480, 975, 375, LabelColour, u"L", 3},
    {Kind::Label, 5, 5760, 480, 975, 375, LabelColour, u"So", 4},
    {Kind::Label, 6, 6720, 480, 975, 375, LabelColour, u"V", 5},
};

constexpr Control Others[] = {
    {Kind::Command, 0, 120, 0, 1215, 375, CalculateColour, u"Изчисли", 22},
    {Kind::Command, 1, 6480, 0, 1215, 375, ClearColour, u"Изчисти", 23},
    {Kind::Frame, 0, 120, 480, 1695, 3375, FrameColour, u"Варианти", 34},
    {Kind::Option, 0, 120, 360, 1455, 405, OptionColour, u"Вариант 1", 35},
    {Kind::Option, 1, 120, 720, 1455, 405, OptionColour, u"Вариант 2", 36},
    {Kind::Option, 2, 120, 1080, 1455, 405, OptionColour, u"Вариант 3", 37},
    {Kind::Option, 3, 120, 1440, 1455, 405, OptionColour, u"Вариант 4", 38},
    {Kind::Option, 4, 120, 1800, 1455, 405, OptionColour, u"Вариант 5", 39},
    {Kind::Option, 5, 120, 2160, 1455, 405, OptionColour, u"Вариант 6", 40},
    {Kind::Option, 6, 120, 2520, 1455, 405, OptionColour, u"Вариант 7", 53},
    {Kind::Option, 7, 120, 2880, 1455, 405, OptionColour, u"Вариант 8", 60},
    {Kind::Assignment, 0, 120, 3960, 7575, 2175, {}, nullptr, 0},
};

// The quantity of each grid column, as its head shows it.
constexpr const char16_t* ColumnHeads[geometry::ColumnCount] = {u"r", u"R",  u"H",
                                                                u"L", u"So", u"V"};

// The grid: cell k lies in row k / 6 and column k % 6. Each cell overlaps its right-hand
// neighbour by 15 twips and the cell below by 45.
constexpr int CellLeft(int column) { return 1920 + 960 * column; }
constexpr int CellTop(int row) { return 840 + 360 * row; }
constexpr int CellWidth = 975;
constexpr int CellHeight = 405;

// Where cells overlap, each row lies over the row above, and each cell over its left-hand
// neighbour, except in row 6, where each cell lies over its right-hand neighbour.
constexpr std::array<std::int16_t, 48> CellStackingOrder() {
  std::array<std::int16_t, 48> order{};
  std::size_t n = 0;
  for (int row = 0; row < 8; ++row) {
    for (int i = 0; i < 6; ++i) {
      const int column = row == 6 ? 5 - i : i;
      order[n++] = static_cast<std::int16_t>(row * 6 + column);
    }
  }
  return order;
}

// The tab index of cell k. Cells 36 to 41 (row 6) run backwards, from right to left.
constexpr int CellTabIndex(int k) {
  if (k <= 15) return 6 + k;
  if (k <= 23) return 26 + (k - 16);
  if (k <= 35) return 41 + (k - 24);
  if (k <= 41) return 54 + (41 - k);
  return 61 + (k - 42);
}

constexpr bool IsComputedCell(int k) { return !geometry::IsGivenColumn(k / 6, k % 6); }

}  // namespace layout
