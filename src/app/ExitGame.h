// The orderly exit and the two log-out twins.
#pragma once

// Leaves the field and the world with the log-out packets, waits a second
// and closes the main window. Runs once: later calls while the exit is under
// way do nothing (holding Ctrl+Alt would otherwise repeat it every pass).
void ExitGame();
// Back to the title: the log-out fields and the quit notice; no close.
void LogOutToTitle();
// The log-out fields, command 51, a second's wait and the close.
void LogOutAndExit();

// True once ExitGame or LogOutAndExit has begun.
bool IsExiting();
void ResetExitState();
