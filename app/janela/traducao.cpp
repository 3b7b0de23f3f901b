#include "app/janela/traducao.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quorvel {

void TraduzirQt() {
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    auto* traducao = new QTranslator(QCoreApplication::instance());
    if (traducao->load(QLocale(QLocale::Portuguese, QLocale::Brazil), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traducao);
    else
        delete traducao;
}

}  // namespace quorvel
