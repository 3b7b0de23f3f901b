// Makes the seed files of the fuzz targets from real material: MP3 files encoded by lame (CBR,
// VBR with Xing/LAME headers, mono, MPEG 2 and 2.5, with lame's ID3v1 and ID3v2 tags), MPEG Layer
// II files by twolame, ID3v2.2/2.3/2.4 tags written by mutagen (UTF-16 and Latin-1 texts, COMM,
// WXXX, fallbacks, the station's own frames), WAV files by sox (PCM, a-law with a fact chunk, IMA
// ADPCM), Windows executables with and without version resources by binutils-mingw-w64, and
// their VS_VERSIONINFO blocks on their own. The committed text seeds of a target (INI files,
// registry export files, codes, times) are copied too, and each registry export also goes out in
// UTF-16LE with a byte-order mark, as regedit writes version 5 files.
//
//   gerar_sementes FOLDER     writes FOLDER/<target>/<seed>; a missing tool only skips its seeds
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "apoio/audio_amostras.h"
#include "apoio/executavel_pe.h"
#include "apoio/pasta_temporaria.h"
#include "platform/utf16.h"
#include "platform/versao_pe.h"

namespace fs = std::filesystem;
using namespace quorvel;

namespace {

const std::vector<std::string> AlvosAudio = {"id3v1", "id3v2", "mpeg", "wav", "info_audio"};

class Sementes {
public:
    explicit Sementes(std::string pasta) : pasta_(std::move(pasta)) {}

    void Gravar(const std::string& alvo, const std::string& nome, const std::string& conteudo) {
        teste::GravarBytes(pasta_ + "/" + alvo + "/" + nome, conteudo);
        ++contagem_[alvo];
    }
    void GravarAudio(const std::string& nome, const std::string& conteudo) {
        for (const auto& alvo : AlvosAudio) Gravar(alvo, nome, conteudo);
    }
    // Runs one maker; a missing tool or a failing one is reported and its seeds skipped.
    void Tentar(const char* descricao, const std::function<void()>& fazer) {
        try {
            fazer();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "seeds: %s skipped: %s\n", descricao, e.what());
        }
    }
    void Resumo() const {
        for (const auto& [alvo, n] : contagem_) std::printf("seeds: %-11s %d\n", alvo.c_str(), n);
    }

private:
    std::string pasta_;
    std::map<std::string, int> contagem_;
};

void Exigir(std::initializer_list<const char*> ferramentas) {
    const std::string ausentes = teste::FerramentasAusentes(ferramentas);
    if (!ausentes.empty()) throw std::runtime_error("missing " + ausentes);
}

void Mp3(Sementes& s, const std::string& trabalho) {
    Exigir({"sox", "lame"});
    const struct {
        const char* nome;
        const char* opcoes;
        int taxa, canais;
    } variantes[] = {
        {"cbr128.mp3", "-b 128", 44100, 2},
        {"cbr320_crc.mp3", "-b 320 -p", 48000, 2},
        {"vbr_v2.mp3", "-V 2", 44100, 2},
        {"vbr_mono.mp3", "-m m -V 5", 32000, 1},
        {"mpeg2_cbr48.mp3", "--resample 22.05 -b 48", 44100, 2},
        {"mpeg25_cbr8.mp3", "--resample 8 -b 8", 44100, 1},
        {"abr_sem_xing.mp3", "--abr 96 -t", 44100, 2},
        {"id3v1.mp3", "-b 64 --id3v1-only --tt Titulo --ta Artista --tl Album --ty 1999 --tc Comentario "
                      "--tn 7 --tg Samba", 44100, 2},
        {"id3v2.mp3", "-V 4 --id3v2-only --tt T\xC3\xADtulo --ta Artista --tl Album --ty 2004 --tn 3/12 "
                      "--tg Rock --tc Coment\xC3\xA1rio", 44100, 2},
    };
    for (const auto& v : variantes) {
        const std::string f = trabalho + "/" + v.nome;
        teste::GerarMp3(f, 0.4, v.opcoes, v.taxa, v.canais);
        s.GravarAudio(v.nome, teste::LerBytes(f));
    }
}

void Mp2(Sementes& s, const std::string& trabalho) {
    Exigir({"sox", "twolame"});
    const std::string a = trabalho + "/estereo.mp2", b = trabalho + "/mono.mp2";
    teste::GerarMp2(a, 0.4, "-b 192");
    teste::GerarMp2(b, 0.4, "-m m -b 64", 22050, 1);
    s.GravarAudio("estereo.mp2", teste::LerBytes(a));
    s.GravarAudio("mono_mpeg2.mp2", teste::LerBytes(b));
}

