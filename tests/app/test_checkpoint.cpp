#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>

#include "apoio/pasta_temporaria.h"
#include "app/nucleo/checkpoint.h"
#include "migration/estado_execucao.h"
#include "platform/erros.h"
#include "platform/pasta_estado.h"

using namespace quorvel;
using teste::LerHost;
using teste::UnidadesTemporarias;

namespace {

// The program folder is C:\Quorvel\ of a temporary drive folder.
class Checkpoint : public testing::Test {
protected:
    void SetUp() override {
        unidades_.Unidade('c');
        std::filesystem::create_directories(unidades_.Unidade('c') + "/Quorvel");
        estado_.ArquivoSeq = CaminhoArquivoSeq("C:\\Quorvel\\");
    }
    std::string Host() const { return unidades_.Unidade('c') + "/Quorvel/Seq.ini"; }
    void Gravar(const std::string& conteudo) const { unidades_.Raiz().Gravar("unidades/c/Quorvel/Seq.ini", conteudo); }

    UnidadesTemporarias unidades_;
    EstadoExecucao estado_;
};

std::string MensagemDaValidacao(const std::string& arquivo, const std::string& codigo) {
    try {
        ValidarCodigoSequencia(arquivo, codigo);
    } catch (const Erro& e) {
        return e.mensagem();
    }
    return "(accepted)";
}

}  // namespace

TEST(CaminhoArquivoSeq, PastaComOuSemBarraFinal) {
    EXPECT_EQ(CaminhoArquivoSeq("C:\\Quorvel\\"), "C:\\Quorvel\\Seq.ini");
    EXPECT_EQ(CaminhoArquivoSeq("C:\\Quorvel"), "C:\\Quorvel\\Seq.ini");
}

TEST_F(Checkpoint, AusenteLeVazioEGravacaoCriaOArquivo) {
    estado_.SeqTabela = "velho";
    estado_.SeqCodigo = "1";
    EXPECT_FALSE(ExisteSequencia(estado_.ArquivoSeq));
    LerSequencia(estado_);
    EXPECT_EQ(estado_.SeqTabela, "");
    EXPECT_EQ(estado_.SeqCodigo, "");

    GravarSequencia(estado_, "TB_MUSICAS", "1234");
    EXPECT_TRUE(ExisteSequencia(estado_.ArquivoSeq));
    EXPECT_EQ(LerHost(Host()), "[SEQ]\r\nsTabela=TB_MUSICAS\r\nsCodigo=1234\r\n");
    LerSequencia(estado_);
    EXPECT_EQ(estado_.SeqTabela, "TB_MUSICAS");
    EXPECT_EQ(estado_.SeqCodigo, "1234");

    // A second write replaces both values.
    GravarSequencia(estado_.ArquivoSeq, "TB_ECAD", "-7");
    EXPECT_EQ(LerHost(Host()), "[SEQ]\r\nsTabela=TB_ECAD\r\nsCodigo=-7\r\n");
}

TEST_F(Checkpoint, LeituraNoInicioLimpaSoOQueUmaGravacaoMortaDeixou) {
    Gravar("[SEQ]\r\nsTabela=TB_ECAD\r\nsCodigo=3\r\n");
    unidades_.Raiz().Gravar("unidades/c/Quorvel/Seq.ini.~qv0a1b2c3d", "[SEQ]\r\nsTab");
    unidades_.Raiz().Gravar("unidades/c/Quorvel/Seq.ini~", "do usuario");
    unidades_.Raiz().Gravar("unidades/c/Quorvel/Outro.ini.~qv0a1b2c3d", "de outro arquivo");
    LerSequencia(estado_);
    EXPECT_EQ(estado_.SeqCodigo, "3");
    const std::string pasta = unidades_.Unidade('c') + "/Quorvel/";
    EXPECT_FALSE(std::filesystem::exists(pasta + "Seq.ini.~qv0a1b2c3d"));
    EXPECT_EQ(LerHost(pasta + "Seq.ini~"), "do usuario");
    EXPECT_TRUE(std::filesystem::exists(pasta + "Outro.ini.~qv0a1b2c3d"));
}

