#include "db/deteccao_servidor.h"

#include "db/fb_consts.h"
#include "db/versao_arquivo.h"
#include "platform/arquivos.h"
#include "platform/erros.h"
#include "platform/registro.h"

namespace quorvel {

namespace {

std::string ComBarraFinal(const std::string& caminho) {
    if (!caminho.empty() && caminho.back() == '\\') return caminho;
    return caminho + "\\";
}

std::string LerValor(Registro& registro, const char* chave, const char* valor) {
    std::string resultado;
    if (registro.AbrirChaveLeitura(chave)) {
        if (registro.ValorExiste(valor)) resultado = registro.LerTexto(valor);
        registro.FecharChave();
    }
    return resultado;
}

}  // namespace

std::string DiretorioServidor() {
    Registro registro;
    std::string raiz = LerValor(registro, ChaveFirebird, ValorFirebird);
    if (raiz.empty()) raiz = LerValor(registro, ChaveInterBase, ValorInterBase);
    return raiz;
}

bool VersaoAceita(const std::string& texto) { return texto.find("2.1.3") != std::string::npos; }

VersaoDoServidor VersaoServidor() {
    const std::string raiz = DiretorioServidor();
    const std::string bin = ComBarraFinal(raiz) + "bin";
    if (raiz.empty())
        throw ServidorNaoEncontrado(
            "N\xE3o foram encontradas entradas do Firebird no registro do Windows!\r\n"
            "Verifique se o Firebird est\xE1 instalado!");
    if (!PastaExiste(raiz)) throw ServidorNaoEncontrado("Endere\xE7o n\xE3o encontrado: " + raiz);

    VersaoDoServidor versao;
    versao.Produto = ProdutoFirebird;
    std::string programa = ComBarraFinal(bin) + NomeServidor(versao.Produto, 0);
    if (!ArquivoExiste(programa)) {
        versao.Produto = ProdutoInterBase;
        programa = ComBarraFinal(bin) + NomeServidor(versao.Produto, 0);
        if (!ArquivoExiste(programa))
            throw ServidorNaoEncontrado(std::string("Arquivo n\xE3o encontrado: ") + FB_Consts[0][0] + "/" +
                                        FB_Consts[1][0]);
    }
    versao.Texto = VersaoArquivo(programa);
    versao.Verde = VersaoAceita(versao.Texto);
    return versao;
}

}  // namespace quorvel
