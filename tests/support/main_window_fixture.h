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

// Records every cue; `onSound` runs as its chime starts.
class RecordingDevice final : public ChimeDevice {
public:
    QList<ChimeCue> cues;
    std::function<void()> onSound = [] {
    };
    void play(ChimeCue cue) override {
        cues << cue;
        onSound();
    }
};

// Answers the quit question from a script; No once the script runs out.
class ScriptedQuit final : public QuitConfirmation {
public:
    QList<bool> answers;
    int asked = 0;
    void ask(QWidget *, std::function<void(bool)> answered) override {
        answered(answers.value(asked++, false));
    }
};

// Makes the window the program's active one, as a click into it would.
inline void Activate(QWidget *window) {
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

inline void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A main window that has started up, with a frozen clock, a recording chime
// device, a scripted quit box and a seeded generator unless one is given.
struct MainWindowFixture {
    // A stack is full by the 210th ball at the latest (ten stacks of 19 and
    // one of 20), and a ball takes 11 ticks: enough for any run to end.
    static constexpr int kTicksToFillAStack = 11 * 211;
    static inline const QStringList kButtons{"start", "stop", "quit", "initialise", "help"};

    explicit MainWindowFixture(RandomSource *random = nullptr)
        : window(device, clock, random != nullptr ? *random : generator, quit) {
        window.show();
    }

    const MainWindowControls &c() const { return window.controls(); }

    // The enabled run buttons in tab order, and "running" while the timer is.
    QString enabledButtons() const {
        QStringList enabled;
        for (int i = 0; i < kRunButtons; ++i) {
            if (c().runButtons().at(i)->isEnabled()) {
                enabled << kButtons.at(i);
            }
        }
        return (enabled << (window.timer().isActive() ? "running" : "")).join(u' ').trimmed();
    }

    // One user event: a click on a run button (a start lets 25 ticks come),
    // "fill" (ticks until a stack is full) or "back" (to the help window and
    // back to the main window).
    void play(const QString &event) {
        if (kButtons.contains(event)) {
            c().runButtons().at(kButtons.indexOf(event))->click();
            tickWhileRunning(event == "start" ? 25 : 0);
        } else if (event == "fill") {
            tickWhileRunning(kTicksToFillAStack);
        } else {
            Activate(window.help().window());
            Activate(&window);
        }
    }

    void tickWhileRunning(int ticks) {
        for (int i = 0; i < ticks && window.timer().isActive(); ++i) {
            window.tick();
        }
    }

    RecordingDevice device;
    FrozenClock clock{45000.0f};
    XoshiroGenerator generator{2026};
    ScriptedQuit quit;
    MainWindow window;
};

} // namespace pokorin::test
