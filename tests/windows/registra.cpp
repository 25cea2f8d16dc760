// A stand-in for a program that the run starts (notepad, gnuplot): it appends one line with its
// name and its arguments, separated by '|', to the file that QUELNA_REGISTRO names, and ends.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const char* registro = std::getenv("QUELNA_REGISTRO");
    if (!registro) return 1;
    std::FILE* f = std::fopen(registro, "ab");
    if (!f) return 1;
    const char* nome = argv[0];
    for (const char* c = argv[0]; *c; ++c)
        if (*c == '\\' || *c == '/') nome = c + 1;
    std::fputs(nome, f);
    for (int k = 1; k < argc; ++k) std::fprintf(f, "|%s", argv[k]);
    std::fputc('\n', f);
    std::fclose(f);
    return 0;
}
