// Clocks: the local calendar date and time, and a wall clock for elapsed seconds.
#pragma once

#include <functional>

namespace quelna {

struct DataHora {
    int ano = 0, mes = 0, dia = 0, hora = 0, minuto = 0, segundo = 0;
};

DataHora agora_local();

// Seconds of wall-clock time from an arbitrary origin.
double relogio_parede();

// Where a run takes its date from; a test hands in a fixed one.
using FonteDataHora = std::function<DataHora()>;

}  // namespace quelna
