#include "window/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>

#include "window/main_window.h"

namespace accessibility {
namespace {

// Only what the user could type into may be changed by assistive technology either.
bool IsOpen(const QWidget* control, bool read_only) { return control->isEnabled() && !read_only; }

// Assistive technology hands in offsets of its own; they are kept inside the text.
int Clamp(int offset, int length) { return std::clamp(offset, 0, length); }

// The part the editable states share: editable exactly while the user could type.
QAccessible::State WithOpenness(QAccessible::State state, bool open) {
  state.editable = open;
  state.readOnly = !open;
  state.selectableText = true;
  return state;
}

// A cell of the grid.
class CellInterface : public QAccessibleWidget,
                      public QAccessibleTextInterface,
                      public QAccessibleEditableTextInterface {
 public:
  explicit CellInterface(QLineEdit* cell) : QAccessibleWidget(cell, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface) {
      return static_cast<QAccessibleEditableTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessible::State state() const override {
    return WithOpenness(QAccessibleWidget::state(), Open());
  }

  QString text(QAccessible::Text kind) const override {
    switch (kind) {
      case QAccessible::Value:
        return Value();
      case QAccessible::Description:
        // The whole value, which a narrow cell may show only in part.
        if (!Cell()->accessibleDescription().isEmpty()) return Cell()->accessibleDescription();
        return Value();
      default:
        return QAccessibleWidget::text(kind);
    }
  }

  void setText(QAccessible::Text kind, const QString& text) override {
    if (kind != QAccessible::Value) {
      QAccessibleWidget::setText(kind, text);
    } else if (Open()) {
      Cell()->setText(text);
    }
  }

  // QAccessibleTextInterface
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || !Cell()->hasSelectedText()) return;
    *start = Cell()->selectionStart();
    *end = Cell()->selectionEnd();
  }
  int selectionCount() const override { return Cell()->hasSelectedText() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (index == 0) Cell()->deselect();
  }
  void setSelection(int index, int start, int end) override {
    if (index != 0) return;
    const int length = Value().size();
    start = Clamp(start, length);
    end = Clamp(end, length);
    Cell()->setSelection(start, end - start);
  }
  int cursorPosition() const override { return Cell()->cursorPosition(); }
  void setCursorPosition(int position) override { Cell()->setCursorPosition(position); }
  QString text(int start, int end) const override {
    const QString value = Value();
    start = Clamp(start, value.size());
    end = Clamp(end, value.size());
    return value.mid(start, std::max(0, end - start));
  }
  int characterCount() const override { return Value().size(); }
  QRect characterRect(int offset) const override {
    // Measured from the caret, which the line edit reports where it draws it.
    const QString value = Cell()->displayText();
    offset = Clamp(offset, value.size());
    const int caret = Cell()->cursorPosition();
    const QRect caret_rect = Cell()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QFontMetrics metrics = Cell()->fontMetrics();
    const int x = caret_rect.center().x() + metrics.horizontalAdvance(value.left(offset)) -
                  metrics.horizontalAdvance(value.left(caret));
    const int width = offset < value.size() ? metrics.horizontalAdvance(value.at(offset)) : 0;
    const int top = caret_rect.center().y() - metrics.height() / 2;
    const QRect rect(x, top, width, metrics.height());
    return QRect(Cell()->mapToGlobal(rect.topLeft()), rect.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint local = Cell()->mapFromGlobal(point);
    return Cell()->rect().contains(local) ? Cell()->cursorPositionAt(local) : -1;
  }
  void scrollToSubstring(int start, int end) override {
    const int length = Value().size();
    Cell()->setCursorPosition(Clamp(end, length));
    Cell()->setCursorPosition(Clamp(start, length));
  }
  QString attributes(int, int* start, int* end) const override {
    // No run of the text differs from the rest.
    *start = 0;
    *end = Value().size();
    return QString();
  }

  // QAccessibleEditableTextInterface: as though the user typed, and only where they could.
  void deleteText(int start, int end) override { replaceText(start, end, QString()); }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int start, int end, const QString& text) override {
    if (!Open()) return;
    const int length = Cell()->text().size();
    start = Clamp(start, length);
    end = std::max(start, Clamp(end, length));
    // The new text is put together here rather than through the selection and the caret: a
    // cell the user is not editing keeps its caret at the start, so that it shows the start of
    // its value, and would move an insertion there.
    QString changed = Cell()->text();
    changed.replace(start, end - start, text);
    Cell()->setText(changed);
    Cell()->setCursorPosition(start + static_cast<int>(text.size()));
  }

