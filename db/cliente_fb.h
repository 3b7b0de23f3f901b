#pragma once
// The Firebird client library, loaded when the first connection needs it.
//
// The program is not linked against the client library: it starts, shows its window and
// analyses audio files on a machine without Firebird. The first call of a client function
// (isc_attach_database, normally) loads the library and resolves the function; the functions of
// the legacy ISC API that the database layer calls are defined in cliente_fb.cpp with the
// declarations of ibase.h, each calling through the resolved address, so the rest of the layer
// calls them by their usual names.
//
// The library looked for, in order:
//   $QUORVEL_FBCLIENT when it is set (a file name or a full path: another client library for a
//     test or for a machine where it lives in an unusual place);
//   on Windows: fbclient.dll as the system finds it (the program's folder, the system folders,
//     PATH), then bin\fbclient.dll and fbclient.dll in the Firebird root that the registry
//     names, then gds32.dll (installations that kept the InterBase name);
//   elsewhere: libfbclient.so.2.
// When none loads, the call raises Erro naming the libraries tried and the system's reason.
#include <ibase.h>

#include <mutex>
#include <string>
#include <vector>

namespace quorvel::fb {

class BibliotecaCliente {
public:
    // `candidatos`: the library files to try, in order.
    explicit BibliotecaCliente(std::vector<std::string> candidatos);
    ~BibliotecaCliente();  // the library stays loaded: its own threads may still run
    BibliotecaCliente(const BibliotecaCliente&) = delete;
    BibliotecaCliente& operator=(const BibliotecaCliente&) = delete;

    // The address of a function of the library, loading it first when needed. Raises Erro when
    // no candidate loads or the loaded library lacks the function. Safe from any thread.
    void* Funcao(const char* nome);
    // The same, or nullptr when the loaded library lacks the function (still an error when no
    // candidate loads).
    void* FuncaoOpcional(const char* nome);
    // The file that was loaded; empty before.
    std::string Carregada();

private:
    void Carregar();  // caller holds mutex_
    std::vector<std::string> candidatos_;
    std::mutex mutex_;
    void* biblioteca_ = nullptr;
    std::string carregada_;
};

// The library files tried on this system, in order (see above).
std::vector<std::string> CandidatosCliente();

// The library of the whole program.
BibliotecaCliente& Cliente();

// fb_interpret of `biblioteca`: the next message of the status vector into `texto` (at most
// `tamanho` bytes with its terminating zero), its length, 0 after the last. A client older than
// Firebird 1.5 (gds32.dll of InterBase or of Firebird 1.0) has only isc_interprete, which writes
// without a limit: it then writes into a buffer of its own larger than any message, and what fits
// is copied.
ISC_LONG InterpretarStatus(BibliotecaCliente& biblioteca, ISC_SCHAR* texto, unsigned tamanho, const ISC_STATUS** status);

}  // namespace quorvel::fb
