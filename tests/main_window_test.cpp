// The real window, driven as a user drives it: mouse clicks, typed keys, Tab and arrow keys.
#include "window/main_window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "form/grid.h"
#include "form/number_text.h"
#include "tests/support/failure_cases.h"
#include "window/assignment_text.h"
#include "window/cell_edit.h"
#include "window/window_widgets.h"

namespace {

using namespace Qt::StringLiterals;

constexpr QRgb Rgb(int r, int g, int b) { return qRgb(r, g, b); }

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  template <typename T>
  T* Find(const QString& name) {
    T* widget = window.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
  }
  QLineEdit* Cell(int k) { return Find<QLineEdit>(QStringLiteral("Text2_%1").arg(k)); }
  QRadioButton* Option(int i) { return Find<QRadioButton>(QStringLiteral("Option1_%1").arg(i)); }
  QPushButton* Command(int i) { return Find<QPushButton>(QStringLiteral("Command1_%1").arg(i)); }
  QLabel* Label(int i) { return Find<QLabel>(QStringLiteral("Label1_%1").arg(i)); }
  QPlainTextEdit* Assignment() { return Find<QPlainTextEdit>(QStringLiteral("Text1_0")); }

  QString Focused() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(none)");
  }

  std::array<QString, form::CellCount> Texts() {
    std::array<QString, form::CellCount> out;
    for (int k = 0; k < form::CellCount; ++k) out[static_cast<std::size_t>(k)] = Cell(k)->text();
    return out;
  }

  // A click near the right end of an option button, away from its mark and caption.
  void ClickOption(int i) {
    QRadioButton* option = Option(i);
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(option->width() - 3, 12));
  }

  void TypeRow(int variant, const std::array<const char*, 3>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
      QLineEdit* cell = Cell(form::GivenCells(variant)[i]);
      QTest::mouseClick(cell, Qt::LeftButton);
      cell->selectAll();
      QTest::keyClick(cell, Qt::Key_Delete);
      QTest::keyClicks(cell, QString::fromUtf8(values[static_cast<std::size_t>(i)]));
    }
  }

  // Runs `action`, closes the message box it shows, after `inspect` if given, and returns the
  // box's title and text.
  QStringList CloseMessageBox(const std::function<void()>& action,
                              const std::function<void(QMessageBox*)>& inspect = {}) {
    QStringList seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        seen = {box->windowTitle(), box->text()};
        if (inspect) inspect(box);
        box->accept();
      }
    });
    poll.start();
    action();
    poll.stop();
    return seen;
  }

  // Shows the tool tip of `widget`, as the mouse resting on it does.
  static QLabel* ShowToolTip(QWidget* widget) {
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), widget->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(widget, &help);
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->inherits("QTipLabel") && w->isVisible()) return qobject_cast<QLabel*>(w);
    }
    return nullptr;
  }

  MainWindow window;
};

TEST_F(MainWindowTest, HasItsSixtySevenNamedControls) {
  int count = 0;
  for (int k = 0; k < form::CellCount; ++k, ++count) ASSERT_NE(Cell(k), nullptr);
  for (int i = 0; i < 7; ++i, ++count) ASSERT_NE(Label(i), nullptr);
  auto* frame = Find<QGroupBox>(QStringLiteral("Frame1"));
  ASSERT_NE(frame, nullptr);
  ++count;
  for (int i = 0; i < form::RowCount; ++i, ++count) {
    ASSERT_NE(Option(i), nullptr);
    EXPECT_EQ(Option(i)->parentWidget(), frame);
  }
  for (int i = 0; i < 2; ++i, ++count) ASSERT_NE(Command(i), nullptr);
  ASSERT_NE(Assignment(), nullptr);
  ++count;
  EXPECT_EQ(count, 67);
}

TEST_F(MainWindowTest, EveryControlStandsWhereTheLayoutSays) {
  EXPECT_EQ(window.size(), QSize(519, 415));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  struct Expected {
    const char* name;
    QRect rect;
  };
  // In pixels at 96 dpi; option buttons relative to their frame.
  const Expected expected[] = {
      {"Command1_0", {8, 0, 81, 25}},  {"Command1_1", {432, 0, 81, 25}},
      {"Label1_0", {128, 0, 289, 25}}, {"Label1_1", {128, 32, 65, 25}},
      {"Label1_2", {192, 32, 65, 25}}, {"Label1_3", {256, 32, 65, 25}},
      {"Label1_4", {320, 32, 65, 25}}, {"Label1_5", {384, 32, 65, 25}},
      {"Label1_6", {448, 32, 65, 25}}, {"Frame1", {8, 32, 113, 225}},
      {"Option1_0", {8, 24, 97, 27}},  {"Option1_1", {8, 48, 97, 27}},
      {"Option1_2", {8, 72, 97, 27}},  {"Option1_3", {8, 96, 97, 27}},
      {"Option1_4", {8, 120, 97, 27}}, {"Option1_5", {8, 144, 97, 27}},
      {"Option1_6", {8, 168, 97, 27}}, {"Option1_7", {8, 192, 97, 27}},
      {"Text1_0", {8, 264, 505, 145}},
  };
  for (const Expected& e : expected) {
    auto* widget = Find<QWidget>(QString::fromLatin1(e.name));
    EXPECT_EQ(widget ? widget->geometry() : QRect(), e.rect) << e.name;
  }
  for (int k = 0; k < form::CellCount; ++k) {
    EXPECT_EQ(Cell(k)->geometry(),
              QRect(128 + 64 * form::ColumnOf(k), 56 + 24 * form::RowOf(k), 65, 27))
        << k;
  }
}

