#pragma once

#include <QPushButton>

namespace pokorin {

// A push button that Enter and keypad Enter click when it has the focus, as
// Space does and as on Windows, whose conventions the windows follow.
class EnterButton final : public QPushButton {
    Q_OBJECT

public:
    EnterButton(const QString &caption, QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace pokorin
