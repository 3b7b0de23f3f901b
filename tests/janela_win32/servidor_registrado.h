#pragma once
// A database server "installed" for the window's tests: its root folder with bin\fbserver.exe
// (a stand-in program whose version resource says 2.1.3 or 2.5.9) inside a test folder, and the
// registry key that names it, written with Wine's (or Windows') reg.exe as an installer would.
// The key is removed when the object goes away.
#include <string>

#include "apoio/pasta_temporaria.h"

namespace quorvel::teste::win32 {

class ServidorRegistrado {
public:
    // `versao`: "213" or "259", the stand-in built beside the test program.
    ServidorRegistrado(const PastaTemporaria& pasta, const std::string& versao);
    ~ServidorRegistrado() { Remover(); }
    ServidorRegistrado(const ServidorRegistrado&) = delete;
    ServidorRegistrado& operator=(const ServidorRegistrado&) = delete;

    // No database server in the registry.
    static void Remover();
};

// The screen's dots per inch for programs started from now on (Wine's and Windows' setting of
// the user, HKCU\Control Panel\Desktop\LogPixels).
void DefinirPontosPorPolegada(int dpi);

}  // namespace quorvel::teste::win32
