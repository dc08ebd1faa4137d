#pragma once

namespace kivo::startup {

/// With KIVO_STARTUP_TRACE set, writes "kivo startup: <ms since the process started> <stage>" to
/// the error output (bench/startup reads it); nothing otherwise. The first call fixes the clock's
/// zero from the process's own start time.
void Trace(const char* stage);

/// Milliseconds since process `pid` started, on the clock Trace counts with; -1 when it is gone.
double SinceStartOf(int pid);

} // namespace kivo::startup
