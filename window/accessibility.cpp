#include "window/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>

namespace accessibility {
namespace {

using namespace Qt::StringLiterals;

// What the cells and the assignment text answer alike: their whole text through the text
// interface, and states that call them editable exactly while the user could type into them. Each
// kind of control gives its own caret, selection and character geometry.
class TextControlInterface : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit TextControlInterface(QWidget* control)
      : QAccessibleWidget(control, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = Open();
    state.readOnly = !Open();
    state.selectableText = true;
    return state;
  }

  QString text(QAccessible::Text kind) const override {
    return kind == QAccessible::Value ? Value() : QAccessibleWidget::text(kind);
  }

  // QAccessibleTextInterface. Assistive technology hands in offsets of its own; they are kept
  // inside the text.
  QString text(int start, int end) const override {
    const QString value = Value();
    start = std::clamp(start, 0, static_cast<int>(value.size()));
    end = std::clamp(end, 0, static_cast<int>(value.size()));
    return value.mid(start, std::max(0, end - start));
  }
  int characterCount() const override { return static_cast<int>(Value().size()); }
  void selection(int index, int* start, int* end) const override {
    const Span selected = index == 0 ? Selected() : Span{};
    *start = selected.start;
    *end = selected.end;
  }
  int selectionCount() const override { return Selected().start != Selected().end ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (index == 0) Deselect();
  }
  void setSelection(int index, int start, int end) override {
    if (index != 0) return;
    const int length = characterCount();
    Select(std::clamp(start, 0, length), std::clamp(end, 0, length));
  }

 protected:
  struct Span {
    int start = 0;
    int end = 0;
  };

  // Only what the user could type into may be changed by assistive technology either.
  bool Open() const { return widget()->isEnabled() && !ReadOnly(); }

  virtual QString Value() const = 0;
  virtual bool ReadOnly() const = 0;
  // The selected part of the text; empty at 0 when nothing is selected.
  virtual Span Selected() const = 0;
  // Selects from `start` to `end`, both inside the text; `end` may lie before `start`.
  virtual void Select(int start, int end) = 0;
  virtual void Deselect() = 0;
};

// A cell of the grid: its description is its whole value too, and it can be written where the
// user could type.
class CellInterface : public TextControlInterface, public QAccessibleEditableTextInterface {
 public:
  explicit CellInterface(QLineEdit* cell) : TextControlInterface(cell) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::EditableTextInterface) {
      return static_cast<QAccessibleEditableTextInterface*>(this);
    }
    return TextControlInterface::interface_cast(type);
  }

  using TextControlInterface::text;
  QString text(QAccessible::Text kind) const override {
    // The cell's tool tip: the whole value, which a narrow cell may show only in part, and for a
    // computed value how it came about.
    return kind == QAccessible::Description ? Cell()->toolTip() : TextControlInterface::text(kind);
  }

  void setText(QAccessible::Text kind, const QString& text) override {
    if (kind != QAccessible::Value) {
      QAccessibleWidget::setText(kind, text);
    } else if (Open()) {
      Cell()->setText(text);
    }
  }

  int cursorPosition() const override { return Cell()->cursorPosition(); }
  void setCursorPosition(int position) override { Cell()->setCursorPosition(position); }
  QRect characterRect(int offset) const override {
    // Measured from the caret, which the line edit reports where it draws it.
    const QString value = Value();
    offset = std::clamp(offset, 0, static_cast<int>(value.size()));
    const int caret = Cell()->cursorPosition();
    const QRect caret_rect = Cell()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QFontMetrics metrics = Cell()->fontMetrics();
    const int x = caret_rect.center().x() + metrics.horizontalAdvance(value.left(offset)) -
                  metrics.horizontalAdvance(value.left(caret));
    const int width = offset < value.size() ? metrics.horizontalAdvance(value[offset]) : 0;
    const int top = caret_rect.center().y() - metrics.height() / 2;
    const QRect rect(x, top, width, metrics.height());
    return QRect(Cell()->mapToGlobal(rect.topLeft()), rect.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint local = Cell()->mapFromGlobal(point);
    return Cell()->rect().contains(local) ? Cell()->cursorPositionAt(local) : -1;
  }
  void scrollToSubstring(int start, int end) override {
    const int length = characterCount();
    Cell()->setCursorPosition(std::clamp(end, 0, length));
    Cell()->setCursorPosition(std::clamp(start, 0, length));
  }
  QString attributes(int, int* start, int* end) const override {
    // No run of the text differs from the rest.
    *start = 0;
    *end = characterCount();
    return QString();
  }

  // QAccessibleEditableTextInterface: as though the user typed, and only where they could.
  void deleteText(int start, int end) override { replaceText(start, end, QString()); }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int start, int end, const QString& text) override {
    if (!Open()) return;
    const int length = characterCount();
    start = std::clamp(start, 0, length);
    end = std::max(start, std::clamp(end, 0, length));
    // The new text is put together here rather than through the selection and the caret: a
    // cell the user is not editing keeps its caret at the start, so that it shows the start of
    // its value, and would move an insertion there.
    QString changed = Value();
    changed.replace(start, end - start, text);
    Cell()->setText(changed);
    Cell()->setCursorPosition(start + static_cast<int>(text.size()));
  }

 protected:
  QString Value() const override { return Cell()->text(); }
  bool ReadOnly() const override { return Cell()->isReadOnly(); }
  Span Selected() const override {
    if (!Cell()->hasSelectedText()) return {};
    return {Cell()->selectionStart(), Cell()->selectionEnd()};
  }
  void Select(int start, int end) override { Cell()->setSelection(start, end - start); }
  void Deselect() override { Cell()->deselect(); }

 private:
  QLineEdit* Cell() const { return static_cast<QLineEdit*>(widget()); }
};

