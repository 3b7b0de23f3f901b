// The usage text of --help and of a wrong command line, in the operator's language.
#include "app/programa/linha_comando.h"
#include "platform/texto.h"

namespace quorvel {

void MostrarUso(std::ostream& saida) {
    // Windows-1252 like every text of the program; the terminal gets UTF-8.
    static const char* const Uso =
        "Quorvel 2009-2010: leva os dados de uma instala\xE7\xE3o 2009 para uma instala\xE7\xE3o 2010.\n"
        "\n"
        "Uso:\n"
        "  quorvel2009_2010\n"
#ifdef _WIN32
        "      (sem janela nesta vers\xE3o para Windows: o Qt para Windows n\xE3o faz parte dela).\n"
#else
        "      abre a janela.\n"
#endif
        "  quorvel2009_2010 --sem-janela --pasta-2009 PASTA --pasta-2010 PASTA\n"
        "                   [--tabelas Agenda,Musicas,...] [--continuar] [--sim]\n"
        "                   [--relatorio ARQUIVO] [--verificar]\n"
        "      atualiza sem janela, no terminal (com --verificar, s\xF3 prev\xEA).\n"
        "  quorvel2009_2010 --info-audio ARQUIVO...\n"
        "      mostra as informa\xE7\xF5" "es de \xE1udio de cada arquivo, um objeto JSON por linha.\n"
        "  quorvel2009_2010 --help\n"
        "      mostra este texto.\n"
        "\n"
        "Op\xE7\xF5" "es de --sem-janela:\n"
        "  --pasta-2009 PASTA   pasta da instala\xE7\xE3o 2009 (a do Base.ini), por exemplo 'D:\\Radio2009'\n"
        "  --pasta-2010 PASTA   pasta da instala\xE7\xE3o 2010 (a do BaseAudio.ini e do BaseAdm.ini)\n"
        "  --tabelas LISTA      tabelas a atualizar, separadas por v\xEDrgulas, sem distin\xE7\xE3o de\n"
        "                       mai\xFAsculas: Agenda, AvancoManual, PerfilBotoes, Botoneira, Genero,\n"
        "                       Musicas, Ecad, Irradiacao, ProgAuto, Vinhetas (todas, quando ausente)\n"
        "  --continuar          continua o processo interrompido, como \"Continuar processo\"\n"
        "  --sim                responde Sim \xE0 pergunta de recome\xE7" "ar o processo\n"
        "  --relatorio ARQUIVO  grava o relat\xF3rio da atualiza\xE7\xE3o em ARQUIVO\n"
        "                       (padr\xE3o: ao lado do Seq.ini, com a data e a hora no nome)\n"
        "  --verificar          n\xE3o atualiza: prev\xEA o que a atualiza\xE7\xE3o encontraria (registros\n"
        "                       que falhariam ou ficariam de fora, arquivos ausentes ou renomeados)\n"
        "                       sem gravar nada; sai com 0 se nenhum registro falharia, 1 se algum\n"
        "                       falharia; s\xF3 grava o relat\xF3rio com --relatorio\n"
#ifdef _WIN32
        "Ctrl+C, Ctrl+Break ou fechar o console param a atualiza\xE7\xE3o ap\xF3s o registro atual;\n"
        "a tecla C pede um commit.\n"
#else
        "Ctrl+C, SIGTERM ou SIGHUP param a atualiza\xE7\xE3o ap\xF3s o registro atual; SIGUSR1 pede um commit.\n"
#endif
        "\n"
        "Ambiente:\n"
        "  QUORVEL_UNIDADES     pasta das unidades: 'C:\\...' \xE9 $QUORVEL_UNIDADES/c/...\n"
        "                       (padr\xE3o ~/.quorvel/unidades)\n"
        "  QUORVEL_REGISTRO     arquivo exportado do registro do Windows\n"
        "                       (padr\xE3o /etc/quorvel/registro.reg)\n"
        "  XDG_STATE_HOME       pasta de estado do usu\xE1rio (padr\xE3o ~/.local/state)\n"
        "\n"
        "O ponto de continua\xE7\xE3o Seq.ini e os relat\xF3rios ficam na pasta do programa;\n"
        "instalado em /usr/bin, /usr/local/bin ou /bin, em $XDG_STATE_HOME/quorvel2009-2010.\n"
        "\n"
        "Sa\xED" "da: 0 sucesso, 1 atualiza\xE7\xE3o interrompida, 2 in\xED" "cio recusado ou erro\n"
        "(--verificar: 1 quando algum registro falharia; --info-audio: 1 quando falta um\n"
        "arquivo, 2 sem arquivos).\n"
        "Mais em man quorvel2009_2010.\n";
    saida << Utf8De1252(Uso);
}

}  // namespace quorvel
