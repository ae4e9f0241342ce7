// Console interrupts and a reader that stops taking output: the process-wide state the signal
// callback, the runner and the sinks share, whichever thread they run on.
#pragma once

#include "morva_service/morva_service.h"
#include "zerka/zerka.h"

// A new run: no interrupt seen, the exit status not read out yet.
void ResetInterrupts();
// From now on the handler's interrupts reach OnConsoleInterrupt; those it counted before do not
// count as this run's. 0, or the error (an errno value) that leaves the run uninterruptible.
int TakeInterrupts(ZerkaSignalHandler* handler);
// The service an interrupt aborts; null before the engine is given back.
void SetCliService(morva_service::MorvaService* service);
// The exit status is being read out: an interrupt from now on can only end the program.
void NoteEnding();

// The service obtained by the service thread, for the interrupt callback. Null when none.
morva_service::MorvaService* CliService();
// Set by a console interrupt and when the runner aborts a run.
bool CliInterrupted();
void SetCliInterrupted();
// The descriptor the output sink writes to (-1: none), which an interrupt looks at: a reader
// that takes no more output must not keep the program from ending.
void WatchOutput(int fd);
// The user asked for an abort ("a" from the supervisor, Escape): from now on a reader that takes
// no more output ends the program as after an interrupt. Safe from any thread.
void WatchForAStalledReader();
// The user asked for an abort: the engine aborts, the run counts as interrupted, and the reader
// is watched as above.
void AbortAsAsked();
void OnConsoleInterrupt(int signal_number);