TEST_F(MainWindowTest, IsAFixedWindowWithACloseBoxOnly) {
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(window.minimumSize(), QSize(519, 415));
  EXPECT_EQ(window.maximumSize(), QSize(519, 415));
  // Opens centred on the screen.
  const QRect screen = window.screen()->availableGeometry();
  EXPECT_LE((window.geometry().center() - screen.center()).manhattanLength(), 2);
}

TEST_F(MainWindowTest, OverlappingControlsStackAsLaidOut) {
  // What a click hits where two controls overlap shows which one lies on top.
  auto top_at = [&](QPoint p) { return window.childAt(p)->objectName(); };
  EXPECT_EQ(top_at({130, 57}), u"Text2_0"_s);    // cells lie over the column heads
  EXPECT_EQ(top_at({192, 70}), u"Text2_1"_s);    // over the left-hand neighbour
  EXPECT_EQ(top_at({140, 81}), u"Text2_6"_s);    // each row over the row above
  EXPECT_EQ(top_at({192, 200}), u"Text2_36"_s);  // row 6: over the right-hand neighbour
  EXPECT_EQ(top_at({200, 35}), u"Label1_2"_s);
}

TEST_F(MainWindowTest, ShowsItsColoursOnScreen) {
  const QImage image = window.grab().toImage();
  auto at = [&](QWidget* w, QPoint p) { return image.pixel(w->mapTo(&window, p)) & 0xFFFFFF; };
  const QRgb mask = 0xFFFFFF;
  EXPECT_EQ(image.pixel(3, 200) & mask, Rgb(192, 192, 255) & mask);   // the window
  EXPECT_EQ(image.pixel(122, 40) & mask, Rgb(192, 192, 255) & mask);  // between frame and grid
  EXPECT_EQ(at(Label(0), {3, 22}), Rgb(255, 192, 128) & mask);
  EXPECT_EQ(at(Label(6), {3, 22}), Rgb(255, 192, 128) & mask);
  auto* frame = Find<QGroupBox>(QStringLiteral("Frame1"));
  EXPECT_EQ(at(frame, {4, 100}), Rgb(192, 192, 255) & mask);
  for (int i = 0; i < form::RowCount; ++i) {
    EXPECT_EQ(at(Option(i), {Option(i)->width() - 3, 12}), Rgb(128, 128, 255) & mask) << i;
  }
  EXPECT_EQ(at(Command(0), {5, 12}), Rgb(128, 255, 128) & mask);
  EXPECT_EQ(at(Command(0), {75, 12}), Rgb(128, 255, 128) & mask);
  EXPECT_EQ(at(Command(1), {5, 12}), Rgb(255, 0, 0) & mask);
  EXPECT_EQ(at(Command(1), {75, 12}), Rgb(255, 0, 0) & mask);
  for (int k : {3, 4, 5, 8, 14, 22, 36, 47}) {
    EXPECT_EQ(at(Cell(k), {50, 13}), Rgb(255, 192, 192) & mask) << "computed cell " << k;
  }
  for (int k : {0, 7, 39}) {
    EXPECT_EQ(at(Cell(k), {50, 13}), Rgb(255, 255, 255) & mask) << "given cell " << k;
  }
  // A button's face, kept from one paint to the next, is drawn afresh for a new palette or font.
  QImage face = Command(1)->grab().toImage();
  Command(1)->setPalette(QPalette(Qt::white));
  EXPECT_NE(Command(1)->grab().toImage(), face) << "palette";
  face = Command(1)->grab().toImage();
  Command(1)->setFont(QFont(Command(1)->font().family(), 9));
  EXPECT_NE(Command(1)->grab().toImage(), face) << "font";
}

TEST_F(MainWindowTest, ComputedResultsAreGreyedOnPink) {
  TypeRow(0, {"1", "2", "3"});
  QTest::mouseClick(Command(0), Qt::LeftButton);
  const QImage image = Cell(5)->grab().toImage();
  // The darkest pixel of the text: grey, not the black of an enabled cell.
  int darkest = 255;
  for (int y = 4; y < 23; ++y) {
    for (int x = 3; x < 60; ++x) darkest = std::min(darkest, qGray(image.pixel(x, y)));
  }
  EXPECT_GT(darkest, 40);
  EXPECT_LT(darkest, 200);
  EXPECT_EQ(image.pixel(62, 13) & 0xFFFFFF, Rgb(255, 192, 192) & 0xFFFFFF);

  // Legible all the same: at least 4.5:1 against the pink, in the active and the inactive window
  // and in every style Qt offers.
  auto contrast = [&] {
    const QImage shown = Cell(5)->grab().toImage();
    QRgb text = Rgb(255, 255, 255);
    for (int y = 4; y < 23; ++y) {
      for (int x = 3; x < 60; ++x) {
        if (qGray(shown.pixel(x, y)) < qGray(text)) text = shown.pixel(x, y);
      }
    }
    return ContrastRatio(QColor(Rgb(255, 192, 192)), QColor(text));
  };
  EXPECT_GE(contrast(), 4.5);
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isActiveWindow(); }));
  EXPECT_GE(contrast(), 4.5) << "inactive window";
  for (const QString& key : QStyleFactory::keys()) {
    std::unique_ptr<QStyle> style(QStyleFactory::create(key));
    Cell(5)->setStyle(style.get());
    EXPECT_GE(contrast(), 4.5) << key.toStdString();
    Cell(5)->setStyle(nullptr);
  }
}

