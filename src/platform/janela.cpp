#include "platform/janela.hpp"

namespace quelna {

void JanelaTexto::pedido_inicial(const PedidoJanela& p) {
    if (p.tipo == 4 && !tem_posicao_) {
        posicao_ = p;
        tem_posicao_ = true;
    }
    tipo_ = p.tipo;
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
