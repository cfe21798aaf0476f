#include "window_widgets.h"

#include <qdrawutil.h>

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// WCAG's contrast ratio of two colours: from 1 (the same) to 21 (black on white).
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

}  // namespace

QColor TextColourOn(const QColor& background) {
  const QColor black(Qt::black);
  const QColor white(Qt::white);
  return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

FaceButton::FaceButton(const QString& text, QColor face, QWidget* parent)
    : QPushButton(text, parent), face_(face) {
  // Neither button is pressed by Enter: only a click or Space on the focused button counts.
  setAutoDefault(false);
  setDefault(false);
  // The face covers every pixel of the button, so Qt need not paint what lies beneath it first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void FaceButton::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::StyleChange:
      faces_ = {};
      break;
    default:
      break;
  }
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
  if (face.isNull() || face.deviceIndependentSize() != QSizeF(size()) ||
      face.devicePixelRatio() != ratio) {
    face = QPixmap(size() * ratio);
    face.setDevicePixelRatio(ratio);
    QPainter painter(&face);
    painter.setFont(font());
    const QBrush fill(face_);
    // A raised bevel around the flat face; sunken while the button is held down.
    qDrawWinButton(&painter, rect(), palette(), down, &fill);
    QRect text_area = rect();
    if (down) text_area.translate(1, 1);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(text_area, Qt::AlignCenter, text());
  }
  QPainter painter(this);
  painter.drawPixmap(0, 0, face);
  if (hasFocus()) {
    // The dotted rectangle of desktop buttons, in the caption's colour: the styles' own focus
    // frame (on Fusion a faint line of a shade of the face) is hardly seen on these faces.
    QPen dots(palette().color(QPalette::ButtonText), 1, Qt::CustomDashLine);
    dots.setDashPattern({1, 1});
    painter.setPen(dots);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(4, 4, -5, -5));
  }
}

OptionButton::OptionButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}

void OptionButton::SetMoveChoice(std::function<void(int)> move_choice) {
  move_choice_ = std::move(move_choice);
}

bool OptionButton::hitButton(const QPoint& pos) const { return rect().contains(pos); }

void OptionButton::keyPressEvent(QKeyEvent* event) {
  int step = 0;
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
      step = -1;
      break;
    case Qt::Key_Down:
    case Qt::Key_Right:
      step = 1;
      break;
    default:
      QRadioButton::keyPressEvent(event);
      return;
  }
  if (move_choice_) move_choice_(step);
  event->accept();
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
