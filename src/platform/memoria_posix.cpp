#include "platform/memoria.hpp"

#include <sys/resource.h>
#include <unistd.h>

namespace quelna {

Memoria memoria_disponivel() {
    Memoria m;
    const long paginas = sysconf(_SC_PHYS_PAGES);
    const long tamanho = sysconf(_SC_PAGE_SIZE);
    if (paginas > 0 && tamanho > 0) m.bytes = static_cast<double>(paginas) * static_cast<double>(tamanho);
    rlimit limite {};
    if (getrlimit(RLIMIT_AS, &limite) == 0 && limite.rlim_cur != RLIM_INFINITY) {
        const double processo = static_cast<double>(limite.rlim_cur);
        if (m.bytes == 0.0 || processo < m.bytes) {
            m.bytes = processo;
            m.pelo_limite = true;
        }
    }
    return m;
}

}  // namespace quelna
