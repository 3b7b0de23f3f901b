#include "app/linha_comando.h"

namespace quorvel {

void MostrarUso(std::ostream& saida) {
    saida << "Quorvel 2009-2010\n"
#ifdef _WIN32
             "  quorvel2009_2010                      (no window yet: Qt for Windows is not part of this build)\n"
#else
             "  quorvel2009_2010                      opens the window\n"
#endif
             "  quorvel2009_2010 --sem-janela --pasta-2009 DIR --pasta-2010 DIR\n"
             "                   [--tabelas Agenda,Musicas,...] [--continuar] [--sim]\n"
             "  quorvel2009_2010 --info-audio FILE...  audio information as JSON lines\n";
}

}  // namespace quorvel
