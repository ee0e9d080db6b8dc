#pragma once

#include <functional>

namespace kamorin {

class Form;
class Platform;

// Runs one event handler. A runtime error ends only that handler: the
// platform reports it and the program goes on with everything it showed.
// Returns whether the handler ran to its end.
bool dispatch(Platform &platform, const std::function<void()> &handler);

// Runs the handler of a press on one of `form`'s buttons. A stop that the
// user asked for is no error: the form is put back exactly as it was before
// the press, and the platform only hears that the run was stopped. Other
// errors end the handler as dispatch() says. A press that comes while
// another press on the same form is still being handled is not taken, since
// it would write into the fields of a handler that has not ended.
bool dispatchPress(Platform &platform, Form &form, const std::function<void()> &handler);

} // namespace kamorin
