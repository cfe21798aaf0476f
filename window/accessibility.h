// What assistive technology (screen readers, AT-SPI clients) is told about the window and its
// text controls, and what it may change in them.
//
// Qt's own interfaces call the window a bare client area, report every line edit as editable and
// write into locked and disabled ones through the editable-text interface, and announce neither
// lock changes nor new values of the description. The window therefore brings its own:
// - the window is a frame;
// - a cell is editable only while it is enabled and not locked, and an assistive write into a
//   cell that is not changes nothing; the assignment text, always locked, offers no way to write;
// - a cell's description is its tool tip: its whole value (the cell may show only the start of
//   it), and for a computed value how it came about;
// - a change of a control's lock or enabled flag, and of a cell's description, is announced;
// - messages such as the computed values are spoken where the focus is, without moving it.
#pragma once

#include <cstdint>

namespace form {
class FormControls;
}
class QString;
class QWidget;

namespace accessibility {

// Installs, once per process, the factory that gives the calculator's window, its cells (the
// line edits) and its assignment text (the plain text box) their accessible interfaces. Must run
// before the window's controls are first shown or asked for their interfaces.
void InstallFactory();

// Announces from now on every change of the lock and enabled flags of `window`'s line edits and
// plain text boxes, and every change of a line edit's description.
void AnnounceChanges(QWidget& window);

// Says `message` to a screen reader now, wherever the keyboard focus is, without moving it.
void Announce(QWidget& window, const QString& message);

// Says what the calculation just wrote: the computed values of row `row` of `window`'s cells
// (`controls`), each after its column head, "L = 31,623; So = 2 980,376; V = 21 991,149".
void AnnounceResults(QWidget& window, const form::FormControls& controls, std::int16_t row);

}  // namespace accessibility
