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
// Label1(c + 1) is the head of grid column c, names its quantity and stands above the column, as
// wide as a cell.
constexpr Place TitlePlace = {1920, 0, 4335, 375};
inline const QString Title = u"Изчисляване на пресечен кръгов конус"_s;
constexpr int HeadTop = 480;
constexpr int HeadHeight = 375;
constexpr Rgb LabelColour = {255, 192, 128};

// Command1(0) is Calculate, Command1(1) is Clear.
struct CommandControl {
  Place place;
  Rgb face;
  QString text;
};
inline const CommandControl Commands[] = {
    {{120, 0, 1215, 375}, {128, 255, 128}, u"Изчисли"_s},
    {{6480, 0, 1215, 375}, {255, 0, 0}, u"Изчисти"_s},
};

// Frame1, the group of the variant buttons; it never takes the focus.
constexpr Place FramePlace = {120, 480, 1695, 3375};
constexpr Rgb FrameColour = {192, 192, 255};
inline const QString FrameTitle = u"Варианти"_s;

// Option1(i) stands for variant i, "Вариант i+1", and lies inside the frame, one under another;
// each overlaps the next by OptionOverlap.
constexpr int OptionPitch = 360;
constexpr int OptionHeight = 405;
constexpr int OptionOverlap = OptionHeight - OptionPitch;
constexpr Place OptionPlace(int i) { return {120, 360 + OptionPitch * i, 1455, OptionHeight}; }
inline QString OptionText(int i) { return u"Вариант %1"_s.arg(i + 1); }
constexpr Rgb OptionColour = {128, 128, 255};
static_assert(OptionPlace(form::RowCount - 1).top + OptionHeight <= FramePlace.height,
              "the frame holds every option button");

// Text1(0), the assignment; it keeps the platform's colours.
constexpr Place AssignmentPlace = {120, 3960, 7575, 2175};

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

constexpr Place HeadPlace(int column) { return {CellLeft(column), HeadTop, CellWidth, HeadHeight}; }

// The tab order: every control in the order of its tab index, 0 to 66, as runs of one control array
// with consecutive tab indexes, from element `first` to element `last` (downwards where `last` is
// the smaller). Labels and the frame hold their tab indexes but never take the focus.
enum class ControlArray { Text1, Label1, Text2, Command1, Frame1, Option1 };
struct TabRun {
  ControlArray array;
  std::int16_t first, last;
};
inline constexpr TabRun TabOrder[] = {
    {ControlArray::Text1, 0, 0},     // 0
    {ControlArray::Label1, 0, 0},    // 1
    {ControlArray::Label1, 2, 2},    // 2
    {ControlArray::Label1, 4, 6},    // 3 to 5
    {ControlArray::Text2, 0, 15},    // 6 to 21
    {ControlArray::Command1, 0, 1},  // 22, 23
    {ControlArray::Label1, 1, 1},    // 24
    {ControlArray::Label1, 3, 3},    // 25
    {ControlArray::Text2, 16, 23},   // 26 to 33
    {ControlArray::Frame1, 0, 0},    // 34
    {ControlArray::Option1, 0, 5},   // 35 to 40
    {ControlArray::Text2, 24, 35},   // 41 to 52
    {ControlArray::Option1, 6, 6},   // 53
    {ControlArray::Text2, 41, 36},   // 54 to 59: row 6 from right to left
    {ControlArray::Option1, 7, 7},   // 60
    {ControlArray::Text2, 42, 47},   // 61 to 66
};
constexpr int TabStopCount() {
  int count = 0;
  for (const TabRun& run : TabOrder)
    count += (run.last >= run.first ? run.last - run.first : run.first - run.last) + 1;
  return count;
}
static_assert(TabStopCount() == 67, "every control has one tab index");

}  // namespace layout
