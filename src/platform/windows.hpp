// What the Windows renderings of the platform share: file names as the system's wide
// characters, and the system's error codes as the errno values the interfaces report.
#pragma once

#include <string>

namespace quelna::windows {

// A name of the run (UTF-8 when it is well-formed UTF-8, else Latin-1) as UTF-16, the same
// characters either way.
std::wstring largo(const std::string& nome);

// Latin-1 bytes as UTF-16, each byte its character.
std::wstring de_latin1(const std::string& texto);

// UTF-16 to UTF-8 (arguments of the command line, paths the system gives).
std::string utf8(const std::wstring& texto);

// GetLastError() as the nearest errno value.
int erro_do_sistema(unsigned long codigo);

// 0 when the last part of `nome` can name a file on Windows; EINVAL for a name with a character
// that Windows reserves (< > : " | ? * and control characters: "x:y" would name a stream of
// x) or that ends in a dot or a blank, which Windows would drop.
int confere_nome(const std::string& nome);

// True when standard input is a console: a user at the keyboard, not a batch run.
bool entrada_no_console();

}  // namespace quelna::windows
