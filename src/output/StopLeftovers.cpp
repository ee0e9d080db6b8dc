#include "output/StopLeftovers.h"

#include <algorithm>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace kamorin {

namespace {

std::mutex leftoversLock;
std::vector<QByteArray> &leftovers()
{
    static std::vector<QByteArray> paths;
    return paths;
}

} // namespace

void removeIfStopped(const QByteArray &path)
{
    const std::lock_guard lock(leftoversLock);
    leftovers().push_back(path);
}

void noLongerRemoveIfStopped(const QByteArray &path)
{
    const std::lock_guard lock(leftoversLock);
    std::erase(leftovers(), path);
}

void removeWhatAStopLeaves()
{
    // A file renamed over its target a moment ago has no such name any more;
    // unlinking the name then removes nothing.
    const std::lock_guard lock(leftoversLock);
    for (const QByteArray &path : leftovers())
        ::unlink(path.constData());
}

} // namespace kamorin
