#pragma once

#include "benchmark/BenchmarkResult.h"

#include <QString>

namespace kamorin {

// An error that ended a step of a session, as a kind with its figures; the
// fronts word the session's own findings, a runtime error keeps its number
// and the runtime's message.
struct SessionError
{
    enum class Kind
    {
        Runtime,
        // A parallel copy reached another value than the one-thread run.
        ValuesDisagree,
        // A rank needs one loop or more.
        RankNeedsALoop,
        // So does a result to save or to report.
        KeepNeedsALoop,
    };
    // The plan's text the failed step read, so that its message can name it.
    enum class Step
    {
        Other,
        Count,
        Machine,
    };
    Kind kind = Kind::Runtime;
    Step step = Step::Other;
    RunError runtime;
    // ValuesDisagree: the copy (from 1), its value and the one-thread value.
    int copy = 0;
    QString value;
    QString expected;

    static SessionError ofRuntime(RunError error, Step step = Step::Other)
    {
        SessionError e;
        e.step = step;
        e.runtime = std::move(error);
        return e;
    }
    static SessionError ofKind(Kind kind)
    {
        SessionError e;
        e.kind = kind;
        return e;
    }
};

} // namespace kamorin
