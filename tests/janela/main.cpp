// The window's tests run on Qt's offscreen platform unless a display is asked for.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/janela/traducao.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacao(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QString::fromUtf8("Quorvel 2009-2010"));
    quorvel::TraduzirQt();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
