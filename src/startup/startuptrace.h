#pragma once

namespace kivo::startup {

/// With KIVO_STARTUP_TRACE set, writes "kivo startup: <ms since the process started> <stage>" to
/// the error output (bench/startup reads it); nothing otherwise. The first call fixes the clock's
/// zero from the process's own start time.
void Trace(const char* stage);

} // namespace kivo::startup
