// Interruption of a run by SIGINT (Ctrl-C) or SIGTERM: the first signal asks the run to end
// its cycle and write what it has; a second one stops the program at once.
#pragma once

namespace quelna {

// Installs the handlers (the executable does; the library alone never does).
void instala_interrupcao();

// The signal received, or 0.
int sinal_recebido();

}  // namespace quelna