TEST_F(MainWindowTest, UsesTimesNewRomanOrItsMetricTwin) {
  std::vector<QWidget*> controls;
  for (int k = 0; k < form::CellCount; ++k) controls.push_back(Cell(k));
  for (int i = 0; i < 7; ++i) controls.push_back(Label(i));
  for (int i = 0; i < form::RowCount; ++i) controls.push_back(Option(i));
  controls.push_back(Command(0));
  controls.push_back(Command(1));
  controls.push_back(Assignment());
  controls.push_back(Find<QGroupBox>(QStringLiteral("Frame1")));
  for (QWidget* w : controls) {
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_EQ(w->font().family(), u"Times New Roman"_s);
    EXPECT_EQ(w->font().pointSize(), 12);
    const bool computed = w->objectName().startsWith(u"Text2_"_s) && !w->isEnabled();
    EXPECT_EQ(w->font().bold(), computed);
    EXPECT_FALSE(w->font().italic());
    const QString shown = QFontInfo(w->font()).family();
    EXPECT_TRUE(shown == u"Times New Roman"_s || shown == u"Liberation Serif"_s)
        << shown.toStdString();
  }
}

TEST_F(MainWindowTest, ShowsItsFixedTexts) {
  EXPECT_TRUE(window.windowTitle().endsWith(u"  Геометрия - пресечен кръгов конус"));
  EXPECT_FALSE(window.windowTitle().startsWith(u' '));
  EXPECT_EQ(Label(0)->text(), u"Изчисляване на пресечен кръгов конус");
  const char16_t* heads[] = {u"r", u"R", u"H", u"L", u"So", u"V"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Label(i + 1)->text(), QString::fromUtf16(heads[i]));
  EXPECT_EQ(Find<QGroupBox>(QStringLiteral("Frame1"))->title(), u"Варианти");
  for (int i = 0; i < form::RowCount; ++i)
    EXPECT_EQ(Option(i)->text(), QStringLiteral("Вариант %1").arg(i + 1));
  EXPECT_EQ(Command(0)->text(), u"Изчисли");
  EXPECT_EQ(Command(1)->text(), u"Изчисти");
  EXPECT_EQ(window.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
}

TEST_F(MainWindowTest, ShowsTheAssignmentTextLineByLine) {
  const QString& stored = layout::AssignmentText;
  EXPECT_EQ(stored.size(), 1159);
  EXPECT_EQ(stored.count(QStringLiteral("\r\n")), 23);
  EXPECT_TRUE(stored.endsWith(QStringLiteral("8) R, L, S.\r\n")));
  EXPECT_TRUE(stored.contains(u"набора:  r- радиус на по-малката основа, \r\n"));

  const QTextDocument* document = Assignment()->document();
  ASSERT_EQ(document->blockCount(), 24);  // 23 lines and a final empty one
  EXPECT_EQ(document->findBlockByNumber(0).text(),
            u"Да се реализира проект, чрез който се представят междупредметни ");
  EXPECT_EQ(document->findBlockByNumber(18).text(),
            u"So = pi*(r + R)*L; V = pi*H*(r*r + R*R + r*R)/3");
  EXPECT_EQ(document->findBlockByNumber(22).text(), u"8) R, L, S.");
  EXPECT_EQ(document->findBlockByNumber(23).text(), QString());
  EXPECT_EQ(Assignment()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(Assignment()->horizontalScrollBar()->maximum(), 0);  // wrapped, never scrolled across
}

TEST_F(MainWindowTest, StartsAfterLoadWithTheCaretInTheAssignment) {
  EXPECT_EQ(Focused(), u"Text1_0"_s);
  EXPECT_EQ(window.GetSelectedVariant(), 0);
  for (int i = 0; i < form::RowCount; ++i) EXPECT_EQ(Option(i)->isChecked(), i == 0);
  for (int k = 0; k < form::CellCount; ++k) {
    EXPECT_TRUE(Cell(k)->text().isEmpty());
    EXPECT_EQ(Cell(k)->isReadOnly(), k >= 4) << k;
  }
  // Typing there changes nothing; selecting and copying work.
  const QString before = Assignment()->toPlainText();
  QTest::keyClicks(Assignment(), u"abc"_s);
  EXPECT_EQ(Assignment()->toPlainText(), before);
  QTest::keyClick(Assignment(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(Assignment(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), before);
}

std::vector<QString> Names(std::initializer_list<const char*> names) {
  std::vector<QString> out;
  for (const char* n : names) out.push_back(QString::fromLatin1(n));
  return out;
}

TEST_F(MainWindowTest, TabFollowsTheTabIndexesAndStopsAtTheChosenOptionOnly) {
  // After load, variant 0 chosen: disabled cells are passed over, locked ones are not.
  const auto forward = Names(
      {"Text2_0",   "Text2_1",    "Text2_2",    "Text2_6",  "Text2_7",  "Text2_9",  "Text2_12",
       "Text2_13",  "Command1_0", "Command1_1", "Text2_16", "Text2_18", "Text2_19", "Text2_23",
       "Option1_0", "Text2_24",   "Text2_26",   "Text2_27", "Text2_30", "Text2_33", "Text2_34",
       "Text2_39",  "Text2_38",   "Text2_37",   "Text2_43", "Text2_45", "Text2_46", "Text1_0"});
  for (const QString& name : forward) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), name);
  }
  for (auto it = forward.rbegin() + 1; it != forward.rend(); ++it) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), *it);
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focused(), u"Text1_0"_s);

  // With variant 6 chosen its button is the one Tab stops at, between cells 35 and 41.
  ClickOption(6);
  Cell(34)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(Focused(), u"Option1_6"_s);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(Focused(), u"Text2_39"_s);
}

