#include <algorithm>
#include <new>

#include "input/caso.hpp"
#include "input/shih.hpp"
#include "platform/comando.hpp"

namespace quelna {

void prepara_campos(const CaseData& caso, Campos& c) {
    try {
        reserva_campos(caso, c);
    } catch (const std::bad_alloc&) {
        throw ErroCaso(std::string(arquivo_caso) + ", linhas 2 e 3 (nx, ny): não há memória para " +
                       std::to_string(caso.nx - 2) + " x " + std::to_string(caso.ny - 2) + " volumes");
    }
    // The zero fill of u, v, p, plinha, ue, vn, dc_u, dc_v and fonte_v comes with the reservation.

    if (caso.problema == 1 || caso.inicial == 1) analitica_shih(caso, c);
    // The Ghia problem has no body force, even when it starts from the Shih fields.
    if (caso.problema == 2) std::fill(c.fonte_v.begin(), c.fonte_v.end(), 0.0);
    if (caso.inicial == 1) {
        faces_shih(caso, c);
        c.u = c.uex;
        c.v = c.vex;
        c.p = c.pex;
    }
    // The previous time level starts equal to the initial fields.
    c.u0 = c.u;
    c.v0 = c.v;
    c.ue0 = c.ue;
    c.vn0 = c.vn;
}

void le_dados(CaseData& caso, Campos& c) {
    const std::string comando = std::string("notepad ") + arquivo_caso;
    const int estado = executar_comando(comando, static_cast<int>(comando.size()));
    (void)estado;  // the viewer's outcome never stops the run
    caso = le_caso(arquivo_caso);
    prepara_campos(caso, c);
}

}  // namespace quelna
