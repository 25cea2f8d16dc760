// The desktop window of the program. The host records what the run asks of it, so that the run
// sequence can be checked. On POSIX systems the program is a plain process without a window and
// nothing more happens; on Windows the console window takes the title, and a request to minimize
// minimizes it when the program has a console of its own (started from the desktop, not from a
// console that was already open).
#pragma once

#include <string>

namespace quelna {

// A request for the initial placement of the frame window.
struct PedidoJanela {
    short tipo = 3;  // 1 minimize, 2 maximize, 3 restore, 4 position and size
    short x = 0, y = 0, altura = 0, largura = 0;
};

class JanelaTexto {
public:
    // On Windows the console window takes the title (Latin-1) too.
    void define_titulo(const std::string& t);
    // The host keeps the position and size of the first request that gives them and the kind
    // of the last request.
    void pedido_inicial(const PedidoJanela& p);
    void fecha_sem_perguntar() { fecha_sem_perguntar_ = true; }

    const std::string& titulo() const { return titulo_; }
    const PedidoJanela& posicao() const { return posicao_; }
    short tipo() const { return tipo_; }
    bool fecha_ao_terminar_sem_perguntar() const { return fecha_sem_perguntar_; }

private:
    std::string titulo_;
    PedidoJanela posicao_;
    bool tem_posicao_ = false;
    short tipo_ = 3;
    bool fecha_sem_perguntar_ = false;
};

// The program's initial window request: position 100, 20 and size 600 by 400, then minimized.
bool INITIALSETTINGS(JanelaTexto& host);

}  // namespace quelna
