// Program entry: the window with no arguments, the terminal front end with --sem-janela, the
// audio analysis with --info-audio.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/programa/linha_comando.h"
#include "platform/programa.h"

int main(int argc, char** argv) {
    // The arguments as UTF-8 on every system (on Windows from the wide command line).
    std::vector<std::string> argumentos = quorvel::ArgumentosUtf8(argc, argv);
    std::vector<char*> ponteiros;
    for (std::string& a : argumentos) ponteiros.push_back(a.data());
    ponteiros.push_back(nullptr);
    argc = static_cast<int>(argumentos.size());
    argv = ponteiros.data();
    // The terminal front ends print in the console they were started from.
    if (argc >= 2) quorvel::UsarConsoleDoPai();
    if (argc >= 2 && std::strcmp(argv[1], "--info-audio") == 0)
        return quorvel::ExecutarInfoAudio(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "--sem-janela") == 0)
        return quorvel::ExecutarSemJanela(argc - 2, argv + 2);
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        quorvel::MostrarUso(std::cout);
        return 0;
    }
    if (argc >= 2) {
        quorvel::MostrarUso(std::cerr);
        return 2;
    }
    return quorvel::ExecutarJanela(argc, argv);
}
