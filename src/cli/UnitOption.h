#pragma once

#include <QString>

#include <optional>

namespace kamorin {

// The unit --unit names: one of the window's five, as Combo5 lists it, for
// its own name or for an ASCII name of its multiplier ("1k", "1e8"), which a
// keyboard without Japanese input can type. None for any other text: unlike
// the window, which counts it as 回, the command line refuses it, since a
// silently smaller workload is a wrong result.
std::optional<QString> loopUnitOfOption(const QString &typed);

// Every name --unit takes, unit by unit, as a refusal lists them:
// "回 (1), 百回 (100), 千回 (1k, 1000), …".
QString loopUnitOptionNames();

// One line a unit for --help, each starting at `column`: the unit, its ASCII
// names and its multiplier.
QString loopUnitOptionHelp(qsizetype column);

} // namespace kamorin
