// Program entry: the window with no arguments, the terminal front end with --sem-janela, the
// audio analysis with --info-audio.
#include <cstring>
#include <iostream>

#include "app/linha_comando.h"

int main(int argc, char** argv) {
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
