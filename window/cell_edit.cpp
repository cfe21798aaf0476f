#include "window/cell_edit.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextDocument>
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
  // Qt escapes the markup and keeps the blanks (as no-break spaces) and line breaks; the bound is
  // the program's own. A line longer than a tool tip's is broken after its last blank that fits,
  // or else where it reaches the length, keeping a character outside the BMP whole.
  QStringList lines;
  qsizetype at = 0;
  while (at < text.size() && lines.size() < ToolTipLines) {
    qsizetype end = text.indexOf(u'\n', at);
    if (end < 0) end = text.size();
    qsizetype length = end - at;
    qsizetype next = end + 1;
    if (length > ToolTipLineLength) {
      const qsizetype blank = text.mid(at, ToolTipLineLength).lastIndexOf(u' ');
      length = blank > 0 ? blank + 1 : ToolTipLineLength;
      if (blank <= 0 && text[at + length - 1].isHighSurrogate()) ++length;
      next = at + length;
    }
    lines.append(text.mid(at, length).toString());
    at = next;
  }
  if (at < text.size()) lines.back() += QChar(Ellipsis);
  return Qt::convertFromPlainText(lines.join(u'\n'), Qt::WhiteSpacePre);
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

int SignEndFromTheLeft(const QString& text, const QFont& font, int room) {
  // A text that starts with a right-to-left character (a negative number in Egyptian Arabic
  // starts with a letter mark) is laid out from the right. The glyph edges come from a layout of
  // the text itself, as the digits inside run left to right. Only the start is laid out where the
  // text is longer than any number the program writes.
  const QString start = text.left(RightToLeftLaidOut);
  QTextLayout layout(start, font);
  QTextOption option;
  option.setTextDirection(Qt::RightToLeft);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine laid_out = layout.createLine();
  layout.endLayout();
  const qreal width = laid_out.naturalTextWidth();
  if (start.size() == text.size() && width <= room) return -1;

  // The leftmost glyph edge with room for the sign to its left: everything right of it stays.
  const int sign_width = QFontMetrics(font).horizontalAdvance(QChar(Ellipsis));
  int sign_end = room;
  for (int i = 0; i <= start.size(); ++i) {
    if (!layout.isValidCursorPosition(i)) continue;
    const int x = room - qRound(width - laid_out.cursorToX(i));
    if (x >= sign_width && x < sign_end) sign_end = x;
  }
  return sign_end;
}

QFont Condensed(QFont font, int stretch) {
  font.setStretch(stretch);
#ifdef Q_OS_WIN
  // Qt's default engine on Windows, GDI, rounds each glyph's advance to whole pixels at a stretch,
  // so a condensed value grows back by up to half a pixel a character (9 digits at 70 % come to 60
  // pixels rather than 56). For a font that asks for no more than vertical hinting Qt takes
  // DirectWrite, which keeps the advances as fine as FreeType does; the designed face keeps the
  // default engine, and so its look.
  font.setHintingPreference(stretch == QFont::AnyStretch ? QFont::PreferDefaultHinting
                                                         : QFont::PreferVerticalHinting);
#endif
  return font;
}

int StretchToFit(const QString& text, QFont font, int room) {
  // As QLineEdit decides whether to scroll: the text's width, rounded, and a pixel for the caret.
  auto fits = [&](int stretch) {
    return qRound(QFontMetricsF(Condensed(font, stretch)).horizontalAdvance(text)) + 1 <= room;
  };
  if (fits(QFont::AnyStretch)) return QFont::AnyStretch;
  // The width shrinks with the stretch, if not exactly in proportion (glyph advances may be
  // rounded to pixels): start where the proportion puts it, then step to the widest that fits.
  const qreal designed = QFontMetricsF(Condensed(font, QFont::AnyStretch)).horizontalAdvance(text);
  int stretch = std::clamp(static_cast<int>(100 * room / designed), NarrowestStretch, 99);
  while (stretch < 99 && fits(stretch + 1)) ++stretch;
  while (stretch > NarrowestStretch && !fits(stretch)) --stretch;
  return stretch;
}

CellEdit::CellEdit(QWidget* parent) : QLineEdit(parent) {
  // Whatever writes the text (the program, the user's editing, Clear), the face fits it again.
  connect(this, &QLineEdit::textChanged, this, &CellEdit::FitText);
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

void CellEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  // A new style may give the text another room.
  if (event->type() == QEvent::StyleChange) FitText();
}

void CellEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  FitText();
}

void CellEdit::FocusWithTextSelected() {
  select_on_focus_ = true;
  setFocus(Qt::OtherFocusReason);
  if (hasFocus()) {  // it had the focus already, and no focus event comes
    select_on_focus_ = false;
    selectAll();
  }
}

void CellEdit::focusInEvent(QFocusEvent* event) {
  editing_ = true;
  FitText();
  QLineEdit::focusInEvent(event);
  if (select_on_focus_) {
    select_on_focus_ = false;
    selectAll();
  }
}

void CellEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // The cell's own context menu takes the focus while the user goes on editing.
  if (event->reason() == Qt::PopupFocusReason) return;
  editing_ = false;
  setCursorPosition(0);
  FitText();
}

void CellEdit::FitText() {
  // Measured as QLineEdit lays the text out: from TextInset inside the line to TextInset before
  // its end, so that the text is not scrolled.
  const QString text = displayText();
  const int stretch = editing_ || text.isEmpty()
                          ? QFont::AnyStretch
                          : StretchToFit(text, font(), TextLine().width() - 2 * TextInset);
  if (font().stretch() == stretch) return;
  setFont(Condensed(font(), stretch));
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

QRect CellEdit::TextLine() const {
  // Where QLineEdit draws the text: from the left of its contents, inset, and up to the right of
  // the contents rectangle, where it is clipped; one line high, centred in the height.
  QStyleOptionFrame panel;
  initStyleOption(&panel);
  const QRect contents = style()
                             ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
                             .marginsRemoved(textMargins());
  const int height = fontMetrics().height();
  return QRect(contents.left(), contents.top() + (contents.height() - height + 1) / 2,
               contents.width(), height);
}

void CellEdit::PaintSignWhereCut() {
  const QRect line = TextLine();
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
  // QLineEdit keeps the start of such a text, at the caret, against the right end of the text
  // area, and cuts it on the left.
  const int room = line.width() - TextInset;
  const int kept_from = SignEndFromTheLeft(text, font(), room);
  if (kept_from < 0) return;
  const int sign_width = fontMetrics().horizontalAdvance(QChar(Ellipsis));
  PaintSign(QRect(line.left(), line.top(), kept_from, line.height()),
            line.left() + kept_from - sign_width);
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