// The assignment text: read and selected, never written, as it is always locked.
class AssignmentInterface : public TextControlInterface {
 public:
  explicit AssignmentInterface(QPlainTextEdit* box) : TextControlInterface(box) {}

  QAccessible::State state() const override {
    QAccessible::State state = TextControlInterface::state();
    state.multiLine = true;
    return state;
  }

  int cursorPosition() const override { return Box()->textCursor().position(); }
  void setCursorPosition(int position) override {
    QTextCursor cursor = Box()->textCursor();
    cursor.setPosition(std::clamp(position, 0, characterCount()));
    Box()->setTextCursor(cursor);
  }
  QRect characterRect(int offset) const override {
    QTextCursor cursor(Box()->document());
    cursor.setPosition(std::clamp(offset, 0, characterCount()));
    const QRect caret = Box()->cursorRect(cursor);
    const QString value = Value();
    const int width = offset >= 0 && offset < value.size() && value[offset] != u'\n'
                          ? Box()->fontMetrics().horizontalAdvance(value[offset])
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
    return u"font-family:\"%1\";font-size:%2pt;font-weight:%3;font-style:%4;"
           u"text-position:baseline;text-align:left;"_s.arg(font.family())
               .arg(font.pointSize())
               .arg(font.bold() ? u"bold"_s : u"normal"_s)
               .arg(font.italic() ? u"italic"_s : u"normal"_s);
  }

 protected:
  QString Value() const override { return Box()->toPlainText(); }
  bool ReadOnly() const override { return Box()->isReadOnly(); }
  Span Selected() const override {
    const QTextCursor cursor = Box()->textCursor();
    if (!cursor.hasSelection()) return {};
    return {cursor.selectionStart(), cursor.selectionEnd()};
  }
  void Select(int start, int end) override {
    QTextCursor cursor = Box()->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    Box()->setTextCursor(cursor);
  }
  void Deselect() override {
    QTextCursor cursor = Box()->textCursor();
    cursor.clearSelection();
    Box()->setTextCursor(cursor);
  }

 private:
  QPlainTextEdit* Box() const { return static_cast<QPlainTextEdit*>(widget()); }
};

// The calculator's window is told by its class, MainWindow, whose name is fixed; naming it here
// keeps this file free of the window's header, which includes this one's.
constexpr char WindowClass[] = "MainWindow";

bool InCalculatorWindow(const QWidget* widget) {
  return qstrcmp(widget->window()->metaObject()->className(), WindowClass) == 0;
}

// Asked by Qt for every class of an object, most derived first, before Qt's own interfaces; a
// cell class derived from QLineEdit is therefore served as a QLineEdit.
QAccessibleInterface* CreateInterface(const QString& class_name, QObject* object) {
  if (class_name == QLatin1StringView(WindowClass)) {
    if (object->isWidgetType()) {
      return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
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
      case QEvent::ToolTipChange:
        // A cell's description is its tool tip: its whole value, or a computed value's working.
        if (QAccessible::isActive()) {
          QAccessibleEvent changed_description(watched, QAccessible::DescriptionChanged);
          QAccessible::updateAccessibility(&changed_description);
        }
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
    // A new line edit has reported no caret position yet, and reports its first one as a caret
    // move when it first takes the focus, before the focus itself. A screen reader then takes the
    // cell for focused already and drops the focus report as a repeat: on the first round of Tab
    // every cell would be passed in silence. The caret reported once now, before the window is
    // shown, moves nothing that anyone hears.
    cell->setCursorPosition(cell->cursorPosition());
    cell->installEventFilter(announcer);
  }
  for (QPlainTextEdit* box : window.findChildren<QPlainTextEdit*>()) {
    box->installEventFilter(announcer);
  }
}

}  // namespace accessibility
