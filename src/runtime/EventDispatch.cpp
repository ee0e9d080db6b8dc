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
        platform.reportError(error);
        return false;
    }
}

} // namespace kamorin
