#pragma once
// Qt's own texts (dialog buttons, the folder browser) in Brazilian Portuguese, like the rest of
// the window. Without the translation files installed they stay in English.
namespace quorvel {

// Installs Qt's Brazilian Portuguese translation into the running application and makes
// Brazilian Portuguese the default locale. Call after the QApplication exists.
void TraduzirQt();

}  // namespace quorvel
