// A cell of the grid. Whenever the user is not editing it, it shows its text from the start, and a
// value too wide for its designed face is drawn horizontally condensed, just enough to fit, down to
// NarrowestStretch per cent of its width; one wider still shows "…" where it is cut (at the right
// edge, or at the left for a text laid out from the right), so that no digit of a number is lost
// from sight unnoticed. The squeeze is the cell's own font (its stretch), so what is drawn and what
// is measured agree. Its tool tip shows the text exactly as it stands, never as markup. With the
// keyboard focus, open or locked, it shows a ring inside its border.
#pragma once

#include <QFont>
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

  // Gives the cell the keyboard focus with its whole text selected, so that typing replaces it.
  // In a window that is not active (a message box has just closed) the focus arrives only once it
  // is, and a cell without the focus drops a selection: the text is selected when it arrives.
  void FocusWithTextSelected();

 protected:
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // Where the text shown does not fit the cell, covers its cut end with the sign that it goes
  // on: at the right, or at the left for a text laid out from the right. `line` is the line of
  // the text, from the left to the right end of the cell's contents.
  // Gives the cell the font its text fits in: the designed face while the user edits it or the
  // text fits, else the least squeeze that makes it fit, but no narrower than NarrowestStretch.
  void FitText();
  // The line of the text, from the left to the right end of the cell's contents, one line high.
  QRect TextLine() const;
  void PaintSignWhereCut();
  void PaintSignOnTheRight(const QString& text, const QRect& line);
  void PaintSignOnTheLeft(const QString& text, const QRect& line);
  // Covers `covered` with the cell's background and draws the sign from `sign_left`.
  void PaintSign(const QRect& covered, int sign_left);

  // True from the moment the cell takes the focus until it loses it to anything but its own
  // context menu: then it scrolls as any line edit does.
  bool editing_ = false;
  bool select_on_focus_ = false;
  QMargins focus_ring_inset_;
};

// The narrowest a value is drawn, in per cent of its designed width.
inline constexpr int NarrowestStretch = 70;

// `font` at `stretch` per cent of its designed width (QFont::AnyStretch: the designed face), in
// the engine that draws it so.
QFont Condensed(QFont font, int stretch);

// The stretch at which `text` fits a room `room` pixels wide in `font` (whose stretch is ignored):
// QFont::AnyStretch, the designed face, where it fits so; else the largest stretch of
// NarrowestStretch to 99 per cent at which it fits; else NarrowestStretch.
int StretchToFit(const QString& text, QFont font, int room);

// Where, in pixels from its start, the sign goes that says that `text`, laid out from the left in
// `font`, goes on beyond a room `room` pixels wide: right after the longest start of it that
// leaves room for the sign. -1 where the whole text fits.
int SignPosition(const QString& text, const QFont& font, int room);

// The same for a text laid out from the right, whose start stays against the right end of the
// room: where, in pixels from the room's left end, the sign ends, and what is kept begins. -1
// where the whole text fits.
int SignEndFromTheLeft(const QString& text, const QFont& font, int room);

// The rich text under which a tool tip shows `text` character for character: markup and entities
// are escaped, blanks kept and lines kept. A line longer than a fixed number of characters is
// broken, and a text longer than a screenful of such lines shows its start followed by "…", so that
// no typed or pasted text can make a tool tip huge.
QString LiteralToolTip(QStringView text);
