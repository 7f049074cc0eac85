#include "quit_box.h"

#include "core/shown_texts.h"

namespace pokorin {

std::unique_ptr<QMessageBox> MakeQuitBox(QWidget *parent) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, kQuitBoxTitle, kQuitQuestion,
                                             QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

// Modal to the whole program, the help window included, as exec() would be;
// the box answers by its signal, which needs no nested event loop.
void QuitBox::ask(QWidget *parent, std::function<void(bool yes)> answered) {
    QMessageBox *box = MakeQuitBox(parent).release();
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QMessageBox::finished, box, [box, answered = std::move(answered)] {
        answered(box->clickedButton() == box->button(QMessageBox::Yes));
    });
    box->show();
}

} // namespace pokorin
