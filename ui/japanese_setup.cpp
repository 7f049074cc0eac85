#include "japanese_setup.h"

#include "window/fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace pokorin {

void SetUpJapanese(QApplication &app) {
    SetUpFonts();
    auto *translator = new QTranslator(&app);
    // Without the translations the box keeps Qt's English buttons.
    // Windows and the web carry Debian's translation inside the program.
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        translator->load(QStringLiteral(":/translations/qtbase_ja"))) {
        QApplication::installTranslator(translator);
    }
}

} // namespace pokorin