TEST_F(MainWindowTest, ArrowKeysMoveTheChoiceRoundTheGroup) {
  ClickOption(0);
  Cell(0)->setText(u"5"_s);
  QTest::keyClick(Option(0), Qt::Key_Down);
  EXPECT_TRUE(Option(1)->isChecked());
  EXPECT_EQ(Focused(), u"Option1_1"_s);
  EXPECT_EQ(window.GetSelectedVariant(), 1);
  EXPECT_TRUE(Cell(0)->text().isEmpty());  // choosing runs the variant's handler
  QTest::keyClick(Option(1), Qt::Key_Up);
  QTest::keyClick(Option(0), Qt::Key_Up);
  EXPECT_TRUE(Option(7)->isChecked());
  EXPECT_EQ(window.GetSelectedVariant(), 7);
  QTest::keyClick(Option(7), Qt::Key_Right);
  EXPECT_EQ(window.GetSelectedVariant(), 0);
}

TEST_F(MainWindowTest, ClickingAnOptionOpensItsRowAndEmptiesTheGrid) {
  TypeRow(0, {"1", "2", "3"});
  QTest::mouseClick(Command(0), Qt::LeftButton);
  ASSERT_FALSE(Cell(5)->text().isEmpty());
  for (int variant : {2, 7, 4}) {
    SCOPED_TRACE("variant " + std::to_string(variant));
    ClickOption(variant);
    EXPECT_TRUE(Option(variant)->isChecked());
    EXPECT_EQ(window.GetSelectedVariant(), variant);
    for (int k = 0; k < form::CellCount; ++k) {
      EXPECT_TRUE(Cell(k)->text().isEmpty());
      const bool typable = Cell(k)->isEnabled() && !Cell(k)->isReadOnly();
      EXPECT_EQ(typable, form::RowOf(k) == variant && Cell(k)->isEnabled()) << k;
    }
  }
}

TEST_F(MainWindowTest, CalculatesAndClearsThroughTheMouse) {
  ClickOption(5);
  TypeRow(5, {"1", "3", "5"});
  QTest::mouseClick(Command(0), Qt::LeftButton);
  const char16_t* expected[] = {u"1,000", u"-0,469", u"2,615", u"3,000", u"5,000", u"2,057"};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(Cell(30 + c)->text(), QString::fromUtf16(expected[c]));
  const auto first = Texts();
  QTest::mouseClick(Command(0), Qt::LeftButton);  // again: the row stays as it is
  EXPECT_EQ(Texts(), first);

  QTest::mouseClick(Command(1), Qt::LeftButton);
  for (const QString& text : Texts()) EXPECT_TRUE(text.isEmpty());
  EXPECT_TRUE(Option(5)->isChecked());
  QTest::mouseClick(Cell(30), Qt::LeftButton);
  QTest::keyClicks(Cell(30), u"7"_s);
  EXPECT_EQ(Cell(30)->text(), u"7"_s);  // the row still accepts typing
}

TEST_F(MainWindowTest, AFailureIsReportedAndChangesNoCell) {
  for (const FailureCase& c : FailureCases()) {
    SCOPED_TRACE(c.name);
    ClickOption(c.variant);
    TypeRow(c.variant, c.typed);
    // A computed cell of the row holds a text too: V's, or So's where V is given.
    Cell(form::CellIndex(c.variant, form::IsGivenCell(form::CellIndex(c.variant, 5)) ? 4 : 5))
        ->setText(u"left over"_s);
    const auto before = Texts();
    const QStringList seen =
        CloseMessageBox([&] { QTest::mouseClick(Command(0), Qt::LeftButton); });
    EXPECT_EQ(seen, (QStringList{u"Грешка при изчисление"_s, c.message}));
    EXPECT_EQ(Texts(), before);
    // The cell to correct has the focus, its text selected.
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    const std::int16_t named = form::CellIndex(c.variant, c.column);
    EXPECT_EQ(Focused(), u"Text2_%1"_s.arg(named));
    EXPECT_EQ(Cell(named)->selectedText(), Cell(named)->text());
  }
}

TEST_F(MainWindowTest, EnterAndEscPressNoButton) {
  for (int i = 0; i < 2; ++i) {
    Command(i)->setFocus();
    for (auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
      QTest::keyClick(Command(i), key);
      EXPECT_TRUE(Cell(0)->text().isEmpty()) << "a button answered key " << key;
    }
  }
  // Space on the focused button does press it.
  Command(0)->setFocus();
  QTest::keyClick(Command(0), Qt::Key_Space);
  EXPECT_EQ(Cell(0)->text(), u"0,000"_s);
}

TEST_F(MainWindowTest, ClickingAComputedCellMovesNoFocus) {
  QTest::mouseClick(Cell(1), Qt::LeftButton);
  ASSERT_EQ(Focused(), u"Text2_1"_s);
  QTest::mouseClick(Cell(3), Qt::LeftButton);
  EXPECT_EQ(Focused(), u"Text2_1"_s);
  QTest::keyClicks(QApplication::focusWidget(), u"4"_s);
  EXPECT_EQ(Cell(1)->text(), u"4"_s);
  EXPECT_TRUE(Cell(3)->text().isEmpty());
}

TEST_F(MainWindowTest, SavesAScreenshot) {
  TypeRow(0, {"1", "2", "3"});
  QTest::mouseClick(Command(0), Qt::LeftButton);
  const QString path = QStringLiteral(FRUSTUM_TEST_OUTPUT_DIR "/main_window.png");
  ASSERT_TRUE(window.grab().save(path));
  EXPECT_EQ(QImage(path).size(), QSize(519, 415) * window.devicePixelRatio());
}

