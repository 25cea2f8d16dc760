// Interruption of a run by SIGINT (Ctrl-C) or SIGTERM: the first signal asks the run to end
// its cycle and write what it has; a second one stops the program at once.
#pragma once

namespace quelna {

// Installs the handlers (the executable does; the library alone never does).
void instala_interrupcao();

// Makes the standard descriptors safe to write: one that was closed is opened on /dev/null, so
// that no file the run opens takes its number (and a message its content), and SIGPIPE is
// ignored, so that a standard error that is a closed pipe loses the messages but not the run
// (SIGXFSZ too: a file past the process's size limit fails its write and is named).
void protege_saidas_padrao();

// The signal received, or 0.
int sinal_recebido();

}  // namespace quelna
