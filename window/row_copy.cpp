#include "window/row_copy.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>
#include <algorithm>

#include "form/working.h"
#include "window/cell_edit.h"

namespace {

using namespace Qt::StringLiterals;

// Whether `control` has text selected, which Ctrl+C then copies as any text box does.
bool HasSelection(QObject* control) {
  if (auto* cell = qobject_cast<QLineEdit*>(control)) return cell->hasSelectedText();
  if (auto* box = qobject_cast<QPlainTextEdit*>(control)) return box->textCursor().hasSelection();
  return false;
}

}  // namespace

RowCopy::RowCopy(QWidget& window, const std::array<CellEdit*, form::CellCount>& cells,
                 const form::FrustumForm& form)
    : QObject(&window), cells_(cells), form_(form) {
  // Reached where the focused control takes no Ctrl+C of its own (the buttons), or lets it pass
  // (a text box with nothing selected, below).
  auto* copy = new QShortcut(QKeySequence::Copy, &window);
  connect(copy, &QShortcut::activated, this, &RowCopy::CopyRow);
}

bool RowCopy::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // Accepted, Ctrl+C goes to the text box, which copies its selection (a read-only box does not
    // claim it itself); unaccepted, to the window's shortcut, as the box would copy nothing.
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->matches(QKeySequence::Copy)) return false;
    key->setAccepted(HasSelection(watched));
    return true;
  }
  if (event->type() == QEvent::ContextMenu) {
    // Event filters see the context menu of a disabled cell too, before Qt hands it on to the
    // window. An open cell's own menu gets the row's entries added; a computed cell, which has no
    // menu of its own, offers only those. Either menu is deleted once closed, as Qt's own is.
    QLineEdit* cell = InChosenRow(qobject_cast<QLineEdit*>(watched));
    if (!cell) return false;
    QMenu* menu = cell->isEnabled() ? cell->createStandardContextMenu() : new QMenu(cell);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (cell->isEnabled()) menu->addSeparator();
    AddEntries(*menu, cell);
    menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
  }
  return false;
}

QLineEdit* RowCopy::InChosenRow(QLineEdit* cell) const {
  const std::int16_t row = form_.GetSelectedVariant();
  const auto first = cells_.begin() + form::CellIndex(row, 0);
  return std::find(first, first + form::ColumnCount, cell) != first + form::ColumnCount ? cell
                                                                                        : nullptr;
}

void RowCopy::AddEntries(QMenu& menu, QLineEdit* cell) {
  menu.addAction(u"Копиране на реда"_s, this, &RowCopy::CopyRow);
  // A computed cell's tool tip is its working from the moment Calculate writes the cell, and
  // empty while the cell is.
  if (!cell->isEnabled()) {
    QAction* working = menu.addAction(u"Копиране на изчислението"_s, cell, [cell] {
      QApplication::clipboard()->setText(cell->toolTip());
    });
    working->setEnabled(!cell->toolTip().isEmpty());
  }
}

void RowCopy::CopyRow() const {
  std::array<QString, form::ColumnCount> texts;
  const std::int16_t row = form_.GetSelectedVariant();
  for (int column = 0; column < form::ColumnCount; ++column) {
    texts[column] = cells_[form::CellIndex(row, column)]->text();
  }
  QApplication::clipboard()->setText(form::RowAsTable(texts));
}
