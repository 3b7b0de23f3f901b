#include "apoio_janela.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QThread>
#include <cstdlib>
#include <filesystem>

#include "apoio/executavel_pe.h"
#include "app/janela/dlg_abrir_pasta.h"

namespace quorvel::teste {

Respondedor::Respondedor() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Varrer(); });
    timer_.start(10);
}

Respondedor::~Respondedor() { timer_.stop(); }

std::vector<QMessageBox*> Respondedor::CaixasAbertas() {
    std::vector<QMessageBox*> caixas;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* caixa = qobject_cast<QMessageBox*>(w); caixa && caixa->isVisible()) caixas.push_back(caixa);
    return caixas;
}

void Respondedor::Varrer() {
    if (pausado) return;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible()) continue;
        if (auto* caixa = qobject_cast<QMessageBox*>(w)) {
            QMessageBox::StandardButtons botoes = caixa->standardButtons();
            QMessageBox::StandardButton padrao = QMessageBox::NoButton;
            if (auto* b = caixa->defaultButton()) padrao = caixa->standardButton(b);
            caixas_.push_back({caixa->windowTitle(), caixa->text(), caixa->icon(), botoes, padrao,
                               caixa->isModal() || caixa->windowModality() != Qt::NonModal,
                               caixa->parentWidget() == nullptr});
            QAbstractButton* botao = caixa->button(botoes.testFlag(QMessageBox::Yes) ? resposta : QMessageBox::Ok);
            if (!botao) botao = caixa->buttons().value(0);
            botao->click();
        } else if (auto* navegador = qobject_cast<DlgAbrirPasta*>(w)) {
            if (aoNavegador)
                aoNavegador(*navegador);
            else
                navegador->reject();
        }
    }
}

std::vector<QString> Respondedor::Textos() const {
    std::vector<QString> textos;
    for (const auto& c : caixas_) textos.push_back(c.texto);
    return textos;
}

bool Esperar(const std::function<bool()>& condicao, int limiteMs) {
    QElapsedTimer relogio;
    relogio.start();
    while (!condicao()) {
        if (relogio.elapsed() > limiteMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

RegistroTeste::RegistroTeste(const PastaTemporaria& pasta, const std::string& raizFirebird) {
    if (const char* v = std::getenv("QUORVEL_REGISTRO")) anterior_ = v, tinhaAnterior_ = true;
    std::string arquivo = pasta.Caminho() + "/registro.reg";
    std::filesystem::remove(arquivo);
    if (!raizFirebird.empty()) {
        std::string escapado;
        for (char c : raizFirebird) escapado += c == '\\' ? std::string("\\\\") : std::string(1, c);
        pasta.Gravar("registro.reg",
                     "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Firebird Project\\Firebird Server\\Instances]\r\n"
                     "\"DefaultInstance\"=\"" + escapado + "\"\r\n");
    }
    ::setenv("QUORVEL_REGISTRO", arquivo.c_str(), 1);
}

RegistroTeste::~RegistroTeste() {
    if (tinhaAnterior_)
        ::setenv("QUORVEL_REGISTRO", anterior_.c_str(), 1);
    else
        ::unsetenv("QUORVEL_REGISTRO");
}

std::string InstalarServidor(const UnidadesTemporarias& unidades, const std::string& descricao,
                             const std::string& versao) {
    const std::string bin = unidades.Unidade('c') + "/Firebird/bin";
    std::filesystem::create_directories(bin);
    CriarExecutavelWindows(bin + "/fbserver.exe", RecursoServidor(descricao, versao));
    return "C:\\Firebird\\";
}

}  // namespace quorvel::teste
