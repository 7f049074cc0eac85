#pragma once

#include "core/bin_counts.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace pokorin {

class PictureBox;

using Stack = std::array<QWidget *, kStackCapacity>;

// The main window's controls, by their design names.
struct MainWindowControls {
    QPushButton *startButton;      // start
    QPushButton *stopButton;       // stop
    QPushButton *quitButton;       // quit
    QPushButton *initialiseButton; // initialise
    QPushButton *helpButton;       // help
    QLabel *dropCounter;           // drop count
    QLabel *dropCounterCaption;
    QLabel *title; // title
    QLabel *fallSpeedCaption;
    QLineEdit *fallSpeedField;           // fall speed
    PictureBox *board;                   // the board
    PictureBox *theoryStrip;             // theory strip
    PictureBox *ratioStrip;              // ratio strip
    QWidget *ball;                       // the ball
    std::array<Stack, kBinTotal> stacks; // stacks[k - 1][i - 1] is square i of bin k
};

// Builds every control of the main window at its design place.
MainWindowControls BuildMainWindowControls(QWidget *form);

} // namespace pokorin
