// quorvel2009_2010.exe with no arguments on Windows: the window and its message loop.
#include <windows.h>

#include <exception>

#include "app/janela_win32/janela_win32.h"
#include "app/janela_win32/texto_largo.h"
#include "app/programa/linha_comando.h"
#include "platform/erros.h"
#include "platform/programa.h"

namespace quorvel {

int ExecutarJanela(int, char**) {
    try {
        // The program's folder holds the checkpoint file (or, installed under Program Files,
        // the user's folder of local application data: PastaDeEstado).
        win32::JanelaWin32 frmQuorvel2009_2010(PastaDoPrograma());
        STARTUPINFOW inicio{};
        inicio.cb = sizeof inicio;
        GetStartupInfoW(&inicio);
        return frmQuorvel2009_2010.Executar((inicio.dwFlags & STARTF_USESHOWWINDOW) ? inicio.wShowWindow
                                                                                     : SW_SHOWNORMAL);
    } catch (const std::exception& e) {
        MessageBoxW(nullptr, win32::Largo(TextoRelatorioErro(e.what())).c_str(), win32::Largo(TituloQuorvel).c_str(),
                    MB_OK | MB_ICONERROR);
        return 2;
    }
}

}  // namespace quorvel
