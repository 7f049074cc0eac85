#pragma once

#include <QObject>

namespace pokorin {

// Remembers which of the program's windows was active before the current
// one, so that a window can tell coming back from the help window apart from
// coming back from another application or from a message box.
class ActivationTracker final : public QObject {
    Q_OBJECT

public:
    enum class Role { None, Main, Help, Other };

    // Watches every window of the program from now on.
    explicit ActivationTracker(QObject *parent);

    // The role of the window that was active before the latest activation.
    Role previous() const { return previous_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Role current_ = Role::None;
    Role previous_ = Role::None;
};

} // namespace pokorin
