// The window at the scale factor given by QT_SCALE_FACTOR (CTest runs this at 1, 1.25, 1.5 and
// 2): it keeps its proportions, and no fixed text or typical value is cut by its control.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <cmath>

#include "window/main_window.h"

namespace {

// The room a line edit leaves for its text: the style's contents rectangle less the text
// margins and the two pixels of padding QLineEdit keeps on each side.
QRect TextArea(QLineEdit* cell) {
  QStyleOptionFrame option;
  option.initFrom(cell);
  option.rect = cell->rect();
  option.lineWidth = cell->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, cell);
  const QRect contents = cell->style()->subElementRect(QStyle::SE_LineEditContents, &option, cell);
  const QMargins margins = cell->textMargins();
  return contents.adjusted(margins.left() + 2, margins.top(), -margins.right() - 2,
                           -margins.bottom());
}

class HighDpiTest : public ::testing::Test {
 protected:
  void SetUp() override { window.show(); }
  MainWindow window;
};

TEST_F(HighDpiTest, KeepsItsProportionsAtTheScaleFactor) {
  // CTest gives the factor to Qt as QT_SCALE_FACTOR and to this test once more under a name of
  // its own, which reaches the program even where QT_* variables are dropped on the way (Wine
  // does so), so that a factor Qt never saw fails here rather than passing at 1.
  const double factor =
      qEnvironmentVariable("FRUSTUM_EXPECTED_SCALE_FACTOR",
                           qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")))
          .toDouble();
  EXPECT_DOUBLE_EQ(window.devicePixelRatio(), factor);
  EXPECT_EQ(window.size(), QSize(519, 415));
  const QImage image = window.grab().toImage();
  EXPECT_EQ(image.width(), std::lround(519 * factor));
  EXPECT_EQ(image.height(), std::lround(415 * factor));
}

TEST_F(HighDpiTest, NoFixedTextIsCut) {
  for (QLabel* label : window.findChildren<QLabel*>()) {
    SCOPED_TRACE(label->objectName().toStdString());
    const QFontMetrics metrics(label->font());
    EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width());
    EXPECT_LE(metrics.height(), label->contentsRect().height());
  }
  for (QRadioButton* option : window.findChildren<QRadioButton*>()) {
    SCOPED_TRACE(option->objectName().toStdString());
    QStyleOptionButton style_option;
    style_option.initFrom(option);
    style_option.text = option->text();
    const QRect text_area =
        option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style_option, option);
    const QFontMetrics metrics(option->font());
    EXPECT_LE(metrics.horizontalAdvance(option->text()), text_area.width());
    EXPECT_LE(text_area.left() + metrics.horizontalAdvance(option->text()), option->width());
    EXPECT_LE(metrics.height(), option->height());
  }
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    SCOPED_TRACE(button->objectName().toStdString());
    const QFontMetrics metrics(button->font());
    // Inside the two-pixel bevel on each side.
    EXPECT_LE(metrics.horizontalAdvance(button->text()), button->width() - 4);
    EXPECT_LE(metrics.height(), button->height() - 4);
  }
  auto* frame = window.findChild<QGroupBox*>(QStringLiteral("Frame1"));
  ASSERT_NE(frame, nullptr);
  EXPECT_LE(QFontMetrics(frame->font()).horizontalAdvance(frame->title()) + 16, frame->width());
}

TEST_F(HighDpiTest, ACellShowsAThreeDecimalValueInFull) {
  for (QLineEdit* cell : window.findChildren<QLineEdit*>()) {
    const QRect area = TextArea(cell);
    const QFontMetrics metrics(cell->font());
    EXPECT_LE(metrics.horizontalAdvance(QStringLiteral("-999.999")), area.width())
        << cell->objectName().toStdString();
    EXPECT_LE(metrics.height(), area.height()) << cell->objectName().toStdString();
  }
}

}  // namespace
