// What a screen reader is told to say, wherever the keyboard focus is: the computed values after
// a calculation.
#include <QAccessible>
#include <QAccessibleObject>
#include <QApplication>
#include <QStringList>
#include <QWidget>

#include "form/form_controls.h"
#include "form/grid.h"
#include "window/accessibility.h"

namespace accessibility {
namespace {

using namespace Qt::StringLiterals;

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// Qt before 6.8 has no announcement event, and its AT-SPI bridge passes a changed name or
// description on without the new text, which Orca cannot speak. What screen readers do speak
// at once, wherever the focus is, is a notification that shows: the window keeps one, seen by
// assistive technology alone, and shows it again with each message.
class Notice : public QObject {
 public:
  static inline const QString Name = u"accessibility_notice"_s;

  explicit Notice(QWidget* window) : QObject(window), window_(window) { setObjectName(Name); }

  void Show(const QString& message) {
    message_ = message;
    QAccessibleEvent event(Interface(), QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&event);
  }

 private:
  class NoticeInterface : public QAccessibleObject {
   public:
    explicit NoticeInterface(Notice* notice) : QAccessibleObject(notice), notice_(notice) {}
    QAccessibleInterface* parent() const override {
      return QAccessible::queryAccessibleInterface(notice_->window_);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text kind) const override {
      return kind == QAccessible::Name ? notice_->message_ : QString();
    }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }

   private:
    Notice* notice_;
  };

  QAccessibleInterface* Interface() {
    if (!interface_) {
      interface_ = new NoticeInterface(this);
      QAccessible::registerAccessibleInterface(interface_);
    }
    return interface_;
  }

  QWidget* window_;
  QString message_;
  QAccessibleInterface* interface_ = nullptr;  // owned by Qt's accessibility cache
};
#endif

}  // namespace

void Announce(QWidget& window, const QString& message) {
  if (!QAccessible::isActive() || message.isEmpty()) return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  QWidget* focus = QApplication::focusWidget();
  QAccessibleAnnouncementEvent event(focus ? static_cast<QObject*>(focus) : &window, message);
  QAccessible::updateAccessibility(&event);
#else
  // Found by its name: the class has no meta-object of its own to find it by.
  auto* notice =
      dynamic_cast<Notice*>(window.findChild<QObject*>(Notice::Name, Qt::FindDirectChildrenOnly));
  if (!notice) notice = new Notice(&window);
  notice->Show(message);
#endif
}

void AnnounceResults(QWidget& window, const form::FormControls& controls, std::int16_t row) {
  QStringList values;
  for (int column = 0; column < form::ColumnCount; ++column) {
    const auto k = static_cast<std::int16_t>(form::CellIndex(row, column));
    if (form::IsGivenCell(k)) continue;
    values << u"%1 = %2"_s.arg(form::QuantityNames[column], controls.CellText(k));
  }
  Announce(window, values.join(u"; "_s));
}

}  // namespace accessibility
