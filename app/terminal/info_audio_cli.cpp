// quorvel2009_2010 --info-audio FILE...: the audio information record of each file as one JSON
// object per line.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>

#include "app/programa/linha_comando.h"
#include "music/info_audio.h"
#include "platform/arquivos.h"
#include "platform/erros.h"
#include "platform/programa.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

void AcrescentarJson(std::string& saida, std::string_view utf8) {
    saida += '"';
    for (unsigned char c : utf8) {
        switch (c) {
            case '"': saida += "\\\""; break;
            case '\\': saida += "\\\\"; break;
            case '\n': saida += "\\n"; break;
            case '\r': saida += "\\r"; break;
            case '\t': saida += "\\t"; break;
            case '\b': saida += "\\b"; break;
            case '\f': saida += "\\f"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    saida += escape;
                } else {
                    saida += static_cast<char>(c);
                }
        }
    }
    saida += '"';
}

// The shortest text that reads back as the same double.
std::string NumeroJson(double valor) {
    if (!std::isfinite(valor)) return "0";
    char texto[64];
    const auto fim = std::to_chars(texto, texto + sizeof texto, valor);
    return std::string(texto, fim.ptr);
}

}  // namespace

int ExecutarInfoAudio(int argc, char** argv) {
    if (argc < 1) {
        MostrarUso(std::cerr);
        return 2;
    }
    const ConsoleUtf8 console;
    SaidaPadraoBinaria();
    int status = 0;
    for (int i = 0; i < argc; ++i) {
        const std::string dado = argv[i];
        const std::string caminho = Utf8Para1252(dado);
        ArquivoAudio audio(caminho);
        try {
            audio.LerInfoAudio();
            if (!ArquivoExiste(caminho)) {
                std::cerr << dado << ": arquivo n\xC3\xA3o encontrado\n";
                status = 1;
            }
        } catch (const std::exception& erro) {
            std::cerr << dado << ": " << Utf8De1252(erro.what()) << '\n';
            status = 1;
        }
        std::string linha = "{\"arquivo\":";
        AcrescentarJson(linha, dado);
        for (const CampoTag& campo : CamposTag) {
            linha += ",\"";
            linha += campo.nome;
            linha += "\":";
            AcrescentarJson(linha, Utf8De1252(campo.Valor(audio.InfoAudio())));
        }
        linha += ",\"Duration\":";
        linha += NumeroJson(audio.Duracao());
        linha += "}\n";
        std::cout << linha;
    }
    std::cout.flush();
    return status;
}

}  // namespace quorvel
