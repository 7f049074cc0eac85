#pragma once

class QWidget;

namespace pokorin {

// The classic answer codes of a Yes/No message box.
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// Asks whether to end the program; answers kAnswerYes or kAnswerNo.
class QuitConfirmation {
public:
    virtual ~QuitConfirmation() = default;
    virtual int ask(QWidget *parent) = 0;
};

} // namespace pokorin