TEST_F(Checkpoint, TabelaECodigoNumaSoSubstituicaoDoArquivo) {
    // An older checkpoint of another table: no moment may show the new table with the old code.
    Gravar("[SEQ]\r\nsTabela=TB_AGENDA\r\nsCodigo=900\r\n");
    const int vigia = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(vigia, 0);
    inotify_add_watch(vigia, (unidades_.Unidade('c') + "/Quorvel").c_str(), IN_MOVED_TO | IN_MODIFY);
    GravarSequencia(estado_, "TB_ECAD", "3");
    alignas(inotify_event) char eventos[4096];
    const ssize_t n = read(vigia, eventos, sizeof eventos);
    close(vigia);
    int substituicoes = 0, escritasDiretas = 0;
    for (char* p = eventos; n > 0 && p < eventos + n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(p);
        if (e->len && std::string(e->name) == "Seq.ini") (e->mask & IN_MOVED_TO ? substituicoes : escritasDiretas)++;
        p += sizeof(inotify_event) + e->len;
    }
    EXPECT_EQ(substituicoes, 1);
    EXPECT_EQ(escritasDiretas, 0);
    EXPECT_EQ(LerHost(Host()), "[SEQ]\r\nsTabela=TB_ECAD\r\nsCodigo=3\r\n");
}

TEST_F(Checkpoint, ChavesSemRespeitoACaixaEArquivoSemCodigo) {
    Gravar("[seq]\r\nSTABELA = tb_ecad \r\nscodigo=  42\r\n");
    LerSequencia(estado_);
    EXPECT_EQ(estado_.SeqTabela, "tb_ecad");
    EXPECT_EQ(estado_.SeqCodigo, "42");

    // Present without a code: it exists, and both keys read empty.
    Gravar("; nada\r\n");
    EXPECT_TRUE(ExisteSequencia(estado_.ArquivoSeq));
    LerSequencia(estado_);
    EXPECT_EQ(estado_.SeqTabela, "");
    EXPECT_EQ(estado_.SeqCodigo, "");
}

TEST_F(Checkpoint, GravacaoMantemOutrasSecoesEChaves) {
    Gravar("[Outra]\r\nsCodigo=99\r\n[SEQ]\r\nsCodigo=5\r\nnota=mantida\r\nsTabela=TB_AGENDA\r\n[Fim]\r\nx=1\r\n");
    GravarSequencia(estado_, "TB_GENERO", "8");
    LerSequencia(estado_);
    EXPECT_EQ(estado_.SeqTabela, "TB_GENERO");
    EXPECT_EQ(estado_.SeqCodigo, "8");
    const std::string conteudo = LerHost(Host());
    EXPECT_NE(conteudo.find("[Outra]\r\nsCodigo=99\r\n"), std::string::npos) << conteudo;
    EXPECT_NE(conteudo.find("nota=mantida\r\n"), std::string::npos) << conteudo;
    EXPECT_NE(conteudo.find("[Fim]\r\nx=1\r\n"), std::string::npos) << conteudo;
}

TEST_F(Checkpoint, FalhaDeGravacaoDizOCaminho) {
    // Running as root, a folder without write permission would not stop the write; a program
    // "folder" that is a file does.
    unidades_.Raiz().Gravar("unidades/c/Arquivo", "not a folder");
    EstadoExecucao estado;
    estado.ArquivoSeq = CaminhoArquivoSeq("C:\\Arquivo\\");
    try {
        GravarSequencia(estado, "TB_AGENDA", "1");
        ADD_FAILURE() << "no error";
    } catch (const Erro& e) {
        EXPECT_EQ(e.mensagem(), "Unable to write to C:\\Arquivo\\Seq.ini");
    }
    EXPECT_FALSE(ExisteSequencia(estado.ArquivoSeq));
    // A folder named Seq.ini is not a checkpoint file.
    std::filesystem::create_directories(Host());
    EXPECT_FALSE(ExisteSequencia(estado_.ArquivoSeq));
}

