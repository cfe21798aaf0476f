// Where every control of the main window stands, what it shows and in which tab order.
//
// Positions and sizes are in twips, the window's own unit: 1440 twips make an inch and 15 twips
// make one device-independent pixel; Qt's high-DPI scaling maps those to other densities. The
// option buttons are placed inside Frame1, every other control inside the window's client area.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <iterator>

#include "form/grid.h"

namespace layout {

// The texts below need Qt's QString literal and no more of Qt's literals: a using-directive
// here would bring them all into this namespace in every file that includes the header.
using Qt::StringLiterals::operator""_s;

constexpr int TwipsPerPixel = 15;
constexpr int Px(int twips) { return twips / TwipsPerPixel; }

struct Rgb {
  int red, green, blue;
};

constexpr Rgb WindowColour = {192, 192, 255};
constexpr Rgb ComputedCellColour = {255, 192, 192};
// The greyed text of the computed cells: a contrast of 4.6 to 1 against their pink.
constexpr Rgb ComputedTextColour = {88, 88, 88};

constexpr int ClientWidth = 7785;   // 519 pixels
constexpr int ClientHeight = 6225;  // 415 pixels

inline const QString Caption = u"  Геометрия - пресечен кръгов конус"_s;  // after the web address
inline const QString FontFamily = u"Times New Roman"_s;
constexpr int FontPointSize = 12;

// A control's place within its container, in twips.
struct Place {
  int left, top, width, height;
};

// Labels are created first, so that every other control lies over them. Label1(0) is the title;
// Label1(c + 1) is the head of grid column c and names its quantity.
struct LabelControl {
  std::int16_t index;  // Label1(index)
  Place place;
  QString text;
};
inline const LabelControl Labels[] = {
    {0, {1920, 0, 4335, 375}, u"Изчисляване на пресечен кръгов конус"_s},
    {1, {1920, 480, 975, 375}, u"r"_s},
    {2, {2880, 480, 975, 375}, u"R"_s},
    {3, {3840, 480, 975, 375}, u"H"_s},
    {4, {4800, 480, 975, 375}, u"L"_s},
    {5, {5760, 480, 975, 375}, u"So"_s},
    {6, {6720, 480, 975, 375}, u"V"_s},
};
constexpr Rgb LabelColour = {255, 192, 128};

// Command1(0) is Calculate, Command1(1) is Clear.
struct CommandControl {
  Place place;
  Rgb face;
  QString text;
  int tab_index;
};
inline const CommandControl Commands[] = {
    {{120, 0, 1215, 375}, {128, 255, 128}, u"Изчисли"_s, 22},
    {{6480, 0, 1215, 375}, {255, 0, 0}, u"Изчисти"_s, 23},
};

// Frame1, the group of the variant buttons; it never takes the focus.
constexpr Place FramePlace = {120, 480, 1695, 3375};
constexpr Rgb FrameColour = {192, 192, 255};
inline const QString FrameTitle = u"Варианти"_s;

// Option1(i) stands for variant i and lies inside the frame. Each overlaps the next by 45 twips.
struct OptionControl {
  Place place;
  QString text;
  int tab_index;
};
inline const OptionControl Options[] = {
    {{120, 360, 1455, 405}, u"Вариант 1"_s, 35},  {{120, 720, 1455, 405}, u"Вариант 2"_s, 36},
    {{120, 1080, 1455, 405}, u"Вариант 3"_s, 37}, {{120, 1440, 1455, 405}, u"Вариант 4"_s, 38},
    {{120, 1800, 1455, 405}, u"Вариант 5"_s, 39}, {{120, 2160, 1455, 405}, u"Вариант 6"_s, 40},
    {{120, 2520, 1455, 405}, u"Вариант 7"_s, 53}, {{120, 2880, 1455, 405}, u"Вариант 8"_s, 60},
};
constexpr Rgb OptionColour = {128, 128, 255};
// How far each option button's bottom edge lies under the next one.
inline int OptionOverlap() {
  return Options[0].place.top + Options[0].place.height - Options[1].place.top;
}

// Text1(0), the assignment; it keeps the platform's colours.
constexpr Place AssignmentPlace = {120, 3960, 7575, 2175};
constexpr int AssignmentTabIndex = 0;

static_assert(std::size(Options) == form::RowCount);

// The grid: cell k lies in row RowOf(k) and column ColumnOf(k). Each cell overlaps its right-hand
// neighbour by 15 twips and the cell below by 45.
constexpr int ColumnPitch = 960;
constexpr int RowPitch = 360;
constexpr int CellLeft(int column) { return 1920 + ColumnPitch * column; }
constexpr int CellTop(int row) { return 840 + RowPitch * row; }
constexpr int CellWidth = 975;
constexpr int CellHeight = 405;
constexpr Place CellPlace(int k) {
  return {CellLeft(form::ColumnOf(k)), CellTop(form::RowOf(k)), CellWidth, CellHeight};
}

// Where cells overlap, each row lies over the row above, and each cell over its left-hand
// neighbour, except in row 6, where each cell lies over its right-hand neighbour.
constexpr std::array<std::int16_t, form::CellCount> CellStackingOrder() {
  std::array<std::int16_t, form::CellCount> order{};
  std::size_t n = 0;
  for (int row = 0; row < form::RowCount; ++row) {
    for (int i = 0; i < form::ColumnCount; ++i) {
      const int column = row == 6 ? form::ColumnCount - 1 - i : i;
      order[n++] = form::CellIndex(row, column);
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

}  // namespace layout