TEST_F(MainWindowTest, AWideResultIsOfferedInFullAsToolTipAndAccessibleValue) {
  TypeRow(0, {"1000", "2000", "3000"});
  QTest::mouseClick(Command(0), Qt::LeftButton);
  const QString volume = Cell(5)->text();
  ASSERT_EQ(volume, u"21\u00a0991\u00a0148\u00a0575,129");
  // Wider than the cell, which is disabled and cannot be scrolled.
  EXPECT_GT(QFontMetrics(Cell(5)->font()).horizontalAdvance(volume), Cell(5)->width());
  // A computed value's tip is its working, which ends in the whole value; a given one's its text.
  EXPECT_TRUE(Cell(5)->toolTip().endsWith(u"= "_s + volume));
  EXPECT_EQ(Cell(0)->toolTip(), u"1\u00a0000,000");
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Cell(5));
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->text(QAccessible::Value), volume);
  EXPECT_EQ(accessible->text(QAccessible::Description), Cell(5)->toolTip());
  QTextDocument shown;
  shown.setHtml(ShowToolTip(Cell(5))->text());
  // Its lines as the working breaks them, a line too long for the tip broken after a blank.
  auto words = [](QString text) { return text.replace(QChar::Nbsp, u' ').remove(u'\n'); };
  EXPECT_EQ(words(shown.toPlainText()), words(Cell(5)->toolTip()));
  QToolTip::hideText();
  // Ctrl+C copies the row as a table where nothing is selected, from a cell or a button.
  const QString table = u"r\tR\tH\tL\tSo\tV\n"_s + Texts()[0] + u'\t' + Texts()[1] + u'\t' +
                        Texts()[2] + u'\t' + Texts()[3] + u'\t' + Texts()[4] + u'\t' + volume +
                        u'\n';
  for (QWidget* control : {static_cast<QWidget*>(Cell(1)), static_cast<QWidget*>(Command(1))}) {
    QApplication::clipboard()->clear();
    control->setFocus();
    QTest::keyClick(control, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), table) << control->objectName().toStdString();
  }
  Cell(1)->setFocus();
  Cell(1)->selectAll();
  QTest::keyClick(Cell(1), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), Cell(1)->text());
  // A right click on a cell of the row, computed (the window takes its menu) or given.
  auto menu_of = [&](QLineEdit* cell) {
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                            cell->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(cell, &click);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    EXPECT_NE(menu, nullptr);
    return menu ? menu->actions() : QList<QAction*>();
  };
  const QList<QAction*> computed = menu_of(Cell(5));
  ASSERT_EQ(computed.size(), 2);
  EXPECT_EQ(computed[0]->text(), u"Копиране на реда"_s);
  computed[1]->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), Cell(5)->toolTip());
  QApplication::activePopupWidget()->close();
  const QList<QAction*> given = menu_of(Cell(0));
  ASSERT_GT(given.size(), 2);  // the line edit's own, then the row's
  given.back()->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), table);
  QApplication::activePopupWidget()->close();
  // Emptied cells offer no stale tip.
  QTest::mouseClick(Command(1), Qt::LeftButton);
  EXPECT_TRUE(Cell(5)->toolTip().isEmpty());
}

TEST_F(MainWindowTest, AWideValueShowsItsStartAndASignThatItGoesOn) {
  TypeRow(0, {"2", "1500", "-3"});
  QTest::mouseClick(Command(0), Qt::LeftButton);
  ASSERT_EQ(Cell(5)->text(), u"-7\u00a0078\u00a0020,815");
  // How a plain line edit shows the same text from its start, with no sign.
  auto plain = [&](int k) {
    QLineEdit reference;
    reference.setFont(Cell(k)->font());
    reference.setPalette(Cell(k)->palette());
    reference.setEnabled(Cell(k)->isEnabled());
    reference.resize(Cell(k)->size());
    reference.setText(Cell(k)->text());
    reference.setCursorPosition(0);
    return reference.grab().toImage();
  };
  // The first and last columns, inside the frame (whose outline blends with what lies behind the
  // cell), in which the cell differs from that.
  auto differences = [&](int k) {
    const QImage shown = Cell(k)->grab().toImage();
    const QImage reference = plain(k);
    std::pair<int, int> columns(-1, -1);
    for (int x = 3; x < shown.width() - 3; ++x) {
      for (int y = 3; y < shown.height() - 3; ++y) {
        if (shown.pixel(x, y) != reference.pixel(x, y)) {
          if (columns.first < 0) columns.first = x;
          columns.second = x;
        }
      }
    }
    return columns;
  };
  auto first_difference = [&](int k) { return differences(k).first; };
  // The start, minus sign included, as a line edit shows it; then the sign, inside the cell.
  EXPECT_GT(first_difference(5), 20);
  EXPECT_EQ(first_difference(0), -1);  // r fits: no sign
  // A given cell scrolls while the user edits it, and shows its start again when left.
  QTest::mouseClick(Cell(1), Qt::LeftButton);
  QTest::keyClick(Cell(1), Qt::Key_End);
  QTest::keyClicks(Cell(1), u"123456789"_s);
  EXPECT_EQ(Cell(1)->cursorPosition(), Cell(1)->text().size());
  // Its context menu takes the focus, but leaves the selection for Copy and Cut to act on.
  for (int i = 0; i < 3; ++i) QTest::keyClick(Cell(1), Qt::Key_Left, Qt::ShiftModifier);
  QContextMenuEvent menu_event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                               Cell(1)->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(Cell(1), &menu_event);
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(Cell(1)->selectedText(), u"789"_s);
  QApplication::activePopupWidget()->close();
  QTest::keyClick(Cell(1), Qt::Key_Tab);
  EXPECT_EQ(Cell(1)->cursorPosition(), 0);
  EXPECT_GT(first_difference(1), 20);
  // A text laid out from the right (Egyptian Arabic writes a negative number after a letter mark)
  // keeps its start at the right, and the sign goes to the left.
  Cell(5)->setText(form::FormatNumber(-7078020.815, 3, QLocale(QLocale::Arabic, QLocale::Egypt)));
  const auto columns = differences(5);
  EXPECT_GE(columns.first, 3);
  EXPECT_LT(columns.second, Cell(5)->width() - 30);
  // A value as wide as the room shows whole; cut, it keeps all that leaves room for the sign.
  const QFontMetrics metrics(Cell(0)->font());
  const QString value = u"21\u00a0991,148"_s;
  EXPECT_EQ(SignPosition(value, Cell(0)->font(), metrics.horizontalAdvance(value)), -1);
  const int kept = metrics.horizontalAdvance(value.left(4));
  EXPECT_EQ(SignPosition(value, Cell(0)->font(), kept + metrics.horizontalAdvance(u'\u2026')),
            kept);
  // So too for a text laid out from the right (a letter mark, then digits a whole number of pixels
  // wide), in a room as wide as it and in one a pixel narrower.
  const QString from_right = u"\u061c12345678"_s;
  const int width =
      static_cast<int>(std::ceil(QFontMetricsF(Cell(0)->font()).horizontalAdvance(from_right)));
  EXPECT_EQ(SignEndFromTheLeft(from_right, Cell(0)->font(), width), -1);
  EXPECT_GT(SignEndFromTheLeft(from_right, Cell(0)->font(), width - 1), 0);
}

