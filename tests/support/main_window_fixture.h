#pragma once

#include "core/frozen_clock.h"
#include "core/xoshiro_generator.h"
#include "sound/chime_device.h"
#include "ui/main_window.h"
#include "ui/quit_confirmation.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace pokorin::test {

// Makes the window the program's active one, as a click into it would.
inline void Activate(QWidget *window) {
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

inline void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A main window that has started up, with a frozen clock, a seeded generator
// unless one is given, and the fixture as its chime device, which records
// the cues (`onSound` runs as a chime starts), and as its quit box, which
// answers from a script (No once the script runs out).
struct MainWindowFixture final : ChimeDevice, QuitConfirmation {
    // A stack is full by the 210th ball at the latest (ten stacks of 19 and
    // one of 20), and a ball takes 11 ticks: enough for any run to end.
    static constexpr int kTicksToFillAStack = 11 * 211;
    static inline const QStringList kButtons{"start", "stop", "quit", "initialise", "help"};

    explicit MainWindowFixture(RandomSource *random = nullptr)
        : window(*this, clock, random != nullptr ? *random : generator, *this) {
        window.show();
    }

    const MainWindowControls &c() const { return window.controls(); }

    // The enabled main buttons in tab order, and "running" while the timer is.
    QString enabledButtons() const {
        QStringList enabled;
        for (int i = 0; i < kMainButtons; ++i) {
            if (c().mainButtons().at(i)->isEnabled()) {
                enabled << kButtons.at(i);
            }
        }
        return (enabled << (window.tickTimer().isActive() ? "running" : "")).join(u' ').trimmed();
    }

    // One user event: a click on a main button (a start lets 25 ticks come),
    // "fill" (ticks until a stack is full) or "back" (to the help window and
    // back to the main window).
    void act(const QString &event) {
        if (kButtons.contains(event)) {
            c().mainButtons().at(kButtons.indexOf(event))->click();
            tickWhileRunning(event == "start" ? 25 : 0);
        } else if (event == "fill") {
            tickWhileRunning(kTicksToFillAStack);
        } else {
            Activate(window.help().window());
            Activate(&window);
        }
    }

    void tickWhileRunning(int ticks) {
        for (int i = 0; i < ticks && window.tickTimer().isActive(); ++i) {
            window.tick();
        }
    }

    void play(ChimeCue cue) override {
        cues << cue;
        onSound();
    }
    void ask(QWidget *, std::function<void(bool)> answered) override {
        answered(answers.value(asked++, false));
    }

    QList<ChimeCue> cues;
    std::function<void()> onSound = [] {
    };
    QList<bool> answers;
    int asked = 0;
    FrozenClock clock{45000.0f};
    XoshiroGenerator generator{2026};
    MainWindow window;
};

} // namespace pokorin::test
