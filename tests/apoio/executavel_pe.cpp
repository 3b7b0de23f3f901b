#include "apoio/executavel_pe.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "apoio/audio_amostras.h"
#include "apoio/ferramentas_gravadas.h"
#include "apoio/pasta_temporaria.h"

namespace fs = std::filesystem;

namespace quorvel::teste {

namespace {

void Executar(const std::string& comando, const std::string& saida) {
    const int rc = std::system((comando + " >" + Aspas(saida) + " 2>&1").c_str());
#ifdef _WIN32
    const bool falhou = rc != 0;
#else
    const bool falhou = rc == -1 || !WIFEXITED(rc) || WEXITSTATUS(rc) != 0;
#endif
    if (falhou) throw std::runtime_error("command failed: " + comando + "\n" + LerHost(saida));
}

// A string literal of a resource script: quotes doubled, backslashes escaped.
std::string LiteralRc(const std::string& texto) {
    std::string r = "\"";
    for (char c : texto) {
        if (c == '"') r += "\"\"";
        else if (c == '\\') r += "\\\\";
        else r += c;
    }
    return r + "\"";
}

void CriarExecutavel(const std::string& destino, const std::optional<RecursoVersao>& recurso, bool pe32);

}  // namespace

void CriarExecutavelWindows(const std::string& destino, const std::optional<RecursoVersao>& recurso, bool pe32) {
    std::string descricao = std::string("mingw-w64 executable") + (pe32 ? " pe32" : "");
    if (recurso) {
        descricao += " block " + recurso->bloco + " translation " + recurso->traducao;
        for (const auto& [nome, texto] : recurso->valores) descricao += " | " + nome + "=" + texto;
    }
    PassoDeFerramenta(descricao, destino, false, [&] {
        CriarExecutavel(destino, recurso, pe32);
        return std::string();
    });
}

namespace {

// Assembles a program that only returns, adds the resource compiled by windres and links them.
void CriarExecutavel(const std::string& destino, const std::optional<RecursoVersao>& recurso, bool pe32) {
    PastaTemporaria trabalho;
    const std::string pasta = trabalho.Caminho() + "/";
    const std::string log = pasta + "saida.txt";
    {
        std::ofstream(pasta + "inicio.s") << ".globl _start\n_start:\n ret\n";
    }
    Executar("x86_64-w64-mingw32-as -o " + Aspas(pasta + "inicio.o") + " " + Aspas(pasta + "inicio.s"), log);
    std::string objetos = Aspas(pasta + "inicio.o");
    if (recurso) {
        std::ostringstream rc;
        rc << "#pragma code_page(1252)\n"
           << "1 VERSIONINFO\nFILEVERSION 1,0,0,0\nPRODUCTVERSION 1,0,0,0\nFILEOS 0x4\nFILETYPE 0x1\n"
           << "BEGIN\n BLOCK \"StringFileInfo\"\n BEGIN\n  BLOCK " << LiteralRc(recurso->bloco) << "\n  BEGIN\n";
        for (const auto& [nome, texto] : recurso->valores)
            rc << "   VALUE " << LiteralRc(nome) << ", " << LiteralRc(texto) << "\n";
        rc << "  END\n END\n BLOCK \"VarFileInfo\"\n BEGIN\n  VALUE \"Translation\", " << recurso->traducao
           << "\n END\nEND\n";
        std::ofstream(pasta + "versao.rc", std::ios::binary) << rc.str();
        Executar("x86_64-w64-mingw32-windres --preprocessor=cpp -c 1252 -O coff -i " + Aspas(pasta + "versao.rc") +
                     " -o " + Aspas(pasta + "versao.o"),
                 log);
        objetos += " " + Aspas(pasta + "versao.o");
    }
    const std::string exe = pe32 ? pasta + "programa64.exe" : destino;
    Executar("x86_64-w64-mingw32-ld -s -e _start --subsystem console -o " + Aspas(exe) + " " + objetos, log);
    if (pe32) Executar("x86_64-w64-mingw32-objcopy -O pei-i386 " + Aspas(exe) + " " + Aspas(destino), log);
}

}  // namespace

RecursoVersao RecursoServidor(const std::string& descricao, const std::string& versao) {
    RecursoVersao r;
    r.valores = {{"CompanyName", "Firebird Project"}, {"FileDescription", descricao}, {"FileVersion", versao}};
    return r;
}

}  // namespace quorvel::teste
