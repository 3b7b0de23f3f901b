#include "apoio/bases_teste.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "apoio/criacao.h"
#include "db/ib_query.h"
#include "apoio/script_sql.h"
#include "platform/erros.h"

#ifndef QUORVEL_FIXTURES
#define QUORVEL_FIXTURES "tests/fixtures"
#endif

namespace fs = std::filesystem;

namespace quorvel::teste {

namespace {

std::string NovaPastaTemporaria(const char* prefixo) {
    std::string modelo = (fs::temp_directory_path() / (std::string(prefixo) + "XXXXXX")).string();
    if (!mkdtemp(modelo.data())) throw Erro("Cannot create a temporary folder: " + modelo);
    return modelo;
}

// The three fixture databases are made once and copied for every use. They are kept in a folder
// named after the fixtures' contents, shared by the test programs (CTest runs every test in a
// process of its own): the first process that needs them creates them in a folder of its own and
// renames it into place, so no process ever sees a half-made set.
class Modelos {
public:
    static Modelos& Instancia() {
        static Modelos m;
        return m;
    }
    std::string Arquivo(const std::string& nome) {
        std::lock_guard<std::mutex> trava(mutex_);
        if (pasta_.empty()) pasta_ = Preparar();
        return pasta_ + "/" + nome;
    }

private:
    static std::string Preparar() {
        const std::string conteudo = LerFixture("base2009.sql") + LerFixture("base2010_audio.sql") +
                                     LerFixture("base2010_adm.sql");
        char chave[32];
        std::snprintf(chave, sizeof chave, "%016zx", std::hash<std::string>{}(conteudo));
        const std::string final =
            (fs::temp_directory_path() / ("quorvel-modelos-" + std::string(chave))).string();
        if (fs::exists(final + "/ADM.FDB")) return final;
        const std::string nova = NovaPastaTemporaria("quorvel-modelos-novos-");
        try {
            CriarBase(nova + "/BASE2009.FDB", "base2009.sql");
            CriarBase(nova + "/AUDIO.FDB", "base2010_audio.sql");
            CriarBase(nova + "/ADM.FDB", "base2010_adm.sql");
        } catch (...) {
            std::error_code ec;
            fs::remove_all(nova, ec);
            throw;
        }
        chmod(nova.c_str(), 0755);
        if (std::rename(nova.c_str(), final.c_str()) != 0) {
            // Another process was quicker: use its set.
            std::error_code ec;
            fs::remove_all(nova, ec);
            if (!fs::exists(final + "/ADM.FDB")) throw Erro("Cannot prepare the test databases in " + final);
        }
        return final;
    }
    std::mutex mutex_;
    std::string pasta_;
};

}  // namespace

std::string LerFixture(const std::string& nome) {
    const std::string caminho = std::string(QUORVEL_FIXTURES) + "/" + nome;
    std::ifstream f(caminho, std::ios::binary);
    if (!f) throw Erro("Missing fixture: " + caminho);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void ConfigurarConexao(TIBDatabase& banco, TIBTransaction& transacao, const std::string& local) {
    banco.SetDatabaseName(local);
    banco.Params = {std::string("user_name=") + UsuarioBanco, std::string("password=") + SenhaBanco};
    banco.LoginPrompt = false;
    banco.SQLDialect = 1;
    transacao.SetDefaultDatabase(&banco);
    transacao.Params = {"read_committed", "rec_version", "nowait"};
}

void CriarBase(const std::string& caminho, const std::string& fixture) {
    CriarBaseDados(caminho, UsuarioBanco, SenhaBanco, false);
    if (!fixture.empty()) ExecutarSql(caminho, LerFixture(fixture));
}

std::string ScriptIrradiacao(int n) {
    return
        "SET TERM ^ ;\n"
        "EXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN\n"
        "  WHILE (i <= " + std::to_string(n) + ") DO BEGIN\n"
        "    INSERT INTO TB_IRRADIACAO VALUES (: i, 'CT-' || : i, 'Cliente n\xFAmero ' || : i, '10:00', 'V' || : i,\n"
        "      '00:30', 'C', '2009-03-01', '10:00:00');\n"
        "    i = i + 1;\n"
        "  END\n"
        "END^\n"
        "SET TERM ; ^\n";
}

void ExecutarSql(const std::string& local, const std::string& script) {
    TIBDatabase banco;
    TIBTransaction transacao;
    ConfigurarConexao(banco, transacao, local);
    banco.Open();
    ExecutarScript(banco, transacao, script);
    transacao.Commit();
    banco.Close();
}

Linhas Consultar(const std::string& local, const std::string& select) {
    TIBDatabase banco;
    TIBTransaction transacao;
    ConfigurarConexao(banco, transacao, local);
    banco.Open();
    transacao.StartTransaction();
    Linhas linhas;
    {
        TIBQuery q(&banco);
        q.SQL.SetText(select);
        q.Open();
        while (!q.Eof()) {
            std::vector<std::string> linha;
            for (int i = 0; i < q.FieldCount(); ++i)
                linha.push_back(q.Fields(i).IsNull() ? Nulo : q.Fields(i).AsString());
            linhas.push_back(std::move(linha));
            q.Next();
        }
    }
    transacao.Commit();
    banco.Close();
    return linhas;
}

int64_t ValorGenerator(const std::string& local, const std::string& generator) {
    const Linhas l = Consultar(local, "SELECT GEN_ID(" + generator + ", 0) FROM RDB$DATABASE");
    return std::stoll(l.at(0).at(0));
}

bool ServidorDisponivel() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return false;
    fcntl(s, F_SETFL, O_NONBLOCK);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(3050);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    if (!ok && errno == EINPROGRESS) {
        pollfd p{s, POLLOUT, 0};
        if (poll(&p, 1, 2000) == 1) {
            int erro = 0;
            socklen_t n = sizeof erro;
            getsockopt(s, SOL_SOCKET, SO_ERROR, &erro, &n);
            ok = erro == 0;
        }
    }
    close(s);
    return ok;
}

BasesTeste::BasesTeste(Acesso acesso) : acesso_(acesso) {
    pasta_ = NovaPastaTemporaria("quorvel-bases-");
    for (const char* nome : {"BASE2009.FDB", "AUDIO.FDB", "ADM.FDB"}) {
        const std::string destino = pasta_ + "/" + nome;
        fs::copy_file(Modelos::Instancia().Arquivo(nome), destino);
        if (acesso_ == Acesso::Servidor) EntregarAoServidor(destino);
    }
    if (acesso_ == Acesso::Servidor) EntregarAoServidor(pasta_);
}

BasesTeste::~BasesTeste() {
    std::error_code ec;
    fs::remove_all(pasta_, ec);
}

std::string BasesTeste::CriarBaseVazia(const std::string& nomeArquivo) {
    const std::string caminho = pasta_ + "/" + nomeArquivo;
    CriarBase(caminho, "");
    if (acesso_ == Acesso::Servidor) EntregarAoServidor(caminho);
    return Local(caminho);
}

void BasesTeste::EntregarAoServidor(const std::string& caminho) const {
    // The server runs as its own user: it must own (or at least be able to write) the files.
    const bool pasta = fs::is_directory(caminho);
    chmod(caminho.c_str(), pasta ? 0777 : 0666);
    if (const passwd* pw = getpwnam("firebird")) {
        if (chown(caminho.c_str(), pw->pw_uid, pw->pw_gid) != 0) {
            // Not allowed (not root): the open permissions above must do.
        }
    }
}

}  // namespace quorvel::teste
