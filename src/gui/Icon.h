#pragma once

#include <QIcon>

namespace kamorin {

// The crying face with a π for a mouth, at every size it was rendered in.
QIcon programIcon();

} // namespace kamorin
