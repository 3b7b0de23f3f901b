// Until the window exists, starting without arguments explains the front ends.
#include <iostream>

#include "app/linha_comando.h"

namespace quorvel {

int ExecutarJanela(int, char**) {
    std::cerr << "The window is not part of this build yet; use the terminal front end.\n";
    MostrarUso(std::cerr);
    return 2;
}

}  // namespace quorvel
