// Targets of the readers of the platform layer: INI files, the registry export file and the
// version resources of Windows executables. Each input is the whole file.
#include <cstdlib>
#include <optional>
#include <string>

#include "alvos/alvos.h"
#include "alvos/rascunho.h"
#include "platform/erros.h"
#include "platform/ini.h"
#include "platform/registro.h"
#include "platform/versao_pe.h"

namespace quorvel::fuzz {

namespace {

constexpr size_t MaximoValorIni = 2047;

bool BrancoIni(char c) { return c == ' ' || c == '\t'; }

// Sets an environment variable for the life of the object and puts the old value back.
class VariavelTemporaria {
public:
    VariavelTemporaria(const char* nome, const std::string& valor) : nome_(nome) {
        if (const char* v = std::getenv(nome)) tinha_ = true, anterior_ = v;
        ::setenv(nome, valor.c_str(), 1);
    }
    ~VariavelTemporaria() {
        if (tinha_) ::setenv(nome_, anterior_.c_str(), 1);
        else ::unsetenv(nome_);
    }

private:
    const char* nome_;
    bool tinha_ = false;
    std::string anterior_;
};

// The first "[...]" of a text (NUL bytes left out, so that UTF-16 text reads too) without its
// root key, and the first quoted name after it: a key and a value the input itself names.
void NomesDaEntrada(const std::string& entrada, std::string& chave, std::string& valor) {
    std::string texto;
    for (char c : entrada)
        if (c != '\0') texto += c;
    const size_t abre = texto.find('['), fecha = abre == std::string::npos ? abre : texto.find(']', abre);
    if (fecha == std::string::npos) return;
    chave = texto.substr(abre + 1, fecha - abre - 1);
    const size_t barra = chave.find('\\');
    chave = barra == std::string::npos ? std::string() : chave.substr(barra);
    const size_t aspas = texto.find('"', fecha), fim = aspas == std::string::npos ? aspas : texto.find('"', aspas + 1);
    if (fim != std::string::npos) valor = texto.substr(aspas + 1, fim - aspas - 1);
}

}  // namespace

int AlvoIni(const uint8_t* dados, size_t tamanho) {
    const char* const alvo = "ini";
    const std::string arquivo = GravarRascunho("Seq.ini", dados, tamanho);
    // What the program reads: the database location of an installation and the checkpoint.
    struct Par {
        const char* secao;
        const char* chave;
        std::string valor;
    } pares[] = {{"BANCO", "caminho", {}}, {"SEQ", "sTabela", {}}, {"SEQ", "sCodigo", {}}};
    for (Par& p : pares) {
        p.valor = LerIni(arquivo, p.secao, p.chave);
        if (p.valor.size() > MaximoValorIni) Falha(alvo, "value longer than 2,047 characters", p.chave);
        if (!p.valor.empty() && (BrancoIni(p.valor.front()) || BrancoIni(p.valor.back())))
            Falha(alvo, "value keeps surrounding blanks", p.chave);
    }
    const auto linhas = LerLinhas(arquivo);
    if (!linhas) Falha(alvo, "a readable file gives no lines");
    for (const std::string& l : *linhas)
        if (l.find_first_of("\r\n") != std::string::npos) Falha(alvo, "a line keeps a line end");

    // A checkpoint write replaces its key and keeps every other value of the file.
    GravarIni(arquivo, "SEQ", "sCodigo", "1234");
    if (LerIni(arquivo, "seq", "SCODIGO") != "1234") Falha(alvo, "the written value does not read back");
    for (const Par& p : pares)
        if (std::string(p.chave) != "sCodigo" && LerIni(arquivo, p.secao, p.chave) != p.valor)
            Falha(alvo, "a write changed another value", p.chave);
    return 0;
}

int AlvoRegistro(const uint8_t* dados, size_t tamanho) {
    const char* const alvo = "registro";
    const std::string entrada(reinterpret_cast<const char*>(dados), tamanho);
    const VariavelTemporaria registro("QUORVEL_REGISTRO", GravarRascunho("registro.reg", entrada));
    std::string chaveEntrada, valorEntrada;
    NomesDaEntrada(entrada, chaveEntrada, valorEntrada);
    // The two keys of the server detection, and a key and value that the input names.
    const std::string chaves[] = {"\\Software\\Firebird Project\\Firebird Server\\Instances",
                                  "\\Software\\Borland\\InterBase\\CurrentVersion", chaveEntrada};
    const std::string valores[] = {"DefaultInstance", "RootDirectory", "", valorEntrada};
    Registro r;
    for (const std::string& chave : chaves) {
        try {
            if (!r.AbrirChaveLeitura(chave)) {
                if (r.ChaveAberta() || r.ValorExiste("DefaultInstance")) Falha(alvo, "a key that did not open is open");
                continue;
            }
        } catch (const Erro&) {
            return 0;  // not a registry export file: every key would say so again
        }
        for (const std::string& nome : valores) {
            const bool existe = r.ValorExiste(nome);
            try {
                const std::string texto = r.LerTexto(nome);
                if (!existe && !texto.empty()) Falha(alvo, "a missing value has a text", nome);
                if (texto.find('\0') != std::string::npos) Falha(alvo, "a text goes past its null character", nome);
            } catch (const Erro& e) {
                if (!existe || e.what() != "Invalid data type for '" + nome + "'")
                    Falha(alvo, "unexpected error", e.what());
            }
        }
        r.FecharChave();
    }
    return 0;
}

int AlvoVersaoPe(const uint8_t* dados, size_t tamanho) {
    const char* const alvo = "versao_pe";
    static const char* const nomes[] = {"CompanyName",      "FileDescription", "FileVersion", "InternalName",
                                        "LegalCopyright",   "LegalTradeMarks", "OriginalFilename",
                                        "ProductName",      "ProductVersion",  "Comments"};
    auto consultar = [&](const std::string& bloco) {
        for (const char* nome : nomes) {
            const auto texto = ConsultarTextoVersao(bloco, std::string("\\StringFileInfo\\040904E4\\") + nome);
            if (texto && (texto->size() > bloco.size() || texto->find('\0') != std::string::npos))
                Falha(alvo, "a version text longer than its block or past its null character", nome);
        }
        (void)ConsultarTextoVersao(bloco, "\\VarFileInfo\\Translation");
        (void)ConsultarTextoVersao(bloco, "\\");
    };
    // The input as the server program whose version the window shows.
    if (const auto bloco = LerInformacaoVersao(GravarRascunho("fbserver.exe", dados, tamanho))) {
        if (bloco->size() < 6 || bloco->size() > tamanho) Falha(alvo, "a version block larger than the file");
        consultar(*bloco);
    }
    // The input as a version block on its own.
    consultar(std::string(reinterpret_cast<const char*>(dados), tamanho));
    return 0;
}

}  // namespace quorvel::fuzz
