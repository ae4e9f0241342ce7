// The terminal the console objects hold, as the rest of the library sees it.
#pragma once

namespace zerka {

// While a console holds the terminal, a termination signal whose handling is the default again
// restores the terminal before it ends the process. Called when the interrupt handler gives the
// signals back.
void GuardTerminalOnDefaultSignals();

}  // namespace zerka
