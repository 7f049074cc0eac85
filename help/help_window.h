#pragma once

// help/: the help window, which the main window opens without waiting for it.

#include <QWidget>

class QPushButton;

namespace pokorin {

class DrawingSurface;

// The help window: the problem and how to operate the program, printed
// afresh each time the window becomes active. Closing it destroys it.
class HelpWindow final : public QWidget {
    Q_OBJECT

public:
    HelpWindow();

    QPushButton *closeButton() const { return closeButton_; }
    DrawingSurface *textSurface() const { return textSurface_; }

    // Where the window's client area first opens on the screen.
    static QRect firstGeometry();

protected:
    bool event(QEvent *event) override;

private:
    void printHelpText();

    QPushButton *closeButton_;
    DrawingSurface *textSurface_;
};

} // namespace pokorin
