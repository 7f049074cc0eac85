#pragma once

#include <functional>

class QWidget;

namespace pokorin {

// The classic answer codes of a Yes/No message box.
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// Asks whether to end the program and hands kAnswerYes or kAnswerNo to
// `answered`. The answer comes from the event loop, not from a nested one,
// which a browser does not have.
class QuitConfirmation {
public:
    virtual ~QuitConfirmation() = default;
    virtual void ask(QWidget *parent, std::function<void(int)> answered) = 0;
};

} // namespace pokorin
