// Number layouts and text conversions shared by every file the program writes.
#pragma once

#include <string>
#include <string_view>

namespace quelna {

// Scientific notation with one digit before the point, `decimais` after it, "E", a sign and
// two exponent digits (three when the exponent needs them), right-aligned in `largura` columns.
// Non-finite values are written "NaN", "Infinity" or "-Infinity", right-aligned.
std::string real_e(double valor, int largura, int decimais);

// The three real layouts of the listing and the data files.
inline std::string real_curto(double v) { return real_e(v, 15, 6); }
inline std::string real_medio(double v) { return real_e(v, 22, 9); }
inline std::string real_longo(double v) { return real_e(v, 24, 15); }

// An integer right-aligned in `largura` columns; a wider number takes the columns it needs.
std::string inteiro(long long valor, int largura);

// Fixed-point notation, right-aligned (the processing time).
std::string fixo(double valor, int largura, int decimais);

// Cut at, or pad with blanks to, exactly `n` characters.
std::string ajusta(std::string_view texto, std::size_t n);
std::string sem_brancos_finais(std::string_view texto);
std::string sem_brancos(std::string_view texto);

// Pads `linha` with blanks up to column `coluna` (1-based) and appends `texto` there.
void na_coluna(std::string& linha, int coluna, std::string_view texto);

// The system's own texts are written in the source as UTF-8; the files carry Latin-1.
// Every UTF-8 sequence of a character up to U+00FF becomes its one Latin-1 byte; any other
// byte is kept as it is, so a text that is Latin-1 already passes unchanged.
std::string latin1(std::string_view utf8);

// Latin-1 bytes to UTF-8 (for file names made of texts of a UTF-8 case file).
std::string utf8_de_latin1(std::string_view texto);

// True when `texto` is well-formed UTF-8 (holding at least one multibyte character).
bool e_utf8(std::string_view texto);
bool e_utf8_multibyte(std::string_view texto);

// A text of a UTF-8 case file in Latin-1: a character beyond Latin-1 becomes '?', and so does
// a byte that starts no well-formed sequence.
std::string utf8_para_latin1(std::string_view utf8);

// Bytes as base64 text (RFC 4648, with padding), and back; decoding stops at the first byte
// outside the alphabet and returns false when what it read is not whole base64.
std::string base64(std::string_view bytes);
bool de_base64(std::string_view texto, std::string& bytes);

}  // namespace quelna
