// Front ends that are not built yet answer with their exit status for a refused start.
#include <iostream>

#include "app/linha_comando.h"

namespace quorvel {

int ExecutarSemJanela(int, char**) {
    std::cerr << "--sem-janela: not available in this build\n";
    return 2;
}

}  // namespace quorvel
