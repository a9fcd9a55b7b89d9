#pragma once

#include "platform/platform.h"

// Hands a target to the desktop, which opens it with the program associated with it.
class QtShellOpener : public ShellOpener {
public:
    void open(const QString& target) override;
};
