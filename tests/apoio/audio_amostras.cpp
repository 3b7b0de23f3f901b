#include "apoio/audio_amostras.h"

#ifdef _WIN32
#include <process.h>
#define popen _popen
#define pclose _pclose
#define getpid _getpid
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "apoio/ferramentas_gravadas.h"
#include "platform/texto.h"

namespace quorvel::teste {

namespace {

#ifndef _WIN32
bool NoPath(const char* programa) {
    return std::system(("command -v " + std::string(programa) + " >/dev/null 2>&1").c_str()) == 0;
}

bool TemMutagen() {
    static const bool tem =
        std::system("/usr/bin/python3 -c 'import mutagen.id3' >/dev/null 2>&1") == 0;
    return tem;
}
#endif

std::string Temporario(const std::string& perto, const char* extensao) {
    static int contador = 0;
    return perto + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(++contador) + extensao;
}

// A frequency sweep, so that a VBR encoder varies its frames.
std::string Sinal(double segundos, int taxa, int canais) {
    std::ostringstream s;
    s << "-r " << taxa << " -c " << canais << " -b 16 -e signed-integer";
    return s.str() + " - synth " + std::to_string(segundos) + " sine 200-4000 vol 0.5";
}

void CriarPastaDe(const std::string& arquivo) {
    std::error_code erro;
    std::filesystem::create_directories(std::filesystem::path(arquivo).parent_path(), erro);
}

}  // namespace

std::string FerramentasAusentes(std::initializer_list<const char*> ferramentas) {
    std::string ausentes;
    for (const char* f : ferramentas) {
#ifdef _WIN32
        // The tools' steps are replayed from recordings made on Linux.
        const bool ok = FerramentasDisponiveis();
#else
        const bool ok = std::string(f) == "mutagen" ? TemMutagen() : NoPath(f);
#endif
        if (!ok) ausentes += (ausentes.empty() ? "" : " ") + std::string(f);
    }
    return ausentes;
}

std::string Aspas(const std::string& texto) {
    std::string r = "'";
    for (char c : texto) {
        if (c == '\'') r += "'\\''";
        else r += c;
    }
    return r + "'";
}

std::string Executar(const std::string& comando) {
    FILE* p = ::popen((comando + " 2>&1").c_str(), "r");
    if (!p) throw std::runtime_error("popen failed: " + comando);
    std::string saida;
    std::array<char, 4096> bloco;
    size_t n;
    while ((n = std::fread(bloco.data(), 1, bloco.size(), p)) > 0) saida.append(bloco.data(), n);
    const int status = ::pclose(p);
    if (status != 0) throw std::runtime_error("command failed: " + comando + "\n" + saida);
    return saida;
}

void GerarWav(const std::string& destino, double segundos, int taxa, int canais, const std::string& formato) {
    CriarPastaDe(destino);
    std::ostringstream c;
    c << "sox -D -n -r " << taxa << " -c " << canais << " " << formato << " %s synth " << segundos << " sine 440";
    const std::string comando = c.str();
    PassoDeFerramenta(comando, destino, false, [&] {
        std::string com = comando;
        com.replace(com.find("%s"), 2, Aspas(destino));
        return Executar(com);
    });
}

// Encodes a fresh tone with an encoder command that takes the WAV and the destination.
void Codificar(const std::string& destino, double segundos, int taxa, int canais, const std::string& codificador) {
    CriarPastaDe(destino);
    const std::string descricao = codificador + " | " + Sinal(segundos, taxa, canais);
    PassoDeFerramenta(descricao, destino, false, [&] {
    const std::string wav = Temporario(destino, ".wav");
    std::string sinal = Sinal(segundos, taxa, canais);
    sinal.replace(sinal.find(" - "), 3, " " + Aspas(wav) + " ");
    Executar("sox -D -n -t wav " + sinal);
    try {
        Executar(codificador + " " + Aspas(wav) + " " + Aspas(destino));
    } catch (...) {
        std::remove(wav.c_str());
        throw;
    }
    std::remove(wav.c_str());
    return std::string();
    });
}

void GerarMp3(const std::string& destino, double segundos, const std::string& opcoes, int taxa, int canais) {
    Codificar(destino, segundos, taxa, canais, "lame --quiet " + opcoes);
}

void GerarMp2(const std::string& destino, double segundos, const std::string& opcoes, int taxa, int canais) {
    Codificar(destino, segundos, taxa, canais, "twolame --quiet " + opcoes);
}

std::string Python(const std::string& script, const std::string& arquivo) {
    const std::string programa =
        "import sys\nimport mutagen\nimport mutagen.id3 as m\n" + script;
    return PassoDeFerramenta("python3 " + programa, arquivo, true,
                             [&] { return Executar("/usr/bin/python3 -c " + Aspas(programa) + " " + Aspas(arquivo)); });
}

std::map<std::string, std::string> FramesMutagen(const std::string& arquivo) {
    const std::string saida = Python(R"PY(
t = m.ID3(sys.argv[1])
out = sys.stdout.buffer
out.write(("#versao\t%d.%d.%d\n" % t.version).encode())
out.write(("#tamanho\t%d\n" % t.size).encode())
for f in t.values():
    if f.FrameID == "COMM":
        v = f.text[0] if f.text else ""
    elif f.FrameID == "WXXX":
        v = f.url
    elif hasattr(f, "text"):
        v = "/".join(str(x) for x in f.text)
    else:
        continue
    out.write((f.FrameID + "\t" + v.replace("\n", " ") + "\n").encode("utf-8"))
for raw in getattr(t, "unknown_frames", []):
    ident = raw[:4].decode("latin-1")
    corpo = raw[11:].rstrip(b"\0").decode("latin-1")
    out.write((ident + "\t" + corpo + "\n").encode("utf-8"))
)PY",
                                       arquivo);
    std::map<std::string, std::string> frames;
    std::istringstream linhas(saida);
    std::string linha;
    while (std::getline(linhas, linha)) {
        const size_t tab = linha.find('\t');
        if (tab == std::string::npos) continue;
        frames[linha.substr(0, tab)] = Utf8Para1252(linha.substr(tab + 1));
    }
    return frames;
}

