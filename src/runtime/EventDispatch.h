#pragma once

#include <functional>

namespace kamorin {

class Platform;

// Runs one event handler. A runtime error ends only that handler: the
// platform reports it and the program goes on with everything it showed.
// Returns whether the handler ran to its end.
bool dispatch(Platform &platform, const std::function<void()> &handler);

} // namespace kamorin