TEST_F(MainWindowTest, AValueTooWideIsDrawnNarrowerJustEnoughToFit) {
  // Whether a plain line edit with the cell's font and size shows `text` whole: it scrolls to its
  // caret at the end when it does not.
  auto whole = [&](QLineEdit* cell, const QFont& font) {
    QLineEdit reference;
    reference.setFont(font);
    reference.resize(cell->size());
    reference.setText(cell->text());
    const QImage at_end = reference.grab().toImage();
    reference.setCursorPosition(0);
    return reference.grab().toImage() == at_end;
  };
  const QFont designed = Cell(0)->font();
  for (const char* name : {"bg_BG", "de_DE", "en_US", "fr_FR"}) {
    const QLocale locale(QString::fromLatin1(name));
    for (double value : {999999.999, -99999.999, 21991.149, 2980.858, 1.5, 12345678.9}) {
      for (int k : {0, 5}) {  // a given cell and a computed one, whose face is bold
        const QString text = form::FormatNumber(value, 3, locale);
        SCOPED_TRACE(text.toStdString() + " in " + name + ", cell " + std::to_string(k));
        window.SetCellText(static_cast<std::int16_t>(k), text);
        const QFont font = Cell(k)->font();
        EXPECT_EQ(font.family(), designed.family());
        EXPECT_EQ(font.pointSizeF(), designed.pointSizeF());
        EXPECT_EQ(font.bold(), k == 5);
        if (std::abs(value) < 1e6) {
          EXPECT_TRUE(whole(Cell(k), font));
        } else {  // beyond the squeeze: as narrow as it goes, cut
          EXPECT_EQ(font.stretch(), NarrowestStretch);
          EXPECT_FALSE(whole(Cell(k), font));
        }
        QFont wider = font;
        wider.setStretch(font.stretch() + 1);
        if (value == 1.5) {
          EXPECT_EQ(font.stretch(), QFont::AnyStretch);
        } else if (std::abs(value) < 1e6) {
          EXPECT_FALSE(whole(Cell(k), wider)) << "squeezed more than needed: " << font.stretch();
        }
      }
    }
  }
  // Edited, a cell shows its designed face; left, the face fits the text again; emptied, designed.
  QTest::mouseClick(Cell(0), Qt::LeftButton);
  EXPECT_EQ(Cell(0)->font().stretch(), QFont::AnyStretch);
  QTest::keyClick(Cell(0), Qt::Key_Tab);
  EXPECT_LT(Cell(0)->font().stretch(), 100);
  QTest::mouseClick(Command(1), Qt::LeftButton);
  EXPECT_EQ(Cell(0)->font().stretch(), QFont::AnyStretch);
}

TEST_F(MainWindowTest, ToolTipsShowTheTextAsTypedAndStaySmall) {
  const QSize screen = window.screen()->geometry().size();
  for (const QString& typed :
       {QStringLiteral("<b>5</b>"), QStringLiteral("<img width=20000 height=20000 src=\"x.png\">"),
        QStringLiteral("&amp; <br>  2"), QString(32767, u'8'),
        QString(79, u'8') + u"\U0001F600 outside the BMP"_s}) {
    SCOPED_TRACE(typed.left(40).toStdString());
    Cell(0)->setText(typed);
    QLabel* tip = ShowToolTip(Cell(0));
    EXPECT_NE(tip, nullptr);
    if (!tip) continue;
    // No line break splits a character.
    for (const QString& line : tip->text().split(u"<br>"_s)) EXPECT_TRUE(line.isValidUtf16());
    // Blanks are shown as no-break spaces, which keep them.
    QTextDocument shown;
    shown.setHtml(tip->text());
    const QString plain = shown.toPlainText().replace(QChar::Nbsp, u' ');
    if (typed.size() < 80) {
      EXPECT_EQ(plain, typed);
    } else {
      EXPECT_TRUE(plain.startsWith(typed.left(80)));
      EXPECT_EQ(plain.endsWith(u'…'), typed.size() > 20 * 80);  // cut at its last line
    }
    EXPECT_LE(tip->width(), screen.width());
    EXPECT_LE(tip->height(), screen.height());
    QToolTip::hideText();
  }
}

