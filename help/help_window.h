#pragma once

#include <QWidget>

class QPushButton;

namespace pokorin {

class PictureBox;

// The help window: the problem and how to operate the program, printed
// afresh each time the window becomes active. Closing it destroys it.
class Form2 final : public QWidget {
    Q_OBJECT

public:
    Form2();

    QPushButton *closeButton() const { return Command1; }
    PictureBox *textSurface() const { return Picture1; }

    // Where the window's client area first opens on the screen.
    static QRect firstGeometry();

signals:
    void activated();

protected:
    bool event(QEvent *event) override;

private:
    void Form2Activate();

    QPushButton *Command1;
    PictureBox *Picture1;
};

} // namespace pokorin
