#pragma once

namespace kamorin {

class RuntimeError;

// A window the platform can show and unload.
class Form
{
public:
    virtual ~Form() = default;
};

// What the handlers need from the desktop (or from a stand-in without one).
// The window implements it with Qt; tests and kamorin-cli with small
// in-memory versions.
class Platform
{
public:
    virtual ~Platform() = default;

    // Seconds on a monotonic clock: only the difference of two readings
    // means anything, and it never goes backwards.
    virtual double clockSeconds() = 0;

    // The window is destroyed; the program ends when no form is left.
    virtual void unloadForm(Form &form) = 0;

    // Tells the user about an error that ended a handler.
    virtual void reportError(const RuntimeError &error) = 0;
};

} // namespace kamorin
