#pragma once

#include <QFont>
#include <QString>

namespace pokorin {

// The face every Japanese text of the program is designed in.
inline const QString kDesignFace = QStringLiteral("ＭＳ Ｐゴシック");

// Maps the design face to an installed Japanese gothic face, IPAPGothic when
// it is there, for the whole program. Needs a running QGuiApplication.
void SetUpFonts();

// The design face at the given size and weight.
QFont DesignFont(double pointSize, bool bold);

} // namespace pokorin
