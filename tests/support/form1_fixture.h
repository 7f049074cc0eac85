#pragma once

#include "board/picture_box.h"
#include "sim/frozen_clock.h"
#include "sim/xoshiro_generator.h"
#include "support/recording_device.h"
#include "ui/main_window.h"
#include "ui/quit_confirmation.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace pokorin::test {

// True for the eleven level positions 0.9, 1.9, ..., 10.9, each reached by
// adding 1 in single precision.
inline bool IsLevelPosition(float y) {
    float level = kStartY;
    for (int i = 0; i <= 10; ++i, level += 1.0f) {
        if (y == level) {
            return true;
        }
    }
    return false;
}

// Answers the quit question from a script; No once the script runs out.
class ScriptedQuit final : public QuitConfirmation {
public:
    QList<int> answers;
    int asked = 0;
    int ask(QWidget *) override { return answers.value(asked++, kAnswerNo); }
};

// A main window that has started up, with a seeded generator, a frozen
// clock, a recording chime device and a scripted quit box.
struct Form1Fixture {
    Form1Fixture() { form.show(); }

    const Form1Controls &c() const { return form.controls(); }

    // The enabled buttons, in tab order: "start stop quit initialise help".
    QString enabledButtons() const {
        QStringList names;
        const std::pair<QPushButton *, const char *> buttons[] = {{c().Command1, "start"},
                                                                  {c().Command2, "stop"},
                                                                  {c().Command3, "quit"},
                                                                  {c().Command4, "initialise"},
                                                                  {c().Command5, "help"}};
        for (const auto &[button, name] : buttons) {
            if (button->isEnabled()) {
                names << QLatin1String(name);
            }
        }
        return names.join(u' ');
    }

    // Ticks while the timer runs, at most `ticks` times.
    void tickWhileRunning(int ticks) {
        for (int i = 0; i < ticks && form.timer().isActive(); ++i) {
            form.Timer1Timer();
        }
    }

    // Ticks until a stack is full and the run ends by itself.
    void runToAFullStack() { tickWhileRunning(11 * 211); }

    int visibleSquares(int bin) const {
        int visible = 0;
        for (QWidget *square : c().o.at(bin - 1)) {
            visible += square->isVisibleTo(c().Picture1) ? 1 : 0;
        }
        return visible;
    }

    // Where a point of board units lies on the board, in its pixels.
    QPoint boardPixel(BoardPoint point) const { return c().Picture1->toPixels(point).toPoint(); }

    RecordingDevice device;
    FrozenClock clock{45000.0f};
    XoshiroGenerator random{2026};
    ScriptedQuit quit;
    Form1 form{device, clock, random, quit};
};

} // namespace pokorin::test
