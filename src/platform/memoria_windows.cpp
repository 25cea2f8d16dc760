#include <windows.h>

#include "platform/memoria.hpp"

namespace quelna {

Memoria memoria_disponivel() {
    Memoria m;
    MEMORYSTATUSEX estado{};
    estado.dwLength = sizeof estado;
    if (GlobalMemoryStatusEx(&estado)) m.bytes = static_cast<double>(estado.ullTotalPhys);
    return m;
}

}  // namespace quelna
