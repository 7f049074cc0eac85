#pragma once

class QApplication;

namespace pokorin {

// Everything the Japanese interface needs from the application: the font
// substitution and Qt's own Japanese texts ("はい", "いいえ").
void SetUpJapanese(QApplication &app);

} // namespace pokorin
