#pragma once

#include <QAccessible>
#include <QString>
#include <vector>

class QLabel;
class QWidget;

// What a screen reader says of a window's controls is what a sighted person reads there. Qt already names a
// button, check box, group box or label by its caption and an edit, list or grid by the label whose buddy it is,
// and follows every change of those texts; those names are left to Qt. Named here, and kept following their texts,
// are only what Qt cannot name so:
// - a control named by a text broken over lines ("Daten-\nbank ein, ..."), which is read as one sentence, also when
//   the program sets such a text later (the progress window's running text);
// - a control named by a label that is not its sibling (Qt looks for the buddy among the siblings only), and a
//   list or grid (Qt does not look for its buddy at all);
// - a list, grid or text view alone on a tab page without label, by the tab's title; a progress bar by its buddy label;
// - a page, by its heading (the tab's title on a tab page, otherwise the page's first bold label); a page without
//   either carries its name in the window's description (a translated window text, see TranslateWindow);
// - a window without caption, by its heading in the same way;
// - a control's description: a label whose buddy carries a caption of its own (a hint beside a check box)
//   describes that control instead of naming it.
// A name set by hand to the control's object name counts as no name. Top-level windows that are plain widgets
// reach the accessibility bus as frames, dialogs as dialogs, plain panels inside a window as panels.
namespace platform {

// A text as it is read: without the "&" of access keys, rich text as plain text, lines joined into one sentence
// (a word broken with a hyphen at a line's end is joined without it, a name whose next part starts with a capital keeps
// its hyphen), blanks simplified.
QString ReadText(const QString& text);

// The label that names a control in the window (its buddy), nullptr when none does.
QLabel* BuddyLabelOf(const QWidget* control);

// Whether a control takes input and so is named by a label rather than by a caption of its own.
bool IsInputControl(const QWidget* widget);

// A page's or caption-less window's heading: its first bold label; nullptr when it has none.
QLabel* HeadingOf(const QWidget* page);

// The name a person reads for the widget, as described above; empty when no visible text names it.
QString ReadName(const QWidget* widget);

// Names the window's controls, pages and the window itself as described above and keeps those names following
// their texts. Called by TranslateWindow; calling it again takes in controls made since.
void NameAccessibly(QWidget* window);

// One object as the accessibility bus sees it, reached from its window through the accessible interfaces.
struct AccessibleNode {
    int depth = 0;
    QObject* object = nullptr;
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    QString description;
    bool invisible = false;
};
std::vector<AccessibleNode> AccessibleTree(QWidget* window);
QString RoleName(QAccessible::Role role);

}  // namespace platform
