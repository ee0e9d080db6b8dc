#pragma once

#include <QComboBox>

namespace kamorin {

// An editable combo box whose list is entered from the item that matches the
// text shown, not from whichever item was last chosen: the text may have been
// typed or set by a handler since. With no matching item, Up and Down start at
// the first item.
class ComboField : public QComboBox
{
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    void showPopup() override;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    // The matching item's index, or -1.
    int selectShownItem();
};

} // namespace kamorin
