#include "window/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>

#include "form/failure_messages.h"
#include "window/accessibility.h"
#include "window/assignment_text.h"
#include "window/cell_edit.h"
#include "window/hamburger.xpm"
#include "window/main_window_layout.h"
#include "window/row_copy.h"
#include "window/window_widgets.h"

namespace {

using namespace Qt::StringLiterals;

QColor ToColor(layout::Rgb c) { return QColor(c.red, c.green, c.blue); }

QRect PixelRect(const layout::Place& p) {
  return QRect(layout::Px(p.left), layout::Px(p.top), layout::Px(p.width), layout::Px(p.height));
}

// Gives the `background` roles of `widget` the colour `colour`, and its `text` roles the colour
// of the window's own that stands out against it, in every colour group (as setColor without a
// group does), so that a disabled or inactive control shows the same colours as an active one.
// The desktop's text colour is not used on a fixed background: under a dark scheme it is light,
// and hardly seen there.
void SetColours(QWidget* widget, std::initializer_list<QPalette::ColorRole> background,
                std::initializer_list<QPalette::ColorRole> text, QColor colour) {
  QPalette palette = widget->palette();
  for (QPalette::ColorRole role : background) palette.setColor(role, colour);
  for (QPalette::ColorRole role : text) palette.setColor(role, TextColourOn(colour));
  widget->setPalette(palette);
}

QString ObjectName(const QString& array, int index) { return u"%1_%2"_s.arg(array).arg(index); }

// What a screen reader calls cell k: its quantity and variant as the column head and the option
// button show them, e.g. "r, Вариант 1", and for a computed cell that it is computed.
QString CellName(int k) {
  const QString name =
      u"%1, %2"_s.arg(form::QuantityNames[form::ColumnOf(k)], layout::OptionText(form::RowOf(k)));
  return form::IsGivenCell(k) ? name : name + u", изчислено"_s;
}

// A computed cell is written only by the program: never focused or typed into, pink with greyed
// bold text. The grey is set here rather than left to the platform style (Fusion's is all but
// invisible on the pink): lighter than the black of the given cells, yet 4.5 times as dark as
// the pink.
void MakeComputed(QLineEdit* cell) {
  cell->setEnabled(false);
  QFont bold = cell->font();
  bold.setBold(true);
  cell->setFont(bold);
  SetColours(cell, {QPalette::Base}, {}, ToColor(layout::ComputedCellColour));
  QPalette palette = cell->palette();
  palette.setColor(QPalette::Disabled, QPalette::Text, ToColor(layout::ComputedTextColour));
  cell->setPalette(palette);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent), form_(*this) {
  // Before any control exists, so that none is ever given Qt's own accessible interface.
  accessibility::InstallFactory();
  setObjectName(u"MainWindow"_s);
  // A title bar with icon, window menu and close box, but no minimise or maximise box, and a
  // fixed size: the layout is laid out to the pixel.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(layout::Px(layout::ClientWidth), layout::Px(layout::ClientHeight));
  setWindowTitle(QString::fromUtf8(FRUSTUM_WEB_ADDRESS) + layout::Caption);
  setWindowIcon(QIcon(QPixmap(hamburger_xpm)));
  setAutoFillBackground(true);
  SetColours(this, {QPalette::Window}, {}, ToColor(layout::WindowColour));
  // Every control inherits the window's font; only the computed cells have a bold one.
  setFont(QFont(layout::FontFamily, layout::FontPointSize));

  CreateLabels();
  CreateCells();
  CreateCommandButtons();
  CreateOptionFrame();
  CreateAssignment();
  SetTabOrder();
  row_copy_ = new RowCopy(*this, Text2_, form_);
  for (QLineEdit* cell : Text2_) cell->installEventFilter(row_copy_);
  Text1_->installEventFilter(row_copy_);
  CentreOnScreen();
  accessibility::AnnounceChanges(*this);

  // The caret starts in the assignment text, the first control in the tab order.
  Text1_->setFocus(Qt::OtherFocusReason);

  form_.Form_Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateLabels() {
  auto add = [this](int index, const layout::Place& place, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(ObjectName(u"Label1"_s, index));
    label->setGeometry(PixelRect(place));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setAutoFillBackground(true);
    SetColours(label, {QPalette::Window}, {QPalette::WindowText}, ToColor(layout::LabelColour));
  };
  add(0, layout::TitlePlace, layout::Title);
  for (int column = 0; column < form::ColumnCount; ++column) {
    add(column + 1, layout::HeadPlace(column), form::QuantityNames[column]);
  }
}

void MainWindow::CreateCells() {
  for (std::int16_t k : layout::CellStackingOrder()) {
    auto* cell = new CellEdit(this);
    cell->setObjectName(ObjectName(u"Text2"_s, k));
    cell->setGeometry(PixelRect(layout::CellPlace(k)));
    if (!form::IsGivenCell(k)) MakeComputed(cell);
    cell->setAccessibleName(CellName(k));
    // Inside the cell's outline, and clear of the strips that its right-hand neighbour and the
    // row below cover.
    cell->SetFocusRingInset(QMargins(1, 1, layout::Px(layout::CellWidth - layout::ColumnPitch),
                                     layout::Px(layout::CellHeight - layout::RowPitch)));
    // A value wider than its cell shows its start and "…", and a disabled cell cannot be
    // scrolled: the tool tip (shown by disabled widgets too) always offers the whole text.
    connect(cell, &QLineEdit::textChanged, cell, &QWidget::setToolTip);
    Text2_[k] = cell;
  }
}

void MainWindow::CreateCommandButtons() {
  for (std::int16_t i = 0; i < static_cast<std::int16_t>(std::size(layout::Commands)); ++i) {
    const layout::CommandControl& c = layout::Commands[i];
    auto* button = new FaceButton(c.text, ToColor(c.face), this);
    button->setObjectName(ObjectName(u"Command1"_s, i));
    button->setGeometry(PixelRect(c.place));
    SetColours(button, {}, {QPalette::ButtonText}, ToColor(c.face));
    connect(button, &QPushButton::clicked, this, [this, i] { PressCommand(i); });
    Command1_[i] = button;
  }
}

void MainWindow::CreateOptionFrame() {
  Frame1_ = new FrameBox(layout::FrameTitle, this);
  Frame1_->setObjectName(u"Frame1"_s);
  Frame1_->setGeometry(PixelRect(layout::FramePlace));
  SetColours(Frame1_, {QPalette::Window}, {QPalette::WindowText}, ToColor(layout::FrameColour));

  // One handler for the group: Qt raises idToggled for the button that is chosen and the one that
  // is not any more, whether the user or the program chose.
  auto* group = new QButtonGroup(this);
  for (std::int16_t i = 0; i < form::RowCount; ++i) {
    auto* option = new OptionButton(layout::OptionText(i), Frame1_);
    option->setObjectName(ObjectName(u"Option1"_s, i));
    option->setGeometry(PixelRect(layout::OptionPlace(i)));
    // A button's background is drawn with the Button role; the Window role is set as well for
    // the styles that use it.
    option->setAutoFillBackground(true);
    SetColours(option, {QPalette::Button, QPalette::Window}, {QPalette::WindowText},
               ToColor(layout::OptionColour));
    // Of the group only the chosen button is a Tab stop; the others take the focus by a click or
    // by the arrow keys.
    option->setFocusPolicy(Qt::ClickFocus);
    option->SetFocusRingInset(QMargins(0, 0, 0, layout::Px(layout::OptionOverlap)));
    group->addButton(option, i);
    Option1_[i] = option;
  }
  connect(group, &QButtonGroup::idToggled, this, [this](int id, bool chosen) {
    Option1_[id]->setFocusPolicy(chosen ? Qt::StrongFocus : Qt::ClickFocus);
    if (chosen) form_.Option1_Click(static_cast<std::int16_t>(id));
  });
}

void MainWindow::CreateAssignment() {
  Text1_ = new AssignmentBox(this);
  Text1_->setObjectName(ObjectName(u"Text1"_s, 0));
  Text1_->setGeometry(PixelRect(layout::AssignmentPlace));
  // The text is stored as the assignment was handed out, each line ending in CR LF (1159
  // characters, which the tests count); the box holds one line break for each, said here rather
  // than left to how the text document happens to read a CR.
  Text1_->setPlainText(QString(layout::AssignmentText).replace(u"\r\n"_s, u"\n"_s));
  Text1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Text1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Locked: no typing, but the caret, scrolling, selecting and copying all work, and Tab moves
  // on to the next control.
  Text1_->setReadOnly(true);
  Text1_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Text1_->setFocusPolicy(Qt::StrongFocus);
  Text1_->setTabChangesFocus(true);
  Text1_->setAccessibleName(u"Задание"_s);
}

void MainWindow::SetTabOrder() {
  // Labels and the frame never take the focus, so only the other controls are in the chain.
  QWidget* previous = nullptr;
  for (const layout::TabRun& run : layout::TabOrder) {
    const int step = run.last >= run.first ? 1 : -1;
    for (int i = run.first; i != run.last + step; i += step) {
      QWidget* control = nullptr;
      switch (run.array) {
        case layout::ControlArray::Text1:
          control = Text1_;
          break;
        case layout::ControlArray::Text2:
          control = Text2_[i];
          break;
        case layout::ControlArray::Command1:
          control = Command1_[i];
          break;
        case layout::ControlArray::Option1:
          control = Option1_[i];
          break;
        case layout::ControlArray::Label1:
        case layout::ControlArray::Frame1:
          break;
      }
      if (!control) continue;
      if (previous) QWidget::setTabOrder(previous, control);
      previous = control;
    }
  }
}

QRect CentredClientArea(const QRect& area, const QSize& size, const QMargins& frame) {
  const QSize whole = size.grownBy(frame);
  const QPoint frame_corner(area.x() + (area.width() - whole.width()) / 2,
                            area.y() + (area.height() - whole.height()) / 2);
  return QRect(frame_corner + QPoint(frame.left(), frame.top()), size);
}

void MainWindow::CentreOnScreen(const QMargins& frame) {
  if (const QScreen* shown_on = screen()) {
    setGeometry(CentredClientArea(shown_on->availableGeometry(), size(), frame));
  }
}

QString MainWindow::CellText(std::int16_t index) const { return Text2_[index]->text(); }

void MainWindow::SetCellText(std::int16_t index, const QString& text) {
  // Setting the same text again would still move the caret to the end and back to the start,
  // and so repaint the cell for nothing.
  // Either way, the tool tip is the text again (the working of a value is set after it).
  QLineEdit* cell = Text2_[index];
  if (cell->text() != text) {
    cell->setText(text);
  } else if (cell->toolTip() != text) {
    cell->setToolTip(text);
  }
}

void MainWindow::SetCellWorking(std::int16_t index, const QString& working) {
  Text2_[index]->setToolTip(working);
}

void MainWindow::SetCellLocked(std::int16_t index, bool locked) {
  Text2_[index]->setReadOnly(locked);
}

void MainWindow::ChooseOption(std::int16_t index) {
  // Raises Option1_Click through the toggled signal when the choice changes.
  Option1_[index]->setChecked(true);
}

void MainWindow::PressCommand(std::int16_t index) {
  QWidget* focus = QApplication::focusWidget();
  const form::CommandOutcome outcome = form_.Command1_Click(index);
  if (!outcome.Failed()) {
    if (index == 0) accessibility::AnnounceResults(*this, *this, GetSelectedVariant());
    return;
  }
  // Nothing was written: the grid is as it was. The user goes on in the cell the message names,
  // its text selected so that typing replaces it, or else from where they were.
  QMessageBox box(QMessageBox::Critical, form::FailureTitle, outcome.failure, QMessageBox::Ok,
                  this);
  box.exec();
  activateWindow();
  if (outcome.cell >= 0) {
    Text2_[outcome.cell]->FocusWithTextSelected();
  } else if (focus) {
    focus->setFocus(Qt::OtherFocusReason);
  }
}
