#include "fonts.h"

#include <QDir>
#include <QFontDatabase>
#include <QStringList>

namespace pokorin {
namespace {

// The design face itself where the system has it (Windows), else the closest
// free match, else a Japanese gothic face that Windows ships, else any.
QString JapaneseGothicFamily() {
    const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
    for (const QString &family :
         {kDesignFace, QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
          QStringLiteral("Meiryo"), QStringLiteral("Yu Gothic")}) {
        if (families.contains(family)) {
            return family;
        }
    }
    for (const QString &family : families) {
        if (family.contains(QStringLiteral("Gothic"), Qt::CaseInsensitive) ||
            family.contains(QStringLiteral("ゴシック")) ||
            family.contains(QStringLiteral("Sans"))) {
            return family;
        }
    }
    return families.value(0);
}

} // namespace

void SetUpFonts() {
    // A page has no fonts of its own: the web build carries its face inside.
    const QDir bundled(QStringLiteral(":/fonts"));
    for (const QString &file : bundled.entryList(QDir::Files)) {
        QFontDatabase::addApplicationFont(bundled.filePath(file));
    }
    const QString family = JapaneseGothicFamily();
    if (!family.isEmpty() && family != kDesignFace) {
        QFont::insertSubstitution(kDesignFace, family);
    }
}

// The face has every character the windows show, kana and kanji as well as
// digits: one match of it serves all scripts, where merging in fallbacks
// would look the face up again for each script of each size.
QFont DesignFont(double pointSize, bool bold) {
    QFont font(kDesignFace);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

} // namespace pokorin
