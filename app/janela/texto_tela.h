#pragma once
// Windows-1252 texts of the core as the window shows them: UTF-8 QStrings whose line breaks
// (CR LF, or a lone CR as the system writes them) are plain line feeds.
#include <QString>
#include <string>

#include "platform/texto.h"

namespace quorvel {

inline QString TextoTela(const std::string& texto1252) {
    QString tela = QString::fromStdString(Utf8De1252(texto1252));
    tela.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    tela.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return tela;
}

}  // namespace quorvel
