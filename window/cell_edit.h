// A cell of the grid. Whenever the user is not editing it, it shows its text from the start, and
// a value too wide for it ends in "…" at its right edge, so that no digit at the start or end of
// a number is lost from sight unnoticed. Its tool tip shows the text exactly as it stands, never
// as markup. With the keyboard focus, open or locked, it shows a ring inside its border.
#pragma once

#include <QLineEdit>
#include <QMargins>
#include <QString>
#include <QStringView>

class CellEdit : public QLineEdit {
 public:
  explicit CellEdit(QWidget* parent);

  // How far inside the cell's edges the focus ring lies: neighbouring cells that overlap the
  // cell cover its edges, and the ring must stay where it can be seen.
  void SetFocusRingInset(const QMargins& inset) { focus_ring_inset_ = inset; }

 protected:
  bool event(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // Covers the left end of a text laid out from the right that does not fit, and draws the sign
  // there.
  void PaintSignOnTheLeft(const QString& text, const QRect& contents, int top);

  // True from the moment the cell takes the focus until it loses it to anything but its own
  // context menu: then it scrolls as any line edit does.
  bool editing_ = false;
  QMargins focus_ring_inset_;
};

// The rich text under which a tool tip shows `text` character for character: markup and entities
// are escaped and blanks kept. The text is broken into lines of a fixed number of characters, and
// a text longer than a screenful of such lines shows its start followed by "…", so that no typed
// or pasted text can make a tool tip huge.
QString LiteralToolTip(QStringView text);
