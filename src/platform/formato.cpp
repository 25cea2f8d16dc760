#include "platform/formato.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace quelna {

namespace {

std::string alinha_direita(std::string texto, int largura) {
    if (static_cast<int>(texto.size()) < largura)
        texto.insert(0, static_cast<std::size_t>(largura) - texto.size(), ' ');
    return texto;
}

}  // namespace

std::string real_e(double valor, int largura, int decimais) {
    if (std::isnan(valor)) return alinha_direita("NaN", largura);
    if (std::isinf(valor)) return alinha_direita(valor > 0 ? "Infinity" : "-Infinity", largura);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", decimais, valor);
    return alinha_direita(buf, largura);
}

std::string inteiro(long long valor, int largura) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld", valor);
    return alinha_direita(buf, largura);
}

std::string fixo(double valor, int largura, int decimais) {
    if (!std::isfinite(valor)) return real_e(valor, largura, decimais);
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimais, valor);
    return alinha_direita(buf, largura);
}

std::string ajusta(std::string_view texto, std::size_t n) {
    std::string s(texto.substr(0, n));
    s.resize(n, ' ');
    return s;
}

std::string sem_brancos_finais(std::string_view texto) {
    const auto fim = texto.find_last_not_of(' ');
    return fim == std::string_view::npos ? std::string() : std::string(texto.substr(0, fim + 1));
}

std::string sem_brancos(std::string_view texto) {
    const auto ini = texto.find_first_not_of(' ');
    if (ini == std::string_view::npos) return {};
    return sem_brancos_finais(texto.substr(ini));
}

void na_coluna(std::string& linha, int coluna, std::string_view texto) {
    const auto antes = static_cast<std::size_t>(coluna - 1);
    if (linha.size() < antes) linha.resize(antes, ' ');
    linha += texto;
}

std::string latin1(std::string_view utf8) {
    std::string s;
    s.reserve(utf8.size());
    for (std::size_t k = 0; k < utf8.size(); ++k) {
        const auto c = static_cast<unsigned char>(utf8[k]);
        if ((c == 0xC2 || c == 0xC3) && k + 1 < utf8.size()) {
            const auto d = static_cast<unsigned char>(utf8[k + 1]);
            if ((d & 0xC0) == 0x80) {
                s += static_cast<char>(((c & 0x03) << 6) | (d & 0x3F));
                ++k;
                continue;
            }
        }
        s += static_cast<char>(c);
    }
    return s;
}

std::string utf8_de_latin1(std::string_view texto) {
    std::string s;
    for (const char ch : texto) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            s += ch;
        } else {
            s += static_cast<char>(0xC0 | (c >> 6));
            s += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return s;
}

namespace {

// Walks well-formed UTF-8; false at the first malformed sequence.
bool percorre_utf8(std::string_view texto, bool& multibyte) {
    multibyte = false;
    for (std::size_t k = 0; k < texto.size();) {
        const auto c = static_cast<unsigned char>(texto[k]);
        int seguem;
        if (c < 0x80) seguem = 0;
        else if (c >= 0xC2 && c <= 0xDF) seguem = 1;
        else if (c >= 0xE0 && c <= 0xEF) seguem = 2;
        else if (c >= 0xF0 && c <= 0xF4) seguem = 3;
        else return false;
        if (k + static_cast<std::size_t>(seguem) >= texto.size()) return false;
        for (int m = 1; m <= seguem; ++m)
            if ((static_cast<unsigned char>(texto[k + static_cast<std::size_t>(m)]) & 0xC0) != 0x80) return false;
        multibyte = multibyte || seguem > 0;
        k += static_cast<std::size_t>(seguem) + 1;
    }
    return true;
}

}  // namespace

bool e_utf8(std::string_view texto) {
    bool multibyte = false;
    return percorre_utf8(texto, multibyte);
}

bool e_utf8_multibyte(std::string_view texto) {
    bool multibyte = false;
    return percorre_utf8(texto, multibyte) && multibyte;
}

std::string utf8_para_latin1(std::string_view utf8) {
    std::string r;
    for (std::size_t k = 0; k < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[k]);
        const bool segue = k + 1 < utf8.size() && (static_cast<unsigned char>(utf8[k + 1]) & 0xC0) == 0x80;
        if (c < 0x80) {
            r += utf8[k++];
        } else if ((c == 0xC2 || c == 0xC3) && segue) {
            r += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[k + 1]) & 0x3F));
            k += 2;
        } else {
            r += '?';
            ++k;
            while (k < utf8.size() && (static_cast<unsigned char>(utf8[k]) & 0xC0) == 0x80) ++k;
        }
    }
    return r;
}

}  // namespace quelna

namespace quelna {

namespace {
constexpr char alfabeto_base64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

std::string base64(std::string_view bytes) {
    std::string s;
    s.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t k = 0;
    for (; k + 3 <= bytes.size(); k += 3) {
        const unsigned n = (unsigned char)bytes[k] << 16 | (unsigned char)bytes[k + 1] << 8 | (unsigned char)bytes[k + 2];
        for (const int d : {18, 12, 6, 0}) s += alfabeto_base64[(n >> d) & 63];
    }
    const std::size_t resto = bytes.size() - k;
    if (resto > 0) {
        unsigned n = (unsigned char)bytes[k] << 16;
        if (resto == 2) n |= (unsigned char)bytes[k + 1] << 8;
        s += alfabeto_base64[(n >> 18) & 63];
        s += alfabeto_base64[(n >> 12) & 63];
        s += resto == 2 ? alfabeto_base64[(n >> 6) & 63] : '=';
        s += '=';
    }
    return s;
}

bool de_base64(std::string_view texto, std::string& bytes) {
    bytes.clear();
    unsigned n = 0;
    int bits = 0, simbolos = 0, enchimento = 0;
    for (const char ch : texto) {
        if (ch == ' ' || ch == '\n' || ch == '\r' || ch == '\t') continue;
        if (ch == '=') {
            ++enchimento, ++simbolos;
            continue;
        }
        const char* onde = ch == '\0' ? nullptr : std::strchr(alfabeto_base64, ch);
        if (onde == nullptr) break;
        if (enchimento > 0) return false;
        n = n << 6 | unsigned(onde - alfabeto_base64);
        bits += 6, ++simbolos;
        if (bits >= 8) {
            bits -= 8;
            bytes += char((n >> bits) & 0xFF);
        }
    }
    return simbolos % 4 == 0 && enchimento <= 2;
}

}  // namespace quelna
