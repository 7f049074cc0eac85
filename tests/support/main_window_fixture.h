#pragma once

#include "core/frozen_clock.h"
#include "core/xoshiro_generator.h"
#include "sound/chime_device.h"
#include "ui/main_window.h"
#include "ui/quit_confirmation.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <functional>

namespace pokorin::test {

// Writes down every cue played; `onSound` runs at the moment a chime starts.
class RecordingDevice final : public ChimeDevice {
public:
    QList<ChimeCue> cues;
    std::function<void()> onSound;

    void play(ChimeCue cue) override {
        cues << cue;
        if (onSound) {
            onSound();
        }
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

// A main window that has started up, with a frozen clock, a recording chime
// device, a scripted quit box and a seeded generator unless one is given.
struct MainWindowFixture {
    explicit MainWindowFixture(RandomSource *random = nullptr)
        : window(device, clock, random != nullptr ? *random : generator, quit) {
        window.show();
    }

    const MainWindowControls &c() const { return window.controls(); }

    // The buttons in tab order by the tests' names for them, or null.
    QPushButton *button(const QString &name) const {
        const QList<QPushButton *> buttons{c().startButton, c().stopButton, c().quitButton,
                                           c().initialiseButton, c().helpButton};
        return buttons.value(
            QStringList{"start", "stop", "quit", "initialise", "help"}.indexOf(name));
    }

    // The enabled buttons in tab order, as "start stop quit initialise help".
    QString enabledButtons() const {
        QStringList names;
        for (const char *name : {"start", "stop", "quit", "initialise", "help"}) {
            names << (button(name)->isEnabled() ? name : "");
        }
        return names.filter(QRegularExpression(".")).join(u' ');
    }

    // A stack is full by the 210th ball at the latest (ten stacks of 19 and
    // one of 20), and a ball takes 11 ticks: enough for any run to end.
    static constexpr int kTicksToFillAStack = 11 * 211;

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
