#include "window/cell_edit.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <QToolTip>
#include <algorithm>

#include "window/window_widgets.h"

namespace {

using namespace Qt::StringLiterals;

// QLineEdit leaves this many pixels between its contents rectangle and the text on either side.
constexpr int TextInset = 2;

// The sign that a value goes on beyond the cell's right edge.
constexpr char16_t Ellipsis = u'\u2026';

// A tool tip shows at most this many lines of this many characters.
constexpr qsizetype ToolTipLineLength = 80;
constexpr int ToolTipLines = 20;

// Of a text laid out from the right, at most this many characters are laid out to find where
// the sign goes; every number the program writes is shorter.
constexpr qsizetype RightToLeftLaidOut = 1024;

}  // namespace

QString LiteralToolTip(QStringView text) {
  QString html = u"<p style=\"white-space:pre\">"_s;
  qsizetype at = 0;
  for (int line = 0; line < ToolTipLines && at < text.size(); ++line) {
    qsizetype length = std::min(ToolTipLineLength, text.size() - at);
    // A character outside the BMP stays whole on its line.
    if (at + length < text.size() && text[at + length - 1].isHighSurrogate()) ++length;
    if (line > 0) html += u"<br>"_s;
    html += text.mid(at, length).toString().toHtmlEscaped();
    at += length;
  }
  if (at < text.size()) html += QChar(Ellipsis);
  html += u"</p>"_s;
  return html;
}

int SignPosition(const QString& text, const QFont& font, int room) {
  // Only as many characters as could ever fit are laid out: a pasted text may be 32 767 long.
  // elidedText keeps a character only while the text so far is narrower than the room, and would
  // drop one that ends exactly at the edge: half a pixel more keeps it.
  const QString start = text.left(room + 1);
  const QString shown = QFontMetricsF(font).elidedText(start, Qt::ElideRight, room + 0.5);
  if (shown == text) return -1;
  // Right after what elidedText keeps, and inside the room where the cut start fits (characters
  // without width), or should the font lack the sign.
  const qsizetype kept = shown == start ? start.size() : shown.lastIndexOf(QChar(Ellipsis));
  const QFontMetrics metrics(font);
  return std::min(metrics.horizontalAdvance(start.left(kept)),
                  room - metrics.horizontalAdvance(QChar(Ellipsis)));
}

CellEdit::CellEdit(QWidget* parent) : QLineEdit(parent) {
  // setText leaves the caret at the end, which scrolls a wide value to its end and hides its
  // start (and its sign); a cell the user is not editing keeps its caret at the start instead.
  connect(this, &QLineEdit::cursorPositionChanged, this, [this](int, int position) {
    if (!editing_ && position != 0) setCursorPosition(0);
  });
}

bool CellEdit::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    // Qt shows a tool tip that looks like markup as rich text: typed "<b>5</b>" would show a bold
    // 5, and an image tag could ask for a tool tip of any size.
    const QString tip = toolTip();
    if (tip.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), LiteralToolTip(tip), this,
                         QRect(), toolTipDuration());
    }
    return true;
  }
  return QLineEdit::event(event);
}

void CellEdit::focusInEvent(QFocusEvent* event) {
  editing_ = true;
  QLineEdit::focusInEvent(event);
}

void CellEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // The cell's own context menu takes the focus while the user goes on editing.
  if (event->reason() == Qt::PopupFocusReason) return;
  editing_ = false;
  setCursorPosition(0);
}

void CellEdit::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  // Most styles show the focus of a line edit by its caret alone, and a locked cell by nothing.
  if (hasFocus()) {
    QPainter painter(this);
    DrawFocusRing(painter, rect().marginsRemoved(focus_ring_inset_),
                  FocusColourOn(palette(), palette().color(QPalette::Base)));
  }
  if (!editing_ && !displayText().isEmpty()) PaintSignWhereCut();
}

void CellEdit::PaintSignWhereCut() {
  // Where QLineEdit draws the text: from the left of its contents, inset, and up to the right of
  // the contents rectangle, where it is clipped; one line high, centred in the height.
  QStyleOptionFrame panel;
  initStyleOption(&panel);
  const QRect contents = style()
                             ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
                             .marginsRemoved(textMargins());
  const int height = fontMetrics().height();
  const QRect line(contents.left(), contents.top() + (contents.height() - height + 1) / 2,
                   contents.width(), height);
  const QString text = displayText();
  if (text.isRightToLeft()) {
    PaintSignOnTheLeft(text, line);
  } else {
    PaintSignOnTheRight(text, line);
  }
}

void CellEdit::PaintSignOnTheRight(const QString& text, const QRect& line) {
  const int left = line.left() + TextInset;
  const int sign = SignPosition(text, font(), line.right() + 1 - left);
  if (sign < 0) return;
  PaintSign(QRect(left + sign, line.top(), line.right() + 1 - left - sign, line.height()),
            left + sign);
}

void CellEdit::PaintSignOnTheLeft(const QString& text, const QRect& line) {
  // A text that starts with a right-to-left character (a negative number in Egyptian Arabic
  // starts with a letter mark) is laid out from the right: QLineEdit keeps its start, at the
  // caret, against the right end of the text area, and cuts it on the left. The glyph edges come
  // from a layout of the text itself, as the digits inside run left to right. Only the start is
  // laid out where the text is longer than any number the program writes.
  const QString start = text.left(RightToLeftLaidOut);
  QTextLayout layout(start, font());
  QTextOption option;
  option.setTextDirection(Qt::RightToLeft);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine laid_out = layout.createLine();
  layout.endLayout();
  const qreal width = laid_out.naturalTextWidth();
  const int right = line.right() - TextInset;  // where the start of the text ends up
  if (start.size() == text.size() && width <= right + 1 - line.left()) return;

  // The leftmost glyph edge with room for the sign to its left: everything right of it stays.
  const int sign_width = fontMetrics().horizontalAdvance(QChar(Ellipsis));
  int sign_right = right + 1;
  for (int i = 0; i <= start.size(); ++i) {
    if (!layout.isValidCursorPosition(i)) continue;
    const int x = right + 1 - qRound(width - laid_out.cursorToX(i));
    if (x >= line.left() + sign_width && x < sign_right) sign_right = x;
  }
  PaintSign(QRect(line.left(), line.top(), sign_right - line.left(), line.height()),
            sign_right - sign_width);
}

void CellEdit::PaintSign(const QRect& covered, int sign_left) {
  // What the sign stands for is covered with the cell's own background, and the sign drawn in
  // the colour and font of the text.
  QPainter painter(this);
  painter.fillRect(covered, palette().brush(QPalette::Base));
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(QPoint(sign_left, covered.top() + fontMetrics().ascent()),
                   QString(QChar(Ellipsis)));
}
