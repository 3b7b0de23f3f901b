// A program built without the window (QUORVEL_GUI off, or Qt missing) explains the front ends it
// has when started without arguments.
#ifndef QUORVEL_COM_JANELA
#include <iostream>

#include "app/programa/linha_comando.h"

namespace quorvel {

int ExecutarJanela(int, char**) {
    std::cerr << "This build of the program has no window; use the terminal front end.\n";
    MostrarUso(std::cerr);
    return 2;
}

}  // namespace quorvel
#endif
