// quorvel2009_2010 with no arguments: the window and its event loop.
#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <exception>
#include <iostream>

#include "app/janela/quorvel2009_2010.h"
#include "app/janela/texto_tela.h"
#include "app/janela/traducao.h"
#include "app/programa/linha_comando.h"
#include "platform/erros.h"

namespace quorvel {

namespace {

// Any error that escapes an event handler ends up here and is shown as the standard error
// report; the program goes on.
class AplicacaoQuorvel : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* destino, QEvent* evento) override {
        try {
            return QApplication::notify(destino, evento);
        } catch (const AbortoSilencioso&) {
        } catch (const std::exception& e) {
            RelatorioErro(e.what());
        } catch (...) {
            RelatorioErro("Unknown error");
        }
        return false;
    }

private:
    static void RelatorioErro(const std::string& mensagem) {
        QMessageBox caixa(QMessageBox::Critical, TextoTela(TituloQuorvel), TextoTela(TextoRelatorioErro(mensagem)),
                          QMessageBox::Ok, QApplication::activeWindow());
        caixa.setTextFormat(Qt::PlainText);
        caixa.exec();
    }
};

bool HaTela() {
    for (const char* variavel : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* valor = std::getenv(variavel);
        if (valor && *valor) return true;
    }
    return false;
}

}  // namespace

int ExecutarJanela(int argc, char** argv) {
    // Without a display Qt would end the process; explain the other front ends instead.
    if (!HaTela()) {
        std::cerr << "quorvel2009_2010: no display for the window (DISPLAY is not set).\n\n";
        MostrarUso(std::cerr);
        return 2;
    }
    AplicacaoQuorvel aplicacao(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8("Quorvel 2009-2010"));
    TraduzirQt();
    // The program's folder holds the checkpoint file.
    const std::string pastaPrograma = Utf8Para1252(QCoreApplication::applicationDirPath().toStdString());
    TfrmQuorvel2009_2010 frmQuorvel2009_2010(pastaPrograma);
    frmQuorvel2009_2010.show();
    return aplicacao.exec();
}

}  // namespace quorvel
