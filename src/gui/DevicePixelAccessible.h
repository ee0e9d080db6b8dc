#pragma once

class QWidget;

namespace kamorin {

// Tells assistive technology every widget's geometry in the display's pixels.
// Qt 6.4 reports the positions and sizes it lays widgets out in; at a scale
// factor other than 1 a screen reader's highlight or a magnifier would miss
// each control by that factor. Each widget's accessible interface, as Qt or
// this program makes it, is wrapped as the widget is first polished.
void reportGeometryInDevicePixels();

// While `refused`, every control of `window` tells assistive technology that
// asks that it is switched off and read-only, and refuses its edits and
// actions.
void refuseAssistiveInput(QWidget *window, bool refused);

} // namespace kamorin
