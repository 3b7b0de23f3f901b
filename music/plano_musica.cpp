#include "music/plano_musica.h"

#include "music/pastas.h"
#include "platform/caminhos.h"
#include "platform/texto.h"

namespace quorvel {

LinhaMusica LerLinhaMusica(TIBQuery& origem) {
    LinhaMusica l;
    l.interprete = origem.FieldByName("mus_interprete").AsString();
    l.titulo = origem.FieldByName("mus_nome").AsString();
    l.extensao = origem.FieldByName("mus_extensao").AsString();
    l.dispositivo = origem.FieldByName("mus_dispositivo").AsString();
    l.drive = origem.FieldByName("mus_drive").AsString();
    l.compositor = origem.FieldByName("mus_compositor").AsString();
    l.genero = origem.FieldByName("gen_codigo").AsInteger();
    l.codigo = origem.FieldByName("mus_codigo").AsInteger();
    return l;
}

PlanoMusica PlanejarCadastro(const LinhaMusica& linha, DestinoMusica destino, const std::string& servidor) {
    PlanoMusica p;
    p.linha = linha;
    p.destino = std::move(destino);
    p.caminho = CaminhoServidor(p.destino.pasta, servidor);
    p.pastaDeRede = CaminhoDeRedeDireta(p.caminho);
    p.completo = p.caminho + p.destino.arquivo;
    p.extensao = ExtrairExtensao(p.completo);
    p.reescreveTag = MaiusculasAscii(p.extensao) == ".MP3";
    return p;
}

PlanoMusica PlanejarMusica(const LinhaMusica& linha, const std::string& pasta2010, const std::string& servidor) {
    return PlanejarCadastro(linha,
                            PlanejarArquivoMusica(pasta2010, linha.drive, linha.dispositivo, linha.interprete,
                                                  linha.titulo, linha.extensao),
                            servidor);
}

ValoresTag ValoresTagMusica(const PlanoMusica& plano) {
    ValoresTag v;
    v[TID3v2::SlotTitle] = plano.linha.titulo;
    v[TID3v2::SlotArtist] = plano.linha.interprete;
    v[TID3v2::SlotComposer] = plano.linha.compositor;
    v[TID3v2::SlotTSUC] = PlanoMusica::Sucesso;
    v[TID3v2::SlotTEXT] = plano.extensao;
    return v;
}

}  // namespace quorvel
