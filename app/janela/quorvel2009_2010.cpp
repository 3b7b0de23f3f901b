#include "app/janela/quorvel2009_2010.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QThread>
#include <QToolButton>
#include <algorithm>
#include <exception>

#include "app/janela/dlg_abrir_pasta.h"
#include "app/janela/led_bicolor.h"
#include "app/janela/texto_tela.h"
#include "db/deteccao_servidor.h"
#include "platform/caminhos.h"
#include "platform/erros.h"

namespace quorvel {

namespace {

// Lamp and version label: the label starts this many pixels right of the lamp's left edge.
constexpr int DistanciaLedRotulo = 24;
constexpr int TopoLed = 162;
constexpr int TopoRotuloVersao = 165;
// The right edge of the right-aligned overall progress label.
constexpr int DireitaInformacaoGeral = 486 + 115;

const char* const TextoInicialAtual = "Tabela:\nTotal de registros: 0\nRegistro atual: 0";
const char* const TextoInicialGeral = "Progresso Geral\nTotal de registros: 0\nRegistro atual: 0";

QToolButton* BotaoPlano(QWidget* pai, const char* nome, const QString& legenda, QStyle::StandardPixmap figura,
                        const QRect& posicao) {
    auto* botao = new QToolButton(pai);
    botao->setObjectName(nome);
    botao->setAutoRaise(true);
    botao->setFocusPolicy(Qt::NoFocus);
    botao->setIcon(pai->style()->standardIcon(figura));
    botao->setIconSize(QSize(16, 16));
    if (legenda.isEmpty()) {
        botao->setToolButtonStyle(Qt::ToolButtonIconOnly);
    } else {
        botao->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        botao->setText(legenda);  // the ampersand makes the accelerator
    }
    botao->setGeometry(posicao);
    return botao;
}

QLabel* Rotulo(QWidget* pai, const char* nome, const QString& texto, int x, int y) {
    auto* rotulo = new QLabel(texto, pai);
    rotulo->setObjectName(nome);
    rotulo->setTextFormat(Qt::PlainText);
    rotulo->move(x, y);
    rotulo->adjustSize();
    return rotulo;
}

QFont FonteNegrito(const QFont& base, int altura) {
    QFont fonte = base;
    fonte.setBold(true);
    fonte.setPixelSize(altura);
    return fonte;
}

}  // namespace

TfrmQuorvel2009_2010::TfrmQuorvel2009_2010(const std::string& pastaPrograma, QWidget* pai)
    : QWidget(pai, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    for (auto& marcada : marcadas_) marcada = true;
    nucleo_ = std::make_unique<NucleoQuorvel>(*this);
    CriarControles();
    FormCreate(pastaPrograma);
}

TfrmQuorvel2009_2010::~TfrmQuorvel2009_2010() {
    Encerrar();
    // The core's end waits for the worker; from here on it no longer reaches the window.
    nucleo_.reset();
}

void TfrmQuorvel2009_2010::CriarControles() {
    setObjectName("frmQuorvel2009_2010");
    setWindowTitle(QString::fromUtf8("Brivona Rovozozi - Quorvel 2009-2010"));
    QFont fonte;
    // MS Sans Serif where it exists, else a face of about its width.
    fonte.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Liberation Sans", "Arial",
                       "DejaVu Sans Condensed", "DejaVu Sans"});
    fonte.setPixelSize(11);
    setFont(fonte);
    setFixedSize(LarguraCliente, AlturaCliente);

    // Connection group: the two installation folders.
    grupoConexaoBaseDados = new QGroupBox(QString::fromUtf8("Conexão da Base de dados"), this);
    grupoConexaoBaseDados->setObjectName("grupoConexaoBaseDados");
    grupoConexaoBaseDados->setGeometry(8, 10, 610, 72);
    Label1 = Rotulo(grupoConexaoBaseDados, "Label1", QString::fromUtf8("Pasta da Versão 2009:"), 8, 20);
    edEndereco2009 = new QLineEdit(grupoConexaoBaseDados);
    edEndereco2009->setObjectName("edEndereco2009");
    edEndereco2009->setGeometry(120, 16, 436, 21);
    BPasta2009 = BotaoPlano(grupoConexaoBaseDados, "BPasta2009", {}, QStyle::SP_DirOpenIcon, {557, 16, 23, 21});
    BLimpar2009 =
        BotaoPlano(grupoConexaoBaseDados, "BLimpar2009", {}, QStyle::SP_LineEditClearButton, {580, 16, 23, 21});
    Label2 = Rotulo(grupoConexaoBaseDados, "Label2", QString::fromUtf8("Pasta da Versão 2010:"), 8, 44);
    edEndereco2010 = new QLineEdit(grupoConexaoBaseDados);
    edEndereco2010->setObjectName("edEndereco2010");
    edEndereco2010->setGeometry(120, 40, 436, 21);
    BPasta2010 = BotaoPlano(grupoConexaoBaseDados, "BPasta2010", {}, QStyle::SP_DirOpenIcon, {557, 40, 23, 21});
    BLimpar2010 =
        BotaoPlano(grupoConexaoBaseDados, "BLimpar2010", {}, QStyle::SP_LineEditClearButton, {580, 40, 23, 21});

    // Table group: the ten check boxes in two rows of five, and mark/unmark all.
    grupoMarcarTabelas = new QGroupBox(QString::fromUtf8("Tabelas a serem atualizadas"), this);
    grupoMarcarTabelas->setObjectName("grupoMarcarTabelas");
    grupoMarcarTabelas->setGeometry(8, 92, 610, 64);
    static constexpr QRect PosicoesCheck[QuantidadeTabelas] = {
        {4, 16, 70, 21},  {84, 16, 103, 21}, {198, 16, 87, 21}, {296, 16, 75, 21}, {382, 16, 74, 21},
        {4, 40, 70, 21},  {84, 40, 83, 21},  {198, 40, 87, 21}, {296, 40, 75, 21}, {382, 40, 74, 21},
    };
    for (int i = 0; i < QuantidadeTabelas; ++i) {
        auto* caixa = new QCheckBox(QString::fromUtf8(SequenciaMigradores[i].legenda), grupoMarcarTabelas);
        caixa->setObjectName(SequenciaMigradores[i].checkBox);
        caixa->setGeometry(PosicoesCheck[i]);
        caixa->setChecked(true);
        connect(caixa, &QCheckBox::toggled, this, [this, i](bool marcada) { marcadas_[i] = marcada; });
        CheckTB[i] = caixa;
    }
    BDesmarcarTodos = BotaoPlano(grupoMarcarTabelas, "BDesmarcarTodos", QString::fromUtf8("&Desmarcar todos"),
                                 QStyle::SP_DialogCancelButton, {472, 10, 130, 23});
    BMarcarTodos = BotaoPlano(grupoMarcarTabelas, "BMarcarTodos", QString::fromUtf8("&Marcar todos"),
                              QStyle::SP_DialogApplyButton, {472, 35, 130, 23});

    // Server version: the lamp and its label, centred together once the text is known.
    LedVersaoFB = new LedBicolor(this);
    LedVersaoFB->setObjectName("LedVersaoFB");
    LedVersaoFB->move(248, TopoLed);
    LabelVersaoFB = Rotulo(this, "LabelVersaoFB", "LabelVersaoFB", 270, TopoRotuloVersao);
    LabelVersaoFB->setFont(FonteNegrito(font(), 13));
    LabelVersaoFB->setAttribute(Qt::WA_TranslucentBackground);
    LabelVersaoFB->adjustSize();

    BAtualizar = BotaoPlano(this, "BAtualizar", QString::fromUtf8("&Atualizar"), QStyle::SP_BrowserReload,
                            {248, 186, 130, 23});

    // Progress group: never disabled.
    grupoProgresso = new QGroupBox(QString::fromUtf8("Progresso da atualização"), this);
    grupoProgresso->setObjectName("grupoProgresso");
    grupoProgresso->setGeometry(8, 210, 610, 112);
    LabelInformacaoAtual = Rotulo(grupoProgresso, "LabelInformacaoAtual", TextoInicialAtual, 9, 16);
    LabelInformacaoAtual->setFont(FonteNegrito(font(), 12));
    LabelInformacaoAtual->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelInformacaoAtual->adjustSize();
    LabelInformacaoGeral = Rotulo(grupoProgresso, "LabelInformacaoGeral", TextoInicialGeral, 486, 16);
    LabelInformacaoGeral->setFont(FonteNegrito(font(), 12));
    LabelInformacaoGeral->setAlignment(Qt::AlignRight | Qt::AlignTop);
    AjustarInformacaoGeral();
    for (auto [barra, nome, topo] : {std::tuple{&ProgressoAtual, "ProgressoAtual", 56},
                                     std::tuple{&ProgressoGeral, "ProgressoGeral", 80}}) {
        *barra = new QProgressBar(grupoProgresso);
        (*barra)->setObjectName(nome);
        (*barra)->setGeometry(8, topo, 593, 21);
        (*barra)->setRange(0, 100);
        (*barra)->setValue(0);
        (*barra)->setTextVisible(false);
        (*barra)->setFocusPolicy(Qt::TabFocus);
    }

    // The labels' last line reaches into the bar's top edge; the labels are drawn over it.
    LabelInformacaoAtual->raise();
    LabelInformacaoGeral->raise();

    BPararProcesso = BotaoPlano(this, "BPararProcesso", QString::fromUtf8("&Parar processo"), QStyle::SP_MediaStop,
                                {112, 330, 130, 23});
    BContinuarProcesso = BotaoPlano(this, "BContinuarProcesso", QString::fromUtf8("&Continuar processo"),
                                    QStyle::SP_MediaPlay, {248, 330, 130, 23});
    BCommit = BotaoPlano(this, "BCommit", QString::fromUtf8("C&ommit"), QStyle::SP_DialogSaveButton,
                         {384, 330, 130, 23});
    BPararProcesso->setEnabled(false);
    BCommit->setEnabled(false);

    // Keyboard order: the two folder fields, the ten check boxes, the two bars.
    QWidget::setTabOrder(edEndereco2009, edEndereco2010);
    QWidget* anterior = edEndereco2010;
    for (QCheckBox* caixa : CheckTB) {
        QWidget::setTabOrder(anterior, caixa);
        anterior = caixa;
    }
    QWidget::setTabOrder(anterior, ProgressoAtual);
    QWidget::setTabOrder(ProgressoAtual, ProgressoGeral);

    // The controls sit where a caption drawn on the frame's top line leaves room for them; the
    // group boxes keep that classic look whatever the desktop's style.
    if (QStyle* classico = QStyleFactory::create("Windows")) {
        classico->setParent(this);
        for (QGroupBox* grupo : {grupoConexaoBaseDados, grupoMarcarTabelas, grupoProgresso}) grupo->setStyle(classico);
    }

    dlgAbrirPasta = new DlgAbrirPasta(this);

    connect(BPasta2009, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BPasta2009Click);
    connect(BPasta2010, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BPasta2010Click);
    connect(BLimpar2009, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BLimpar2009Click);
    connect(BLimpar2010, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BLimpar2010Click);
    connect(BMarcarTodos, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BMarcarTodosClick);
    connect(BDesmarcarTodos, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BDesmarcarTodosClick);
    connect(BAtualizar, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BAtualizarClick);
    connect(BContinuarProcesso, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BContinuarProcessoClick);
    connect(BPararProcesso, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BPararProcessoClick);
    connect(BCommit, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BCommitClick);
    connect(edEndereco2009, &QLineEdit::textChanged, this, [this] { GuardarPastas(); });
    connect(edEndereco2010, &QLineEdit::textChanged, this, [this] { GuardarPastas(); });

    // At the centre of the screen.
    if (QScreen* tela = QGuiApplication::primaryScreen()) {
        const QRect area = tela->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void TfrmQuorvel2009_2010::FormCreate(const std::string& pastaPrograma) {
    try {
        nucleo_->DefinirPastaPrograma(pastaPrograma);
        dlgAbrirPasta->setPastaAtual(QString::fromUtf8(CaminhoHost(pastaPrograma)));

        const VersaoDoServidor versao = VersaoServidor();
        LabelVersaoFB->setText(TextoTela(versao.Texto));
        LabelVersaoFB->adjustSize();
        QPalette paleta = LabelVersaoFB->palette();
        paleta.setColor(QPalette::WindowText, versao.Verde ? QColor(0, 0, 0) : QColor(255, 0, 0));
        LabelVersaoFB->setPalette(paleta);
        LedVersaoFB->setEstado(versao.Verde ? LedBicolor::Estado::Estado1 : LedBicolor::Estado::Estado0);

        // Lamp and label centred as one group across the window's outer width. The frame is
        // known only once a window manager has decorated the window; until then the outer width
        // is the client width.
        const int larguraExterna = frameGeometry().width();
        const int esquerda = (larguraExterna - (LabelVersaoFB->width() + DistanciaLedRotulo)) / 2;
        LedVersaoFB->move(esquerda, TopoLed);
        LabelVersaoFB->move(esquerda + DistanciaLedRotulo, TopoRotuloVersao);

        HabilitarControles(true);
    } catch (const ServidorNaoEncontrado& e) {  // told why, the window opens as designed
        Mensagem(TituloQuorvel, e.mensagem(), TipoMensagem::Informacao);
    } catch (const std::exception& e) {
        Mensagem(TituloQuorvel, TextoRelatorioErro(e.what()), TipoMensagem::Erro);
    }
}

void TfrmQuorvel2009_2010::Acao(const std::function<void()>& acao) { nucleo_->ExecutarAcao(acao); }

void TfrmQuorvel2009_2010::EscolherPasta(QLineEdit* campo, const char* versao) {
    dlgAbrirPasta->setTexto(std::string("Brivona Rovozozi\r\rSelecione a pasta da Vers\xE3o ") + versao);
    if (!dlgAbrirPasta->Executar()) return;
    // The field shows the path text of the chosen folder (a drive path inside the drive folder).
    campo->setText(TextoTela(CaminhoWindowsDeHost(dlgAbrirPasta->pastaAtual().toStdString())));
}

void TfrmQuorvel2009_2010::BPasta2009Click() {
    Acao([this] { EscolherPasta(edEndereco2009, "2009"); });
}

void TfrmQuorvel2009_2010::BPasta2010Click() {
    Acao([this] { EscolherPasta(edEndereco2010, "2010"); });
}

void TfrmQuorvel2009_2010::BLimpar2009Click() { edEndereco2009->clear(); }
void TfrmQuorvel2009_2010::BLimpar2010Click() { edEndereco2010->clear(); }

void TfrmQuorvel2009_2010::BMarcarTodosClick() {
    Acao([this] { MarcarTabelas(true); });
}

void TfrmQuorvel2009_2010::BDesmarcarTodosClick() {
    Acao([this] { MarcarTabelas(false); });
}

void TfrmQuorvel2009_2010::BAtualizarClick() {
    Acao([this] { nucleo_->BAtualizarClick(); });
}

void TfrmQuorvel2009_2010::BContinuarProcessoClick() {
    Acao([this] { nucleo_->BContinuarProcessoClick(); });
}

void TfrmQuorvel2009_2010::BPararProcessoClick() { nucleo_->BPararProcessoClick(); }
void TfrmQuorvel2009_2010::BCommitClick() { nucleo_->BCommitClick(); }

void TfrmQuorvel2009_2010::closeEvent(QCloseEvent* evento) {
    Encerrar();
    evento->accept();
}

void TfrmQuorvel2009_2010::Encerrar() {
    {
        std::lock_guard<std::mutex> trava(esperaMutex_);
        if (fechando_) return;
        // The stop flag is raised before the worker can notice that the window is closing: a
        // worker let go first would go on copying rows until the flag came.
        if (nucleo_ && nucleo_->TrabalhadorAtivo()) nucleo_->BPararProcessoClick();
        fechando_ = true;
    }
    // A worker waiting for the window is let go; the stop flag ends the run after its row (which
    // records the checkpoint, so the run can be continued at the next start).
    esperaCv_.notify_all();
    for (auto& caixa : caixasTrabalhador_)
        if (caixa) {
            caixa->close();
            caixa->deleteLater();
        }
    caixasTrabalhador_.clear();
}

// ---------------------------------------------------------------------------------------------
// The operator port.

void TfrmQuorvel2009_2010::NaJanela(const std::function<void()>& operacao) {
    if (QThread::currentThread() == thread()) {
        operacao();
        return;
    }
    if (fechando_) return;
    auto feito = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        this,
        [this, operacao, feito] {
            if (!fechando_) operacao();
            {
                std::lock_guard<std::mutex> trava(esperaMutex_);
                *feito = true;
            }
            esperaCv_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> trava(esperaMutex_);
    esperaCv_.wait(trava, [&] { return *feito || fechando_; });
}

int TfrmQuorvel2009_2010::Caixa(const std::string& titulo, const std::string& texto, int icone, int botoes,
                                int padrao) {
    if (QThread::currentThread() == thread()) {
        // Modal to the window (owned by nothing while the window is not shown yet).
        QMessageBox caixa(static_cast<QMessageBox::Icon>(icone), TextoTela(titulo), TextoTela(texto),
                          static_cast<QMessageBox::StandardButtons>(botoes), isVisible() ? this : nullptr);
        caixa.setTextFormat(Qt::PlainText);
        caixa.setDefaultButton(static_cast<QMessageBox::StandardButton>(padrao));
        caixa.exec();
        const int resposta = caixa.standardButton(caixa.clickedButton());
        return resposta == QMessageBox::NoButton ? padrao : resposta;
    }
    if (fechando_) return padrao;
    // For the worker: a box of its own, not modal, so that the window goes on working (the
    // operator can still stop the run or close the window) while the worker waits for the answer.
    auto resposta = std::make_shared<int>(padrao);
    auto feito = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        this,
        [=, this] {
            auto sinalizar = [this, feito] {
                {
                    std::lock_guard<std::mutex> trava(esperaMutex_);
                    *feito = true;
                }
                esperaCv_.notify_all();
            };
            if (fechando_) {
                sinalizar();
                return;
            }
            auto* caixa = new QMessageBox(static_cast<QMessageBox::Icon>(icone), TextoTela(titulo), TextoTela(texto),
                                          static_cast<QMessageBox::StandardButtons>(botoes));
            caixa->setTextFormat(Qt::PlainText);
            caixa->setDefaultButton(static_cast<QMessageBox::StandardButton>(padrao));
            caixa->setWindowModality(Qt::NonModal);
            caixa->setAttribute(Qt::WA_DeleteOnClose);
            caixasTrabalhador_.push_back(caixa);
            connect(caixa, &QMessageBox::finished, this, [this, caixa, resposta, sinalizar](int) {
                const int botao = caixa->standardButton(caixa->clickedButton());
                if (botao != QMessageBox::NoButton) *resposta = botao;
                std::erase_if(caixasTrabalhador_, [caixa](const QPointer<QMessageBox>& c) { return c == caixa; });
                sinalizar();
            });
            caixa->show();
            caixa->raise();
            caixa->activateWindow();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> trava(esperaMutex_);
    esperaCv_.wait(trava, [&] { return *feito || fechando_; });
    return *resposta;
}

void TfrmQuorvel2009_2010::Mensagem(const std::string& titulo, const std::string& texto, TipoMensagem tipo) {
    QMessageBox::Icon icone = QMessageBox::Information;
    if (tipo == TipoMensagem::Aviso) icone = QMessageBox::Warning;
    if (tipo == TipoMensagem::Erro) icone = QMessageBox::Critical;
    Caixa(titulo, texto, icone, QMessageBox::Ok, QMessageBox::Ok);
}

bool TfrmQuorvel2009_2010::Perguntar(const std::string& titulo, const std::string& texto) {
    return Caixa(titulo, texto, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

bool TfrmQuorvel2009_2010::TabelaMarcada(int indice) {
    return indice >= 0 && indice < QuantidadeTabelas && marcadas_[indice];
}

void TfrmQuorvel2009_2010::MarcarTabela(int indice, bool marcada) {
    if (indice < 0 || indice >= QuantidadeTabelas) return;
    marcadas_[indice] = marcada;
    NaJanela([this, indice, marcada] { CheckTB[indice]->setChecked(marcada); });
}

void TfrmQuorvel2009_2010::GuardarPastas() {
    std::string p2009 = Utf8Para1252(edEndereco2009->text().toStdString());
    std::string p2010 = Utf8Para1252(edEndereco2010->text().toStdString());
    std::lock_guard<std::mutex> trava(pastasMutex_);
    pasta2009_ = std::move(p2009);
    pasta2010_ = std::move(p2010);
}

std::string TfrmQuorvel2009_2010::Pasta2009() {
    std::lock_guard<std::mutex> trava(pastasMutex_);
    return pasta2009_;
}

std::string TfrmQuorvel2009_2010::Pasta2010() {
    std::lock_guard<std::mutex> trava(pastasMutex_);
    return pasta2010_;
}

void TfrmQuorvel2009_2010::FocarPasta2009() {
    NaJanela([this] { edEndereco2009->setFocus(Qt::OtherFocusReason); });
}

void TfrmQuorvel2009_2010::FocarPasta2010() {
    NaJanela([this] { edEndereco2010->setFocus(Qt::OtherFocusReason); });
}

void TfrmQuorvel2009_2010::DefinirBarra(QProgressBar* barra, int maximo, int posicao) {
    // A Qt bar whose maximum equals its minimum shows a busy animation; an empty bar is wanted,
    // or a full one when rows were counted beyond a maximum of 0.
    if (maximo <= 0) {
        barra->setRange(0, 1);
        barra->setValue(posicao > 0 ? 1 : 0);
    } else {
        barra->setRange(0, maximo);
        barra->setValue(std::clamp(posicao, 0, maximo));
    }
}

void TfrmQuorvel2009_2010::AjustarInformacaoGeral() {
    // Sized to its text, keeping its right edge.
    const QSize tamanho = LabelInformacaoGeral->sizeHint();
    LabelInformacaoGeral->setGeometry(DireitaInformacaoGeral - tamanho.width(), 16, tamanho.width(), tamanho.height());
}

void TfrmQuorvel2009_2010::MostrarProgresso(const QuadroProgresso& quadro) {
    NaJanela([this, quadro] {
        maximoAtual_ = quadro.maximoAtual;
        maximoGeral_ = quadro.totalGeral;
        DefinirBarra(ProgressoAtual, quadro.maximoAtual, quadro.registroAtual);
        DefinirBarra(ProgressoGeral, quadro.totalGeral, quadro.registroGeral);
        LabelInformacaoAtual->setText(TextoTela("Tabela: " + quadro.tabelaAtual) +
                                      QString::fromUtf8("\nTotal de registros: %1\nRegistro atual: %2")
                                          .arg(quadro.maximoAtual)
                                          .arg(quadro.registroAtual));
        LabelInformacaoAtual->adjustSize();
        LabelInformacaoGeral->setText(QString::fromUtf8("Progresso Geral\nTotal de registros: %1\nRegistro atual: %2")
                                          .arg(quadro.totalGeral)
                                          .arg(quadro.registroGeral));
        AjustarInformacaoGeral();
        // Shown at once, not at the window's next idle moment: the group that holds the labels
        // and the bars is painted now, in one pass and one flush to the screen.
        grupoProgresso->repaint();
        emit progressoMostrado(quadro.registroAtual, quadro.registroGeral);
    });
}

void TfrmQuorvel2009_2010::HabilitarControles(bool habilitar, bool continuarHabilitado) {
    NaJanela([this, habilitar, continuarHabilitado] {
        if (habilitar)
            unsetCursor();
        else
            setCursor(Qt::WaitCursor);
        QWidget* controles[] = {grupoConexaoBaseDados, edEndereco2009, BPasta2009,      BLimpar2009,
                                edEndereco2010,        BPasta2010,     BLimpar2010,     grupoMarcarTabelas,
                                BDesmarcarTodos,       BMarcarTodos,   BAtualizar};
        for (QWidget* controle : controles) controle->setEnabled(habilitar);
        for (QCheckBox* caixa : CheckTB) caixa->setEnabled(habilitar);
        BContinuarProcesso->setEnabled(habilitar && continuarHabilitado);
        BPararProcesso->setEnabled(!habilitar);
        BCommit->setEnabled(!habilitar);
    });
}

void TfrmQuorvel2009_2010::DesabilitarPararCommit() {
    NaJanela([this] {
        BPararProcesso->setEnabled(false);
        BCommit->setEnabled(false);
    });
}

}  // namespace quorvel
