// The update job: installs a downloaded package after both programs have stopped.
#pragma once

#include <string>

class UpdateJob
{
public:
    // Validates the package path, stages the package, writes the job script and
    // schedules it. Returns false, and runs nothing, when the package is refused.
    // The caller has already switched the firewall off and released the socket.
    static bool start(const std::string& packagePath);
};
