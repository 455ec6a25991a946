#include "updatejob.h"

// Placeholder until the update job lands: refuses every package.
bool UpdateJob::start(const std::string&) { return false; }
