#include "platform/janela.hpp"

namespace quelna {

namespace sistema {
// The system's part: the console's title and minimizing (nothing where there is no console window).
void titulo_do_console(const std::string& titulo);
void minimiza_console_proprio();
}  // namespace sistema

void JanelaTexto::define_titulo(const std::string& t) {
    titulo_ = t;
    sistema::titulo_do_console(t);
}

void JanelaTexto::pedido_inicial(const PedidoJanela& p) {
    if (p.tipo == 4 && !tem_posicao_) {
        posicao_ = p;
        tem_posicao_ = true;
    }
    tipo_ = p.tipo;
    if (p.tipo == 1) sistema::minimiza_console_proprio();
}

bool INITIALSETTINGS(JanelaTexto& host) {
    PedidoJanela pedido;
    pedido.tipo = 4;
    pedido.x = 100;
    pedido.y = 20;
    pedido.largura = 600;
    pedido.altura = 400;
    host.pedido_inicial(pedido);
    pedido.tipo = 1;
    host.pedido_inicial(pedido);
    return true;
}

}  // namespace quelna
