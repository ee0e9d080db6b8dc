#include "gui/ComboField.h"

#include "gui/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace kamorin {

void ComboField::showPopup()
{
    selectShownItem();
    // Named only now: an interface made for the hidden list as the window
    // is built keeps Qt's bridge from telling a screen reader of the window.
    view()->setAccessibleName(accessibleName());
    QComboBox::showPopup();
    // The list takes the focus without a word of the item shown, which Qt
    // tells only when the arrows move; a screen reader hears it here.
    QAbstractItemView *list = view();
    const QModelIndex shown = list->currentIndex();
    if (shown.isValid() && QAccessible::isActive()) {
        QAccessibleEvent focus(list, QAccessible::Focus);
        // A list's cells are its children by row.
        focus.setChild(shown.row());
        QAccessible::updateAccessibility(&focus);
    }
}

// The text is selected as the focus comes; a screen reader hears the field
// and its text from the focus.
void ComboField::focusInEvent(QFocusEvent *event)
{
    const CaretMovesUntold untold;
    QComboBox::focusInEvent(event);
}

void ComboField::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        // From a text that no item matches, Up also starts at the first item.
        if (selectShownItem() < 0 && count() > 0 && !(event->modifiers() & Qt::AltModifier)) {
            setCurrentIndex(0);
            event->accept();
            return;
        }
        break;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        selectShownItem();
        break;
    default:
        break;
    }
    QComboBox::keyPressEvent(event);
}

void ComboField::wheelEvent(QWheelEvent *event)
{
    selectShownItem();
    QComboBox::wheelEvent(event);
}

int ComboField::selectShownItem()
{
    const QString shown = currentText();
    const int match = findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (match == currentIndex())
        return match;
    // Choosing an item, or none, rewrites the text; it is put back as it was,
    // and nobody is told of a text that did not really change.
    const QSignalBlocker quiet(this);
    const QSignalBlocker quietEdit(lineEdit());
    setCurrentIndex(match);
    if (lineEdit()->text() != shown)
        lineEdit()->setText(shown);
    return match;
}

} // namespace kamorin