TEST(CodigoSequencia, SoInteirosDecimais) {
    for (const char* valido : {"0", "1234", "-7", "007", "-0", "123456789012345678", "2147483648"})
        EXPECT_TRUE(CodigoSequenciaValido(valido)) << valido;
    for (const char* invalido : {"", "-", "+5", " 5", "5 ", "1 2", "12a", "0x10", "$10", "1e3", "1.5", "1,5", "--1",
                                 "1234567890123456789", "1; DELETE FROM TB_MUSICAS", "0 OR 1=1", "1\t"})
        EXPECT_FALSE(CodigoSequenciaValido(invalido)) << invalido;
}

TEST(CodigoSequencia, ValidacaoNomeiaArquivoECodigo) {
    const std::string arquivo = "C:\\Quorvel\\Seq.ini";
    const std::string codigo = "42";
    EXPECT_EQ(&ValidarCodigoSequencia(arquivo, codigo), &codigo);
    EXPECT_EQ(MensagemDaValidacao(arquivo, "1; DROP TABLE TB_AGENDA"),
              "O arquivo C:\\Quorvel\\Seq.ini indica um c\xF3" "digo de registro inv\xE1lido: \"1; DROP TABLE "
              "TB_AGENDA\". O c\xF3" "digo deve ser um n\xFAmero inteiro; corrija ou apague o arquivo");
    EXPECT_NE(MensagemDaValidacao(arquivo, "").find("inv\xE1lido: \"\"."), std::string::npos);
    // A very long code is shown cut.
    const std::string longo = MensagemDaValidacao(arquivo, std::string(2047, '9'));
    EXPECT_NE(longo.find(std::string(60, '9') + "...\""), std::string::npos);
    EXPECT_LT(longo.size(), 300u);
}

// The packaged program's checkpoint lives in the user's state folder, made by its first write.
TEST(CheckpointNaPastaDeEstado, PrimeiraGravacaoCriaAPasta) {
    teste::PastaTemporaria temporaria;
    const std::string estadoHost = temporaria.Caminho() + "/estado/fundo";
    EstadoExecucao estado;
    estado.ArquivoSeq = CaminhoArquivoSeq(PastaDeEstado("/usr/bin", estadoHost.c_str(), "/home/ninguem"));
    EXPECT_EQ(estado.ArquivoSeq, estadoHost + "/quorvel2009-2010\\Seq.ini");
    EXPECT_FALSE(ExisteSequencia(estado.ArquivoSeq));
    LerSequencia(estado);
    EXPECT_EQ(estado.SeqCodigo, "");
    EXPECT_FALSE(std::filesystem::exists(estadoHost));

    GravarSequencia(estado, "TB_ECAD", "12");
    EXPECT_TRUE(ExisteSequencia(estado.ArquivoSeq));
    EXPECT_EQ(LerHost(estadoHost + "/quorvel2009-2010/Seq.ini"), "[SEQ]\r\nsTabela=TB_ECAD\r\nsCodigo=12\r\n");

    // A state folder that cannot be made fails as any other unwritable checkpoint.
    temporaria.Gravar("arquivo", "not a folder");
    estado.ArquivoSeq = CaminhoArquivoSeq(PastaDeEstado("/bin", (temporaria.Caminho() + "/arquivo").c_str(), nullptr));
    try {
        GravarSequencia(estado, "TB_ECAD", "13");
        ADD_FAILURE() << "no error";
    } catch (const Erro& e) {
        EXPECT_EQ(e.mensagem(), "Unable to write to " + temporaria.Caminho() + "/arquivo/quorvel2009-2010\\Seq.ini");
    }
}
