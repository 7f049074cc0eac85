#include "quit_box.h"

namespace pokorin {

std::unique_ptr<QMessageBox> MakeQuitBox(QWidget *parent) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, QStringLiteral("ポコリンの落下"),
                                             QStringLiteral("終了していいですか？"),
                                             QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

int QuitBox::ask(QWidget *parent) {
    return MakeQuitBox(parent)->exec() == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
}

} // namespace pokorin
