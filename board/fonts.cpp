#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace pokorin {
namespace {

QString JapaneseGothicFamily() {
    const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
    if (families.contains(QStringLiteral("IPAPGothic"))) {
        return QStringLiteral("IPAPGothic");
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

QString SetUpFonts() {
    const QString family = JapaneseGothicFamily();
    if (!family.isEmpty()) {
        QFont::insertSubstitution(kDesignFace, family);
    }
    return family;
}

QFont DesignFont(double pointSize, bool bold) {
    QFont font(kDesignFace);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace pokorin