void Mutagen(Sementes& s, const std::string& trabalho) {
    Exigir({"sox", "lame", "mutagen"});
    const std::string quadros = R"PY(
def proprio(ident, texto, cod=0):
    return type(ident, (m.TextFrame,), {})(encoding=cod, text=texto)
t = m.ID3()
t.add(m.TIT2(encoding=1, text="Can\u00e7\u00e3o \u20ac"))
t.add(m.TPE1(encoding=0, text="Jo\u00e3o"))
t.add(m.TALB(encoding=1, text="Ao vivo"))
t.add(m.TRCK(encoding=0, text="3/12"))
t.add(m.TYER(encoding=0, text="1998"))
t.add(m.TDRC(encoding=0, text="2004-05-06"))
t.add(m.TCON(encoding=0, text="(17)Rock"))
t.add(m.COMM(encoding=1, lang="por", desc="nota", text="primeiro"))
t.add(m.TCOM(encoding=0, text="Compositor"))
t.add(m.TENC(encoding=0, text="Codificador"))
t.add(m.TCOP(encoding=0, text="(c) 1998"))
t.add(m.TLAN(encoding=0, text="por"))
t.add(m.WXXX(encoding=0, desc="site", url="http://radio.example/"))
t.add(m.TIT1(encoding=0, text="Grupo"))
t.add(m.TOPE(encoding=1, text="Original"))
t.add(m.TOAL(encoding=0, text="Album original"))
for i, ident in enumerate(["TRIT", "TINT", "TEXT", "TEST", "TIDM", "TCAR", "TVIN", "TMXI", "TMXF",
                           "TRFI", "TRFF", "TCAD", "TSUC", "TGRA", "TVOC", "TTPE", "TPIN", "TPFI", "TPMI"]):
    t.add(proprio(ident, ident.lower() + " valor", i % 2))
)PY";
    // mutagen writes versions 2.3 and 2.4; version 2.2 is made by hand (TagsManuais).
    for (int versao : {3, 4}) {
        const std::string nome = "mutagen_v2" + std::to_string(versao) + ".mp3";
        const std::string f = trabalho + "/" + nome;
        teste::GerarMp3(f, 0.4, versao == 4 ? "-V 2" : "-b 96");
        teste::Python(quadros + "t.save(sys.argv[1], v2_version=" + std::to_string(versao) + ")\n", f);
        s.GravarAudio(nome, teste::LerBytes(f));
    }
    // UTF-8 and UTF-16BE texts, which the reader leaves out for their fallbacks, and an ID3v1 too.
    const std::string f = trabalho + "/mutagen_utf8.mp3";
    teste::GerarMp3(f, 0.4, "-b 128");
    teste::Python(R"PY(
t = m.ID3()
t.add(m.TIT2(encoding=3, text="T\u00edtulo UTF-8"))
t.add(m.TPE1(encoding=2, text="UTF-16BE"))
t.add(m.TALB(encoding=0, text=""))
t.add(m.TRCK(encoding=0, text="A1"))
t.save(sys.argv[1], v2_version=4, v1=2)
)PY",
                  f);
    s.GravarAudio("mutagen_utf8_id3v1.mp3", teste::LerBytes(f));
}

// Tags of what no tool writes: version 2.2 with the shared "TRI" frame, a footer, a frame
// compressed in 2.3, a size beyond the file, in front of a real stream when there is one.
void TagsManuais(Sementes& s, const std::string& trabalho) {
    std::string fluxo;
    try {
        Exigir({"sox", "lame"});
        const std::string f = trabalho + "/curto.mp3";
        teste::GerarMp3(f, 0.2, "-b 128");
        fluxo = teste::LerBytes(f);
    } catch (const std::exception&) {
        const std::string cabecalho("\xFF\xFB\x90\x64", 4);
        for (int i = 0; i < 12; ++i) fluxo += cabecalho + std::string(413, static_cast<char>(i));
    }
    const std::string v22 = teste::QuadroManual("TT2", std::string(1, '\0') + "T\xEDtulo") +
                            teste::QuadroManual("TRI", std::string(1, '\0') + "Ritmo") +
                            teste::QuadroManual("COM", std::string("\0por\0texto", 10)) +
                            teste::QuadroManual("TCO", std::string(1, '\0') + "(17)");
    s.GravarAudio("manual_v22.mp3", teste::TagID3v2Manual(2, 0, v22, 20) + fluxo);
    const std::string v23 = teste::QuadroManual("TIT2", std::string("\x01\xFF\xFEX\0Y\0", 7)) +
                            teste::QuadroManual("TPE1", std::string("\0comprimido", 11), 0x80) +
                            teste::QuadroManual("TALB", std::string(600, 'a'));
    s.GravarAudio("manual_v23.mp3", teste::TagID3v2Manual(3, 0, v23, 30) + fluxo);
    s.GravarAudio("manual_rodape.mp3", teste::TagID3v2Manual(4, 0x10, v23, 0) + std::string("3DI\x04\0\x10", 6) +
                                           std::string(4, '\0') + fluxo);
    s.GravarAudio("manual_tamanho_alem.mp3", teste::TagID3v2Manual(3, 0, v23, 0, 1 << 20) + fluxo);
    s.GravarAudio("manual_lame_fim.mp3",
                  fluxo + "LAME3.98" + teste::BlocoID3v1("a", "b", "c", "2001", "d", 0, 147));
}

