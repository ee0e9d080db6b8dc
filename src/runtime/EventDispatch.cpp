#include "runtime/EventDispatch.h"

#include "runtime/Platform.h"
#include "runtime/RuntimeError.h"

namespace kamorin {

bool dispatch(Platform &platform, const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const RuntimeError &error) {
        platform.showError(error);
        return false;
    }
}

bool dispatchPress(Platform &platform, Form &form, const std::function<void()> &handler)
{
    if (form.pressRunning())
        return false;
    form.setPressRunning(true);
    const std::function<void()> restore = form.snapshot();
    try {
        handler();
        form.setPressRunning(false);
        return true;
    } catch (const RuntimeError &error) {
        form.setPressRunning(false);
        if (error.number() == ErrorNumber::Cancelled) {
            restore();
            platform.noteStop(error);
        } else {
            platform.showError(error);
        }
        return false;
    } catch (...) {
        form.setPressRunning(false);
        throw;
    }
}

} // namespace kamorin
