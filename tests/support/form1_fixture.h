#pragma once

#include "board/picture_box.h"
#include "sim/frozen_clock.h"
#include "sim/xoshiro_generator.h"
#include "sound/mci_device.h"
#include "ui/main_window.h"
#include "ui/quit_confirmation.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <functional>

namespace pokorin::test {

// Writes down every operation on the device; `onSound` runs at the moment a
// chime would start.
class RecordingDevice final : public MciDevice {
public:
    QStringList operations;
    std::function<void()> onSound;

    void setCommand(MciCommand command) override {
        static const char *const names[] = {"Stop", "Close", "Open", "Sound"};
        operations << QLatin1String(names[static_cast<int>(command)]);
        if (command == MciCommand::Sound && onSound) {
            onSound();
        }
    }
    void setFileName(const QString &fileName) override { operations << "FileName=" + fileName; }
};

// Answers the quit question from a script; No once the script runs out.
class ScriptedQuit final : public QuitConfirmation {
public:
    QList<int> answers;
    int asked = 0;
    void ask(QWidget *, std::function<void(int)> answered) override {
        answered(answers.value(asked++, kAnswerNo));
    }
};

// Makes the window the program's active one, as a click into it would.
inline void Activate(QWidget *window) {
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

// A main window that has started up, with a frozen clock, a recording chime
// device, a scripted quit box and a seeded generator unless one is given.
struct Form1Fixture {
    explicit Form1Fixture(RandomSource *random = nullptr)
        : form(device, clock, random != nullptr ? *random : generator, quit) {
        form.show();
    }

    const Form1Controls &c() const { return form.controls(); }

    // The buttons in tab order by the tests' names for them, or null.
    QPushButton *button(const QString &name) const {
        const QList<QPushButton *> buttons{c().Command1, c().Command2, c().Command3, c().Command4,
                                           c().Command5};
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

    void tickWhileRunning(int ticks) {
        for (int i = 0; i < ticks && form.timer().isActive(); ++i) {
            form.Timer1Timer();
        }
    }

    int visibleSquares(int bin) const {
        return static_cast<int>(
            std::count_if(c().o.at(bin - 1).begin(), c().o.at(bin - 1).end(),
                          [this](QWidget *square) { return square->isVisibleTo(c().Picture1); }));
    }

    QPoint boardPixel(BoardPoint point) const { return c().Picture1->toPixels(point).toPoint(); }

    RecordingDevice device;
    FrozenClock clock{45000.0f};
    XoshiroGenerator generator{2026};
    ScriptedQuit quit;
    Form1 form;
};

} // namespace pokorin::test
