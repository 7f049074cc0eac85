#pragma once

#include "sim/bin_counts.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace pokorin {

class PictureBox;

using Stack = std::array<QWidget *, kStackCapacity>;

// The main window's controls, by their design names.
struct Form1Controls {
    QPushButton *Command1; // start
    QPushButton *Command2; // stop
    QPushButton *Command3; // quit
    QPushButton *Command4; // initialise
    QPushButton *Command5; // help
    QLabel *Label1;        // drop count
    QLabel *Label2;
    QLabel *Label3; // title
    QLabel *Label4;
    QLineEdit *Text1;               // fall speed
    PictureBox *Picture1;           // the board
    PictureBox *Picture3;           // theory strip
    PictureBox *Picture4;           // ratio strip
    QWidget *Picture2;              // the ball
    std::array<Stack, kBinTotal> o; // o[k - 1][i - 1] is square i of stack ok
};

// Builds every control of the main window at its design place.
Form1Controls BuildForm1Controls(QWidget *form);

} // namespace pokorin