TEST_F(MainWindowTest, ScreenReadersFindANameAndRoleForEveryControl) {
  auto name_and_role = [](QWidget* w) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
    EXPECT_NE(accessible, nullptr);
    return accessible ? std::make_pair(accessible->text(QAccessible::Name), accessible->role())
                      : std::make_pair(QString(), QAccessible::NoRole);
  };
  EXPECT_EQ(name_and_role(Cell(0)),
            std::make_pair(QStringLiteral("r, Вариант 1"), QAccessible::EditableText));
  EXPECT_EQ(name_and_role(Cell(3)).first, u"L, Вариант 1, изчислено");
  EXPECT_EQ(name_and_role(Cell(40)).first, u"So, Вариант 7, изчислено");
  EXPECT_EQ(name_and_role(Cell(46)).first, u"So, Вариант 8");
  for (int i = 0; i < form::RowCount; ++i) {
    EXPECT_EQ(name_and_role(Option(i)),
              std::make_pair(QStringLiteral("Вариант %1").arg(i + 1), QAccessible::RadioButton));
  }
  EXPECT_EQ(name_and_role(Command(0)),
            std::make_pair(QStringLiteral("Изчисли"), QAccessible::Button));
  EXPECT_EQ(name_and_role(Command(1)),
            std::make_pair(QStringLiteral("Изчисти"), QAccessible::Button));
  EXPECT_EQ(name_and_role(Assignment()).first, u"Задание");
  EXPECT_EQ(name_and_role(Assignment()).second, QAccessible::EditableText);
  // A top-level window, not a bare area.
  EXPECT_EQ(name_and_role(&window).second, QAccessible::Window);
  EXPECT_EQ(name_and_role(&window).first, window.windowTitle());
}

TEST_F(MainWindowTest, OnlyTheChosenRowsGivenCellsTakeAssistiveWrites) {
  TypeRow(0, {"1", "2", "3"});
  QTest::mouseClick(Command(0), Qt::LeftButton);
  Cell(6)->setText(u"5"_s);  // locked, but with a text to lose
  auto text_of = [](QAccessibleInterface* accessible) {
    return accessible->textInterface()->text(0, accessible->textInterface()->characterCount());
  };
  // Every way of writing: insert, replace, delete (the assignment text offers none of these), and
  // setting the whole value.
  auto write_every_way = [](QAccessibleInterface* accessible) {
    if (QAccessibleEditableTextInterface* editable = accessible->editableTextInterface()) {
      editable->insertText(0, QStringLiteral("98"));
      editable->replaceText(0, 1, QStringLiteral("7"));
      editable->deleteText(1, 2);
    }
    accessible->setText(QAccessible::Value, accessible->text(QAccessible::Value) + u'6');
  };
  // Locked (6), locked and disabled (3, 5), and the assignment text: nothing changes.
  for (QWidget* control :
       std::initializer_list<QWidget*>{Cell(6), Cell(3), Cell(5), Assignment()}) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    const std::string name = control->objectName().toStdString();
    EXPECT_FALSE(accessible->state().editable) << name;
    EXPECT_TRUE(accessible->state().readOnly) << name;
    const QString before = text_of(accessible);
    EXPECT_FALSE(before.isEmpty()) << name;
    write_every_way(accessible);
    EXPECT_EQ(text_of(accessible), before) << name;
  }

  // The chosen row's given cells stay open, on whichever row is chosen.
  ClickOption(1);
  for (int k : {6, 0}) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Cell(k));
    EXPECT_EQ(accessible->state().editable, k == 6) << k;
    EXPECT_EQ(accessible->state().readOnly, k != 6) << k;
    write_every_way(accessible);
  }
  EXPECT_EQ(Cell(6)->text(), u"76"_s);  // "98", "78", "7", "76"
  EXPECT_TRUE(Cell(0)->text().isEmpty());
}

// How the most striking pixel of `area` of `widget` stands against the colour of most of the
// area: for an area of text, how the text stands against its background.
double TextContrast(QWidget* widget, const QRect& area) {
  const QImage image = widget->grab(area).toImage();
  std::map<QRgb, int> count;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) ++count[image.pixel(x, y)];
  }
  const auto background = std::max_element(count.begin(), count.end(),
                                           [](auto& a, auto& b) { return a.second < b.second; });
  double most = 1;
  for (const auto& [colour, n] : count) {
    most = std::max(most, ContrastRatio(colour, background->first));
  }
  return most;
}