std::string LerBytes(const std::string& caminhoHost) {
    std::ifstream f(caminhoHost, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void GravarBytes(const std::string& caminhoHost, const std::string& conteudo) {
    std::filesystem::create_directories(std::filesystem::path(caminhoHost).parent_path());
    std::ofstream(caminhoHost, std::ios::binary | std::ios::trunc) << conteudo;
}

std::string TagID3v2Manual(int versao, uint8_t flags, const std::string& quadros, int padding, int extra) {
    const uint32_t corpo = static_cast<uint32_t>(quadros.size() + padding + extra);
    std::string t = "ID3";
    t += static_cast<char>(versao);
    t += '\0';
    t += static_cast<char>(flags);
    t += static_cast<char>((corpo >> 21) & 0x7F);
    t += static_cast<char>((corpo >> 14) & 0x7F);
    t += static_cast<char>((corpo >> 7) & 0x7F);
    t += static_cast<char>(corpo & 0x7F);
    t += quadros;
    t.append(padding, '\0');
    return t;
}

std::string QuadroManual(const std::string& id, const std::string& corpo, uint8_t flags2) {
    std::string q = id;
    const uint32_t n = static_cast<uint32_t>(corpo.size());
    if (id.size() == 3) {
        q += static_cast<char>((n >> 16) & 0xFF);
        q += static_cast<char>((n >> 8) & 0xFF);
        q += static_cast<char>(n & 0xFF);
    } else {
        q += static_cast<char>((n >> 24) & 0xFF);
        q += static_cast<char>((n >> 16) & 0xFF);
        q += static_cast<char>((n >> 8) & 0xFF);
        q += static_cast<char>(n & 0xFF);
        q += '\0';
        q += static_cast<char>(flags2);
    }
    return q + corpo;
}

std::string BlocoID3v1(const std::string& titulo, const std::string& artista, const std::string& album,
                       const std::string& ano, const std::string& comentario, int faixa, int genero) {
    std::string b(128, '\0');
    b.replace(0, 3, "TAG");
    auto por = [&](size_t pos, size_t tam, const std::string& v) { b.replace(pos, std::min(tam, v.size()), v.substr(0, tam)); };
    por(3, 30, titulo);
    por(33, 30, artista);
    por(63, 30, album);
    por(93, 4, ano);
    por(97, faixa >= 0 ? 28 : 30, comentario);
    if (faixa >= 0) {
        b[125] = '\0';
        b[126] = static_cast<char>(faixa);
    }
    b[127] = static_cast<char>(genero);
    return b;
}

}  // namespace quorvel::teste
