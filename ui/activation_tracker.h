#pragma once

#include <QObject>

namespace pokorin {

// Remembers which kind of window of the program was active before the
// current one, so that a window can tell coming back from the help window
// apart from coming back from another application or from a message box.
class ActivationTracker final : public QObject {
    Q_OBJECT

public:
    // Watches every window of the program from now on.
    explicit ActivationTracker(QObject *parent);

    // The class of the window that was active before the latest activation,
    // or null before there was one.
    const QMetaObject *previous() const { return previous_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const QMetaObject *current_ = nullptr;
    const QMetaObject *previous_ = nullptr;
};

} // namespace pokorin