// Under the desktop's scheme and style (CTest runs it under light and dark ones, see test_main).
TEST_F(MainWindowTest, EveryTextStandsOutFromItsBackground) {
  TypeRow(0, {"1", "2", "3"});
  QTest::mouseClick(Command(0), Qt::LeftButton);
  Cell(6)->setText(u"5"_s);                   // locked
  QApplication::focusWidget()->clearFocus();  // no caret or focus mark among the texts
  auto inside = [](QWidget* w, int left = 3) { return w->rect().adjusted(left, 3, -3, -3); };
  // The window's texts, as the window shows them active and inactive: a desktop's palette may
  // give the inactive window other text colours.
  auto check_texts = [&](const char* state) {
    for (QWidget* w : std::initializer_list<QWidget*>{Label(0), Command(0), Command(1), Cell(0),
                                                      Cell(6), Cell(5), Assignment()->viewport()}) {
      EXPECT_GE(TextContrast(w, inside(w)), 4.5) << w->objectName().toStdString() << " " << state;
    }
    // An option's caption, right of its mark, and the frame's caption on its border.
    EXPECT_GE(TextContrast(Option(0), inside(Option(0), 27)), 4.5) << "option " << state;
    EXPECT_GE(TextContrast(Find<QGroupBox>(u"Frame1"_s), QRect(8, 0, 50, 15)), 4.5)
        << "frame " << state;
  };
  check_texts("active");
  {
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isActiveWindow(); }));
    check_texts("inactive");
  }
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QLabel* tip = ShowToolTip(Cell(5));
  ASSERT_NE(tip, nullptr);
  EXPECT_GE(TextContrast(tip, inside(tip)), 4.5) << "tool tip";
  QToolTip::hideText();
  TypeRow(0, {"1", "2", "1e400"});
  double message = 0;
  CloseMessageBox([&] { QTest::mouseClick(Command(0), Qt::LeftButton); },
                  [&](QMessageBox* box) {
                    const auto* text = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
                    message = TextContrast(box, text->geometry());
                  });
  EXPECT_GE(message, 4.5) << "failure message";
}

// Taking the keyboard focus, every kind of stop changes pixels where it shows in the window, so
// that 40 or more stand out from what was there (3:1), and line all four sides of a frame at
// least half as wide and high as the stop. Locked cell 38 lies in row 6, under its left-hand
// neighbour.
TEST_F(MainWindowTest, EveryKindOfStopShowsItsFocus) {
  for (QWidget* stop :
       std::initializer_list<QWidget*>{Command(0), Option(0), Cell(0), Cell(38), Assignment()}) {
    Command(1)->setFocus();
    const QRect area(stop->mapTo(&window, QPoint()), stop->size());
    const QImage before = window.grab(area).toImage();
    stop->setFocus(Qt::TabFocusReason);
    const QImage after = window.grab(area).toImage();
    std::vector<int> rows(after.height()), columns(after.width());
    QRect marked;
    for (int y = 0; y < after.height(); ++y) {
      for (int x = 0; x < after.width(); ++x) {
        if (ContrastRatio(after.pixelColor(x, y), before.pixelColor(x, y)) < 3) continue;
        ++rows[y], ++columns[x];
        marked |= QRect(x, y, 1, 1);
      }
    }
    const std::string name = stop->objectName().toStdString();
    EXPECT_GE(std::accumulate(rows.begin(), rows.end(), 0), 40) << name;
    EXPECT_GE(marked.width(), after.width() / 2) << name;
    EXPECT_GE(marked.height(), after.height() / 2) << name;
    if (marked.width() < after.width() / 2 || marked.height() < after.height() / 2) continue;
    // The marks of a side: of its outer three lines, the one with most (a corner may stick out).
    auto side = [](const std::vector<int>& n, int edge, int in) {
      return std::max({n[edge], n[edge + in], n[edge + 2 * in]});
    };
    EXPECT_GE(side(rows, marked.top(), 1), marked.width() / 3) << name;
    EXPECT_GE(side(rows, marked.bottom(), -1), marked.width() / 3) << name;
    EXPECT_GE(side(columns, marked.left(), 1), marked.height() / 3) << name;
    EXPECT_GE(side(columns, marked.right(), -1), marked.height() / 3) << name;
  }
}

// What the screen shows (offscreen, one pixel per point) as the focus comes and goes, and as the
// assignment scrolls with it, is what the window draws afresh: no focus mark is left behind,
// missing, or moved with the text.
TEST_F(MainWindowTest, TheScreenKeepsUpWithFocusChanges) {
  auto fresh = [&] {
    const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
    return shown.convertToFormat(QImage::Format_RGB32) ==
           window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  };
  for (QWidget* stop : std::initializer_list<QWidget*>{Cell(38), Option(0), Assignment()}) {
    Command(1)->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(QTest::qWaitFor(fresh)) << "left " << stop->objectName().toStdString();
    stop->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(QTest::qWaitFor(fresh)) << stop->objectName().toStdString();
  }
  Assignment()->verticalScrollBar()->setValue(3);
  EXPECT_TRUE(QTest::qWaitFor(fresh)) << "scrolled";
}

TEST_F(MainWindowTest, TheWholeJobCanBeDoneWithTheKeyboardAlone) {
  auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  };
  // Tab on from the assignment text to the chosen variant's button, and choose variant 5.
  for (int i = 0; i < 30 && Focused() != u"Option1_0"_s; ++i) press(Qt::Key_Tab);
  ASSERT_EQ(Focused(), u"Option1_0"_s);
  for (int i = 0; i < 5; ++i) press(Qt::Key_Down);
  EXPECT_EQ(window.GetSelectedVariant(), 5);
  // Its given cells r, L and So come right after the button in the tab order.
  for (const char* value : {"1", "3", "5"}) {
    for (int i = 0; i < 10 && !Focused().startsWith(u"Text2_3"_s); ++i) press(Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(value));
    press(Qt::Key_Tab);
  }
  EXPECT_EQ(Cell(30)->text(), u"1"_s);
  EXPECT_EQ(Cell(33)->text(), u"3"_s);
  EXPECT_EQ(Cell(34)->text(), u"5"_s);
  // On round to "Изчисли", and press it with Space.
  for (int i = 0; i < 40 && Focused() != u"Command1_0"_s; ++i) press(Qt::Key_Tab);
  ASSERT_EQ(Focused(), u"Command1_0"_s);
  press(Qt::Key_Space);
  EXPECT_EQ(Cell(31)->text(), u"-0,469");
  EXPECT_EQ(Cell(35)->text(), u"2,057");
}

}  // namespace
