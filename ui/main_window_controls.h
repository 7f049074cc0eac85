#pragma once

#include "core/button_table.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace pokorin {

class BoardView;
class NumberStrip;

// The main window's controls.
struct MainWindowControls {
    QPushButton *startButton;
    QPushButton *stopButton;
    QPushButton *quitButton;
    QPushButton *initialiseButton;
    QPushButton *helpButton;
    QLabel *title;
    QLabel *dropCounterCaption;
    QLabel *dropCounter;
    QLabel *fallSpeedCaption;
    QLineEdit *fallSpeedField;
    BoardView *board; // with the ball and the stacks
    NumberStrip *theoryStrip;
    NumberStrip *ratioStrip;

    // The five buttons in the order of the button table.
    std::array<QPushButton *, kMainButtons> mainButtons() const {
        return {startButton, stopButton, quitButton, initialiseButton, helpButton};
    }
};

// Builds every control of the main window at its design place.
MainWindowControls BuildMainWindowControls(QWidget *window);

} // namespace pokorin
