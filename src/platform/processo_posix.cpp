#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/processo.hpp"

namespace quelna {

std::vector<std::string> argumentos(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

std::string caminho_do_executavel() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

std::string procura_no_path(const std::string& programa) {
    const char* path = std::getenv("PATH");
    if (!path) return {};
    const std::string p = path;
    for (std::size_t ini = 0; ini <= p.size();) {
        auto fim = p.find(':', ini);
        if (fim == std::string::npos) fim = p.size();
        const std::string pasta = p.substr(ini, fim - ini);
        ini = fim + 1;
        if (pasta.empty()) continue;
        const std::string c = pasta + "/" + programa;
        struct stat st {};
        if (stat(c.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(c.c_str(), X_OK) == 0) return c;
    }
    return {};
}

int numero_do_processo() { return static_cast<int>(getpid()); }

bool erro_no_terminal() { return isatty(STDERR_FILENO) == 1; }

int muda_de_pasta(const std::string& pasta) { return chdir(pasta.c_str()) == 0 ? 0 : errno; }

}  // namespace quelna
