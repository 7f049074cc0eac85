#pragma once

#include <functional>

class QWidget;

namespace pokorin {

// Asks whether to end the program and hands the answer, true for yes, to
// `answered`; while it asks, no other window of the program can be used. The
// answer comes from the event loop, not from a nested one, which a browser
// does not have.
class QuitConfirmation {
public:
    virtual ~QuitConfirmation() = default;
    virtual void ask(QWidget *parent, std::function<void(bool yes)> answered) = 0;
};

} // namespace pokorin
