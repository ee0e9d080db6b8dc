#pragma once

#include <optional>

namespace kamorin {

// The program's entry in a task bar or dock (KDE Plasma, GNOME's docks,
// Unity): a run's progress, told over the session bus in the freedesktop
// launcher-entry signal, so a user who switched away still sees it. Without
// a session bus nothing is sent and nothing fails.
class LauncherEntry
{
public:
    // 0 … 1; none takes the progress off the entry.
    void showProgress(std::optional<double> fraction);

private:
    // What was last sent: a whole percent more, not every tick.
    std::optional<int> m_shownPercent;
};

} // namespace kamorin
