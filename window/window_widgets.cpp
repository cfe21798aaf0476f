#include "window/window_widgets.h"

#include <qdrawutil.h>

#include <QButtonGroup>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>
#include <cmath>
#include <utility>

double ContrastRatio(const QColor& a, const QColor& b) {
  auto luminance = [](const QColor& c) {
    auto linear = [](double v) {
      return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF()) +
           0.05;
  };
  return std::max(luminance(a), luminance(b)) / std::min(luminance(a), luminance(b));
}

QColor TextColourOn(const QColor& background) {
  const QColor black(Qt::black);
  const QColor white(Qt::white);
  return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

QColor FocusColourOn(const QPalette& palette, const QColor& background) {
  const QColor highlight = palette.color(QPalette::Highlight);
  return ContrastRatio(highlight, background) >= 3 ? highlight : TextColourOn(background);
}

void DrawFocusDots(QPainter& painter, const QRect& area, const QColor& colour) {
  // Measured in whole device pixels: a line one point wide at a scale such as 1.5 falls across
  // device pixels, and how its dots are then rasterised differs between Qt versions, down to
  // dots that vanish.
  const int width = std::max(1, static_cast<int>(painter.device()->devicePixelRatioF()));
  QPen dots(colour, width, Qt::CustomDashLine);
  dots.setCosmetic(true);
  dots.setDashPattern({1, 1});
  painter.setPen(dots);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area.adjusted(0, 0, -1, -1));  // a rectangle's outline reaches one pixel beyond
}

void DrawFocusRing(QPainter& painter, const QRect& area, const QColor& colour) {
  QPainterPath ring;
  ring.setFillRule(Qt::OddEvenFill);
  ring.addRect(area);
  ring.addRect(area.adjusted(2, 2, -2, -2));
  painter.fillPath(ring, colour);
}

FaceButton::FaceButton(const QString& text, QColor face, QWidget* parent)
    : QPushButton(text, parent), face_(face) {
  // Neither button is pressed by Enter: only a click or Space on the focused button counts.
  setAutoDefault(false);
  setDefault(false);
  // Not an opaque paint event: at a scale such as 1.5 the button ends half-way through a device
  // pixel, which its face does not cover, and what lies beneath must be painted there first.
}

void FaceButton::changeEvent(QEvent* event) {
  // The faces are drawn from the palette and the font alone, whatever the style: a new style
  // that brings its own palette or font changes those too.
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) faces_ = {};
  QPushButton::changeEvent(event);
}

void FaceButton::paintEvent(QPaintEvent*) {
  const bool down = isDown();
  const qreal ratio = devicePixelRatioF();
  if (faces_text_ != text()) {
    faces_ = {};
    faces_text_ = text();
  }
  QPixmap& face = faces_[down ? 1 : 0];
  // Compared in device pixels: at a fractional scale the face's size in points is not whole.
  if (face.isNull() || face.size() != size() * ratio || face.devicePixelRatio() != ratio) {
    face = QPixmap(size() * ratio);
    face.setDevicePixelRatio(ratio);
    QPainter painter(&face);
    painter.setFont(font());
    const QBrush fill(face_);
    // A raised bevel around the flat face; sunken while the button is held down.
    qDrawWinButton(&painter, rect(), palette(), down, &fill);
    QRect text_area = rect();
    if (down) {
      // The caption moves as the style moves a pressed button's.
      QStyleOptionButton option;
      initStyleOption(&option);
      text_area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                          style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(text_area, Qt::AlignCenter, text());
  }
  QPainter painter(this);
  painter.drawPixmap(0, 0, face);
  if (hasFocus()) {
    // The dotted rectangle of desktop buttons: the styles' own focus frame (on Fusion a faint
    // line of a shade of the face) is hardly seen on these faces.
    DrawFocusDots(painter, rect().adjusted(4, 4, -4, -4), FocusColourOn(palette(), face_));
  }
}

OptionButton::OptionButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}

bool OptionButton::hitButton(const QPoint& pos) const { return rect().contains(pos); }

void OptionButton::keyPressEvent(QKeyEvent* event) {
  int key = event->key();
  if (key == Qt::Key_Left) key = Qt::Key_Up;
  if (key == Qt::Key_Right) key = Qt::Key_Down;
  const QButtonGroup* buttons = group();
  if (!buttons || (key != Qt::Key_Up && key != Qt::Key_Down)) {
    QRadioButton::keyPressEvent(event);
    return;
  }
  const QList<QAbstractButton*> column = buttons->buttons();
  const bool down = key == Qt::Key_Down;
  if (this == (down ? column.back() : column.front())) {
    QAbstractButton* other = down ? column.front() : column.back();
    other->click();
    other->setFocus(down ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  } else {
    QKeyEvent moved(event->type(), key, event->modifiers(), event->text(), event->isAutoRepeat());
    QRadioButton::keyPressEvent(&moved);
  }
  event->accept();
}

void OptionButton::paintEvent(QPaintEvent*) {
  // The styles' own focus frame (on Fusion a line of a shade of the button's colour) is all but
  // invisible on these buttons: the dotted rectangle stands in for it.
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const bool focus = option.state.testFlag(QStyle::State_HasFocus);
  option.state.setFlag(QStyle::State_HasFocus, false);
  painter.drawControl(QStyle::CE_RadioButton, option);
  if (!focus) return;
  const QRect caption = style()->subElementRect(QStyle::SE_RadioButtonFocusRect, &option, this);
  DrawFocusDots(painter, caption.intersected(rect().marginsRemoved(focus_ring_inset_)),
                FocusColourOn(palette(), palette().color(backgroundRole())));
}

FrameBox::FrameBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
  setAutoFillBackground(true);
}

void FrameBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics = fontMetrics();
  // The border runs through the middle of the caption's line.
  const int border_top = metrics.height() / 2;
  qDrawShadeRect(&painter, QRect(0, border_top, width(), height() - border_top), palette(), true);
  const QString caption = title();
  QRect caption_area = metrics.boundingRect(caption).adjusted(-2, 0, 2, 0);
  caption_area.moveTopLeft(QPoint(6, 0));
  caption_area.setHeight(metrics.height());
  painter.fillRect(caption_area, palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(caption_area, Qt::AlignCenter, caption);
}

void AssignmentBox::paintEvent(QPaintEvent* event) {
  QPlainTextEdit::paintEvent(event);
  if (!hasFocus()) return;
  // Around the text, inside the border: the text keeps its margin clear of it.
  QPainter painter(viewport());
  DrawFocusRing(painter, viewport()->rect(),
                FocusColourOn(palette(), palette().color(QPalette::Base)));
}

// Qt repaints only the caret when the focus comes or goes; the ring runs all round.
void AssignmentBox::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  viewport()->update();
}

void AssignmentBox::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  viewport()->update();
}

void AssignmentBox::scrollContentsBy(int dx, int dy) {
  QPlainTextEdit::scrollContentsBy(dx, dy);
  // Scrolling moves the pixels drawn, the ring's with the text's; it is drawn afresh in place.
  if (hasFocus()) viewport()->update();
}
