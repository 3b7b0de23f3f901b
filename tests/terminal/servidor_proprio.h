#pragma once
// A Firebird server of a test's own on another loopback port, beside the tests' server (whose
// configuration it copies): its own security database, lock folder and process, which the test
// stops and starts again at will. Its databases are reached as "localhost/PORT:path", the form
// of the stations whose server listens on a port of its own. Tests that may run at the same time
// give theirs different ports.
#include <sys/types.h>

#include <string>

namespace quorvel::teste {

class ServidorProprio {
public:
    // Prepares the server's folders below `pasta`; Pronto() is false when the tests' server
    // configuration or the server program is not there.
    ServidorProprio(const std::string& pasta, int porta);
    ~ServidorProprio() { Parar(); }
    ServidorProprio(const ServidorProprio&) = delete;
    ServidorProprio& operator=(const ServidorProprio&) = delete;

    bool Pronto() const { return pronto_; }

    // Starts the server and waits until it answers.
    bool Iniciar();
    // Kills the server at once, as a crash or a pulled cable would end it.
    void Parar();
    // The location of a database file through this server.
    std::string Local(const std::string& caminho) const {
        return "localhost/" + std::to_string(porta_) + ":" + caminho;
    }

private:
    bool Responde() const;
    int porta_;
    std::string raiz_, lock_, programa_;
    bool pronto_ = false;
    pid_t pid_ = -1;
};

}  // namespace quorvel::teste