 private:
  QLineEdit* Cell() const { return static_cast<QLineEdit*>(widget()); }
  bool Open() const { return IsOpen(Cell(), Cell()->isReadOnly()); }
  QString Value() const {
    return Cell()->echoMode() == QLineEdit::Normal ? Cell()->text() : Cell()->displayText();
  }
};

// The assignment text: read and selected, never written.
class AssignmentInterface : public QAccessibleWidget,
                            public QAccessibleTextInterface,
                            public QAccessibleEditableTextInterface {
 public:
  explicit AssignmentInterface(QPlainTextEdit* box)
      : QAccessibleWidget(box, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface) {
      return static_cast<QAccessibleEditableTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessible::State state() const override {
    QAccessible::State state = WithOpenness(QAccessibleWidget::state(), Open());
    state.multiLine = true;
    return state;
  }

  QString text(QAccessible::Text kind) const override {
    return kind == QAccessible::Value ? Box()->toPlainText() : QAccessibleWidget::text(kind);
  }

  void setText(QAccessible::Text kind, const QString& text) override {
    if (kind != QAccessible::Value) {
      QAccessibleWidget::setText(kind, text);
    } else if (Open()) {
      Box()->setPlainText(text);
    }
  }

  // QAccessibleTextInterface
  void selection(int index, int* start, int* end) const override {
    const QTextCursor cursor = Box()->textCursor();
    *start = *end = 0;
    if (index != 0 || !cursor.hasSelection()) return;
    *start = cursor.selectionStart();
    *end = cursor.selectionEnd();
  }
  int selectionCount() const override { return Box()->textCursor().hasSelection() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (index != 0) return;
    QTextCursor cursor = Box()->textCursor();
    cursor.clearSelection();
    Box()->setTextCursor(cursor);
  }
  void setSelection(int index, int start, int end) override {
    if (index != 0) return;
    QTextCursor cursor = Box()->textCursor();
    cursor.setPosition(Clamp(start, characterCount()));
    cursor.setPosition(Clamp(end, characterCount()), QTextCursor::KeepAnchor);
    Box()->setTextCursor(cursor);
  }
  int cursorPosition() const override { return Box()->textCursor().position(); }
  void setCursorPosition(int position) override {
    QTextCursor cursor = Box()->textCursor();
    cursor.setPosition(Clamp(position, characterCount()));
    Box()->setTextCursor(cursor);
  }
  QString text(int start, int end) const override {
    const QString value = Box()->toPlainText();
    start = Clamp(start, value.size());
    end = Clamp(end, value.size());
    return value.mid(start, std::max(0, end - start));
  }
  int characterCount() const override { return Box()->toPlainText().size(); }
  QRect characterRect(int offset) const override {
    QTextCursor cursor(Box()->document());
    cursor.setPosition(Clamp(offset, characterCount()));
    const QRect caret = Box()->cursorRect(cursor);
    const QString value = Box()->toPlainText();
    const int width = offset >= 0 && offset < value.size() && value.at(offset) != u'\n'
                          ? Box()->fontMetrics().horizontalAdvance(value.at(offset))
                          : 0;
    const QRect rect(caret.center().x(), caret.top(), width, caret.height());
    return QRect(Box()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint local = Box()->viewport()->mapFromGlobal(point);
    if (!Box()->viewport()->rect().contains(local)) return -1;
    return Box()->cursorForPosition(local).position();
  }
  void scrollToSubstring(int start, int end) override {
    setSelection(0, start, end);
    Box()->ensureCursorVisible();
  }
  QString attributes(int, int* start, int* end) const override {
    // One font for the whole text.
    *start = 0;
    *end = characterCount();
    const QFont font = Box()->font();
    return QStringLiteral(
               "font-family:\"%1\";font-size:%2pt;font-weight:%3;font-style:%4;"
               "text-position:baseline;text-align:left;")
        .arg(font.family())
        .arg(font.pointSize())
        .arg(font.bold() ? QStringLiteral("bold") : QStringLiteral("normal"))
        .arg(font.italic() ? QStringLiteral("italic") : QStringLiteral("normal"));
  }

  // QAccessibleEditableTextInterface: only while the box could be typed into.
  void deleteText(int start, int end) override { replaceText(start, end, QString()); }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int start, int end, const QString& text) override {
    if (!Open()) return;
    QTextCursor cursor(Box()->document());
    cursor.setPosition(Clamp(start, characterCount()));
    cursor.setPosition(std::max(cursor.position(), Clamp(end, characterCount())),
                       QTextCursor::KeepAnchor);
    cursor.insertText(text);
  }

 private:
  QPlainTextEdit* Box() const { return static_cast<QPlainTextEdit*>(widget()); }
  bool Open() const { return IsOpen(Box(), Box()->isReadOnly()); }
};

bool InCalculatorWindow(const QWidget* widget) {
  return qobject_cast<const MainWindow*>(widget->window()) != nullptr;
}

// Asked by Qt for every class of an object, most derived first, before Qt's own interfaces; a
// cell class derived from QLineEdit is therefore served as a QLineEdit.
QAccessibleInterface* CreateInterface(const QString& class_name, QObject* object) {
  if (class_name == QLatin1StringView(MainWindow::staticMetaObject.className())) {
    if (auto* window = qobject_cast<MainWindow*>(object)) {
      return new QAccessibleWidget(window, QAccessible::Window);
    }
  } else if (class_name == QLatin1StringView(QLineEdit::staticMetaObject.className())) {
    auto* cell = qobject_cast<QLineEdit*>(object);
    if (cell && InCalculatorWindow(cell)) return new CellInterface(cell);
  } else if (class_name == QLatin1StringView(QPlainTextEdit::staticMetaObject.className())) {
    auto* box = qobject_cast<QPlainTextEdit*>(object);
    if (box && InCalculatorWindow(box)) return new AssignmentInterface(box);
  }
  return nullptr;
}

void AnnounceState(QObject* control, QAccessible::State changed) {
  if (!QAccessible::isActive()) return;
  QAccessibleStateChangeEvent event(control, changed);
  QAccessible::updateAccessibility(&event);
}

// Qt sends the lock (read-only) and enabled changes to the control itself, but tells no
// assistive technology; this passes them on.
class ChangeAnnouncer : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    QAccessible::State changed;
    switch (event->type()) {
      case QEvent::ReadOnlyChange:
        changed.readOnly = true;
        changed.editable = true;
        AnnounceState(watched, changed);
        break;
      case QEvent::EnabledChange:
        changed.disabled = true;
        changed.readOnly = true;
        changed.editable = true;
        AnnounceState(watched, changed);
        break;
      default:
        break;
    }
    return false;
  }
};

}  // namespace

void InstallFactory() {
  static const bool installed = [] {
    QAccessible::installFactory(CreateInterface);
    return true;
  }();
  Q_UNUSED(installed);
}

void AnnounceChanges(QWidget& window) {
  auto* announcer = new ChangeAnnouncer(&window);
  for (QLineEdit* cell : window.findChildren<QLineEdit*>()) {
    cell->installEventFilter(announcer);
    QObject::connect(cell, &QLineEdit::textChanged, announcer, [cell] {
      if (!QAccessible::isActive()) return;
      QAccessibleEvent event(cell, QAccessible::DescriptionChanged);
      QAccessible::updateAccessibility(&event);
    });
  }
  for (QPlainTextEdit* box : window.findChildren<QPlainTextEdit*>()) {
    box->installEventFilter(announcer);
  }
}

}  // namespace accessibility
