#include "servidor_proprio.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "apoio/audio_amostras.h"
#include "apoio/bases_teste.h"

namespace fs = std::filesystem;

namespace quorvel::teste {

ServidorProprio::ServidorProprio(const std::string& pasta, int porta)
    : porta_(porta), raiz_(pasta + "/raiz"), lock_(pasta + "/lock") {
    const char* firebird = std::getenv("FIREBIRD");
    if (!firebird || !fs::exists(std::string(firebird) + "/firebird.conf")) return;
    programa_ = fs::exists("/usr/sbin/firebird") ? "/usr/sbin/firebird"
                                                 : std::string(firebird) + "/../servidor/usr/sbin/firebird";
    if (!fs::exists(programa_)) return;
    fs::create_directories(raiz_);
    fs::create_directories(lock_);
    for (const char* nome : {"plugins.conf", "fbtrace.conf", "fbintl.conf"})
        if (fs::exists(std::string(firebird) + "/" + nome))
            fs::copy_file(std::string(firebird) + "/" + nome, raiz_ + "/" + nome);
    const std::string seguranca = raiz_ + "/security3.fdb";
    std::ofstream(raiz_ + "/firebird.conf") << "SecurityDatabase = " << seguranca << "\nRemoteServicePort = "
                                            << porta_ << "\nRemoteBindAddress = 127.0.0.1\nUdfAccess = None\n";
    std::ofstream(raiz_ + "/databases.conf") << "security.db = " << seguranca << "\n{\n\tRemoteAccess = false\n}\n";
    const std::string ambiente = "FIREBIRD=" + Aspas(raiz_) + " FIREBIRD_LOCK=" + Aspas(lock_) + " ";
    Executar("printf \"CREATE DATABASE '%s';\\n\" " + Aspas(seguranca) + " | " + ambiente +
             "isql-fb -q -user SYSDBA");
    Executar("printf \"CREATE USER SYSDBA PASSWORD '%s';\\nCOMMIT;\\n\" " + Aspas(SenhaBanco) + " | " + ambiente +
             "isql-fb -q -user SYSDBA security.db");
    pronto_ = true;
}

bool ServidorProprio::Iniciar() {
    pid_ = fork();
    if (pid_ == 0) {
        setenv("FIREBIRD", raiz_.c_str(), 1);
        setenv("FIREBIRD_LOCK", lock_.c_str(), 1);
        const int nulo = open("/dev/null", O_RDWR);
        dup2(nulo, STDIN_FILENO);
        dup2(nulo, STDOUT_FILENO);
        execl(programa_.c_str(), programa_.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 300; ++i) {
        if (Responde()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

void ServidorProprio::Parar() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

bool ServidorProprio::Responde() const {
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_port = htons(static_cast<uint16_t>(porta_));
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = connect(s, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) == 0;
    close(s);
    return ok;
}

}  // namespace quorvel::teste