void Wav(Sementes& s, const std::string& trabalho) {
    Exigir({"sox"});
    const struct {
        const char* nome;
        int taxa, canais;
        const char* formato;
    } variantes[] = {
        {"pcm16_estereo.wav", 44100, 2, "-b 16 -e signed-integer"},
        {"pcm8_mono.wav", 8000, 1, "-b 8 -e unsigned-integer"},
        {"alaw_fact.wav", 8000, 1, "-e a-law"},
        {"ima_adpcm.wav", 22050, 1, "-e ima-adpcm"},
        {"float_estereo.wav", 32000, 2, "-e floating-point -b 32"},
    };
    for (const auto& v : variantes) {
        const std::string f = trabalho + "/" + v.nome;
        teste::GerarWav(f, 0.1, v.taxa, v.canais, v.formato);
        s.GravarAudio(v.nome, teste::LerBytes(f));
    }
}

void Executaveis(Sementes& s, const std::string& trabalho) {
    teste::RecursoVersao completo;
    completo.valores = {{"CompanyName", "Firebird Project"},  {"FileDescription", "Firebird Server"},
                        {"FileVersion", "2.1.3.18185"},       {"InternalName", "fbserver"},
                        {"LegalCopyright", "Firebird \xA9"},   {"LegalTrademarks", "\xAE"},
                        {"OriginalFilename", "fbserver.exe"}, {"ProductName", "Firebird SQL Server"},
                        {"ProductVersion", "2.1.3"},          {"Comments", std::string(300, 'c')}};
    teste::RecursoVersao outraLingua = teste::RecursoServidor("Servidor", "2.5.0");
    outraLingua.bloco = "041604E4";
    outraLingua.traducao = "0x416, 1252";
    const struct {
        const char* nome;
        std::optional<teste::RecursoVersao> recurso;
        bool pe32;
    } variantes[] = {
        {"fbserver_213.exe", teste::RecursoServidor("Firebird Server", "2.1.3.18185"), false},
        {"fbserver_pe32.exe", teste::RecursoServidor("InterBase Server", "7.5.1"), true},
        {"completo.exe", completo, false},
        {"outra_lingua.exe", outraLingua, false},
        {"sem_recurso.exe", std::nullopt, false},
    };
    for (const auto& v : variantes) {
        const std::string f = trabalho + "/" + v.nome;
        teste::CriarExecutavelWindows(f, v.recurso, v.pe32);
        s.Gravar("versao_pe", v.nome, teste::LerBytes(f));
        // The version block alone feeds the block reader directly.
        if (const auto bloco = LerInformacaoVersao(f))
            s.Gravar("versao_pe", std::string(v.nome) + ".bloco", *bloco);
    }
}

void Fixas(Sementes& s, const std::string& origem) {
    if (!fs::is_directory(origem)) return;
    for (const auto& alvo : fs::directory_iterator(origem)) {
        if (!alvo.is_directory()) continue;
        const std::string nome = alvo.path().filename().string();
        for (const auto& arquivo : fs::directory_iterator(alvo.path())) {
            const std::string conteudo = teste::LerBytes(arquivo.path().string());
            const std::string base = arquivo.path().filename().string();
            s.Gravar(nome, base, conteudo);
            if (nome == "registro") {
                std::string utf16 = "\xFF\xFE";
                for (char16_t c : Utf16De1252(conteudo)) {
                    utf16 += static_cast<char>(c & 0xFF);
                    utf16 += static_cast<char>(c >> 8);
                }
                s.Gravar(nome, base + ".utf16", utf16);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gerar_sementes FOLDER\n");
        return 2;
    }
    Sementes s(argv[1]);
    teste::PastaTemporaria trabalho;
    const std::string t = trabalho.Caminho();
    s.Tentar("lame", [&] { Mp3(s, t); });
    s.Tentar("twolame", [&] { Mp2(s, t); });
    s.Tentar("mutagen", [&] { Mutagen(s, t); });
    s.Tentar("hand-made tags", [&] { TagsManuais(s, t); });
    s.Tentar("sox", [&] { Wav(s, t); });
    s.Tentar("mingw", [&] { Executaveis(s, t); });
    s.Tentar("committed seeds", [&] { Fixas(s, QUORVEL_SEMENTES_FIXAS); });
    s.Resumo();
    return 0;
}
