// The progress refresh after every row: what reaches the screen when only what changed is painted
// equals what a repaint of the whole group shows; bars are painted only when their drawn length
// changes and labels are neither sized nor laid out again for a counter; the worker's hand-off
// allocates nothing.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPixmap>
#include <QScreen>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "apoio_janela.h"
#include "app/janela/quorvel2009_2010.h"

// Counting allocations on the threads that ask for it.
namespace {
thread_local bool contarAlocacoes = false;
thread_local long alocacoes = 0;
}  // namespace

void* operator new(std::size_t tamanho) {
    if (contarAlocacoes) ++alocacoes;
    if (void* p = std::malloc(tamanho ? tamanho : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

using namespace quorvel;
using namespace quorvel::teste;

namespace {

// A run as the core refreshes it: the start, then per migrator the reset of the current row
// (also for unchecked tables), the table's name and total, and a refresh per copied row; at the
// end everything at zero. `nome` names each frame for the pictures.
struct Quadro {
    QuadroProgresso quadro;
    std::string nome;
};

std::vector<Quadro> Execucao() {
    struct Tabela {
        std::string nome;
        int total;  // as counted
        int linhas; // as copied (rows added after the count go beyond it)
        bool marcada;
    };
    const std::vector<Tabela> tabelas = {{"TB_AGENDA", 7, 7, true},          {"TB_AVANCOMANUAL", 0, 0, false},
                                         {"TB_GENERO", 700, 700, true},     {"TB_MUSICAS", 0, 0, true},
                                         {"TB_IRRADIACAO", 150, 157, true}};
    int totalGeral = 0;
    for (const auto& t : tabelas) totalGeral += t.total;
    std::vector<Quadro> quadros;
    QuadroProgresso q;
    q.totalGeral = totalGeral;
    quadros.push_back({q, "inicio"});
    for (const auto& t : tabelas) {
        q.registroAtual = 0;
        quadros.push_back({q, "entre-" + t.nome});
        if (!t.marcada) continue;
        q.tabelaAtual = t.nome;
        q.maximoAtual = t.total;
        quadros.push_back({q, "comeco-" + t.nome});
        for (int i = 1; i <= t.linhas; ++i) {
            ++q.registroAtual;
            ++q.registroGeral;
            std::string nome;
            if (i == 1) nome = "primeira-" + t.nome;
            if (i == t.linhas / 2) nome = "meio-" + t.nome;
            if (i == t.linhas) nome = "ultima-" + t.nome;
            quadros.push_back({q, nome});
        }
    }
    quadros.push_back({QuadroProgresso{}, "fim"});
    return quadros;
}

// Counts the paint events of a widget (and those that paint it whole) and the times it is moved,
// resized or laid out.
class Observador : public QObject {
public:
    explicit Observador(QWidget* w) : w_(w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++pinturas;
            if (static_cast<QPaintEvent*>(e)->rect() == w_->rect()) ++inteiras;
        }
        if (e->type() == QEvent::Resize || e->type() == QEvent::Move) ++geometrias;
        if (e->type() == QEvent::LayoutRequest) ++leiautes;
        return false;
    }
    int pinturas = 0, inteiras = 0, geometrias = 0, leiautes = 0;

private:
    QWidget* w_;
};

class JanelaProgresso : public ::testing::Test {
protected:
    void SetUp() override { registro = std::make_unique<RegistroTeste>(unidades.Raiz(), std::string()); }

    std::unique_ptr<TfrmQuorvel2009_2010> Abrir(bool pintarTudo) {
        std::filesystem::create_directories(unidades.Raiz().Caminho() + "/programa");
        auto janela = std::make_unique<TfrmQuorvel2009_2010>(unidades.Raiz().Caminho() + "/programa");
        janela->DefinirPintarTudo(pintarTudo);
        janela->show();
        Esperar([&] { return janela->isVisible() && !janela->visibleRegion().isEmpty(); }, 5000);
        Esperar([] { return false; }, 100);  // the first paint of the whole window
        return janela;
    }

    // The pixels where two pictures of the same size differ (empty when they are equal).
    static QRect Diferenca(const QImage& a, const QImage& b) {
        QRect r;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y)) r |= QRect(x, y, 1, 1);
        return r;
    }

    // What the screen shows of the progress group: the window's pixels as they were flushed.
    static QImage Tela(TfrmQuorvel2009_2010& janela) {
        const QRect g = janela.grupoProgresso->geometry();
        return QGuiApplication::primaryScreen()->grabWindow(janela.winId(), g.x(), g.y(), g.width(), g.height()).toImage();
    }

    UnidadesTemporarias unidades;
    Respondedor respondedor;  // answers the "no database server" notice of the start
    std::unique_ptr<RegistroTeste> registro;
};

TEST_F(JanelaProgresso, PintarSoOQueMudouMostraOMesmoQuePintarTudo) {
    auto parcial = Abrir(false);
    auto completa = Abrir(true);
    const QByteArray pasta = qgetenv("QUORVEL_CAPTURA_PROGRESSO");
    int comparados = 0;
    for (const Quadro& q : Execucao()) {
        parcial->MostrarProgresso(q.quadro);
        completa->MostrarProgresso(q.quadro);
        const QImage a = Tela(*parcial), b = Tela(*completa);
        ASSERT_FALSE(a.isNull());
        if (a != b && !pasta.isEmpty()) {
            a.save(QString::fromUtf8(pasta) + "/diferente-parcial.png");
            b.save(QString::fromUtf8(pasta) + "/diferente-completa.png");
        }
        if (a != b) ASSERT_EQ(Diferenca(a, b), QRect()) << "after " << q.quadro.tabelaAtual << " row " << q.quadro.registroAtual << " (overall "
                        << q.quadro.registroGeral << ")";
        ++comparados;
        if (!pasta.isEmpty() && !q.nome.empty())
            a.save(QString::fromUtf8(pasta) + "/progresso-" + QString::fromStdString(q.nome) + ".png");
    }
    EXPECT_GT(comparados, 850);
    // The labels show what the run last set.
    EXPECT_EQ(parcial->LabelInformacaoAtual->text(), "Tabela: \nTotal de registros: 0\nRegistro atual: 0");
}

TEST_F(JanelaProgresso, UmaBarraSoEPintadaQuandoSeuComprimentoMuda) {
    auto janela = Abrir(false);
    Observador atual(janela->ProgressoAtual), geral(janela->ProgressoGeral), rotulo(janela->LabelInformacaoAtual),
        grupo(janela->grupoProgresso);
    const int linhas = 20000;
    QuadroProgresso q{"TB_IRRADIACAO", 10000, linhas, 10000, linhas};
    janela->MostrarProgresso(q);
    Esperar([] { return false; }, 50);
    const int geometrias = rotulo.geometrias;
    atual.pinturas = atual.inteiras = geral.pinturas = geral.inteiras = rotulo.pinturas = grupo.leiautes = 0;
    for (int i = 10001; i < linhas; ++i) {  // five-digit counters: the labels keep their width
        q.registroAtual = q.registroGeral = i;
        janela->MostrarProgresso(q);
    }
    Esperar([] { return false; }, 50);
    // Half of a 593-pixel bar: painted whole once per pixel its filled part grows. (The top edge
    // of the current table's bar lies under the labels' last line, and is painted with it when
    // a right-aligned line moves.)
    EXPECT_LE(atual.inteiras, 593 / 2 + 1);
    EXPECT_GE(atual.inteiras, 593 / 2 - 1);
    EXPECT_EQ(geral.inteiras, atual.inteiras);
    EXPECT_EQ(geral.pinturas, geral.inteiras);
    EXPECT_LT(atual.pinturas, (linhas - 10001) / 4);
    // The label is painted at every row, and never sized or laid out again.
    EXPECT_EQ(rotulo.pinturas, linhas - 10001);
    EXPECT_EQ(rotulo.geometrias, geometrias);
    EXPECT_EQ(grupo.leiautes, 0);
    EXPECT_EQ(janela->ProgressoAtual->value(), linhas - 1);  // the bar's value is exact all the same
}

TEST_F(JanelaProgresso, LinhaQueMudaDeLarguraRedimensionaORotulo) {
    auto janela = Abrir(false);
    QuadroProgresso q{"TB_GENERO", 9, 100, 9, 100};
    janela->MostrarProgresso(q);
    const int largura = janela->LabelInformacaoAtual->width();
    const int direita = janela->LabelInformacaoGeral->geometry().right();
    q.tabelaAtual = "TB_PERFILBOTOES_COM_NOME_LONGO";
    q.registroGeral = 100000000;
    janela->MostrarProgresso(q);
    EXPECT_GT(janela->LabelInformacaoAtual->width(), largura);
    EXPECT_EQ(janela->LabelInformacaoAtual->width(), janela->LabelInformacaoAtual->sizeHint().width());
    EXPECT_EQ(janela->LabelInformacaoGeral->geometry().right(), direita);  // right-aligned: keeps its right edge
    EXPECT_EQ(janela->LabelInformacaoGeral->width(), janela->LabelInformacaoGeral->sizeHint().width());
}

TEST_F(JanelaProgresso, AEntregaDoTrabalhadorNaoAlocaNada) {
    auto janela = Abrir(false);
    std::atomic<bool> feito{false};
    long contadas = -1;
    int mostrados = 0;
    QObject::connect(janela.get(), &TfrmQuorvel2009_2010::progressoMostrado, [&] { ++mostrados; });
    std::thread trabalhador([&] {
        QuadroProgresso q{"TB_IRRADIACAO", 0, 5000, 0, 5000};
        for (int i = 0; i < 300; ++i) {
            if (i == 20) contarAlocacoes = true;  // after the first refreshes (lazy set-ups)
            q.registroAtual = q.registroGeral = i;
            janela->MostrarProgresso(q);
        }
        contarAlocacoes = false;
        contadas = alocacoes;
        feito = true;
    });
    ASSERT_TRUE(Esperar([&] { return feito.load(); }));
    trabalhador.join();
    EXPECT_EQ(mostrados, 300);  // each one shown before the worker went on
    EXPECT_EQ(contadas, 0);
    EXPECT_EQ(janela->LabelInformacaoGeral->text(), "Progresso Geral\nTotal de registros: 5000\nRegistro atual: 299");
}

}  // namespace
