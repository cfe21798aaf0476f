// The kinds of control whose look or handling Qt's own widgets do not give as the window needs
// them, and the colours that keep their texts and keyboard focus visible on any desktop scheme.
#pragma once

#include <QColor>
#include <QGroupBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

class QPainter;

// WCAG's contrast ratio of two colours: from 1 (the same) to 21 (black on white). The window
// chooses its text and focus colours by it, and its tests measure what the screen shows with it.
double ContrastRatio(const QColor& a, const QColor& b);

// Black or white, whichever stands out more against `background` by WCAG's contrast ratio: the
// window's own colour for text on the backgrounds it fixes, where the desktop's text colour
// (light under a dark scheme) could hardly be read.
QColor TextColourOn(const QColor& background);

// The colour of the keyboard focus on `background`: the desktop's highlight where it stands at
// 3:1 or more against it, else black or white.
QColor FocusColourOn(const QPalette& palette, const QColor& background);

// The dotted rectangle of desktop buttons, one pixel wide, along the edges of `area`.
void DrawFocusDots(QPainter& painter, const QRect& area, const QColor& colour);

// A solid ring two pixels wide just inside `area`.
void DrawFocusRing(QPainter& painter, const QRect& area, const QColor& colour);

// A push button whose whole face is filled flat with one colour, on every platform style (Qt's
// styles draw faces with gradients or theme images that ignore the palette).
class FaceButton : public QPushButton {
 public:
  FaceButton(const QString& text, QColor face, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QColor face_;
  // The face raised [0] and sunken [1], bevel and caption, drawn once for the button's size,
  // screen density, caption, palette and font, and copied to the screen on every paint.
  std::array<QPixmap, 2> faces_;
  QString faces_text_;
};

// An option button of a column of them in a QButtonGroup. It answers a click anywhere on its
// coloured area (Qt's answers only on the mark and the caption). Its arrow keys move the choice to
// the previous or next button of the group, round the end, as option buttons of desktop systems do:
// Qt moves it to the nearest button above or below; Left and Right, for which Qt finds no button
// beside a column, count as Up and Down, and from the last button or the first the choice goes
// round. With the keyboard focus it shows a dotted rectangle around its caption.
class OptionButton : public QRadioButton {
 public:
  OptionButton(const QString& text, QWidget* parent);

  // How far inside the button's edges the focus rectangle must stay: the next button of the
  // group overlaps its bottom edge.
  void SetFocusRingInset(const QMargins& inset) { focus_ring_inset_ = inset; }

 protected:
  bool hitButton(const QPoint& pos) const override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QMargins focus_ring_inset_;
};

// A group frame filled flat with its colour inside and out, with an etched border and its caption
// at the top left (Fusion shades the inside of a group box a little darker than its colour).
class FrameBox : public QGroupBox {
 public:
  FrameBox(const QString& title, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A read-only text box that shows a ring inside its border while it has the keyboard focus (Qt
// shows only the caret there).
class AssignmentBox : public QPlainTextEdit {
 public:
  explicit AssignmentBox(QWidget* parent) : QPlainTextEdit(parent) {}

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
};
