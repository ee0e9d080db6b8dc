#pragma once

#include "runtime/Platform.h"

#include <QString>

namespace kamorin {

// The platform without a display: the steady clock, and errors on stderr.
class CliPlatform : public Platform
{
public:
    double clockSeconds() override;
    void unloadForm(Form &form) override;
    void reportError(const RuntimeError &error) override;
};

} // namespace kamorin
