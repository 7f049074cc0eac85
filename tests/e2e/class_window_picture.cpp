// Draws the teacher's class window as it must look for a given state, on the
// display the end-to-end test shares with the real one, for the test to set
// beside a picture of it; prints where its "最初から" button is. With
// "lesson", draws it at 1920 x 1080 after a lesson of simulated students, in
// each of its views, for README.
// Usage: class_window_picture WIDTH HEIGHT DEVICES "ADDRESS..." COUNT*11 OUTPUT.png
//        class_window_picture lesson DEVICES POOLED.png [GRID.png [CHART.png [JOIN.png]]]

#include "core/drop_tick.h"
#include "core/xoshiro_generator.h"
#include "host/join_address.h"
#include "pool/pool_file.h"
#include "teacher/class_window.h"
#include "ui/japanese_setup.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <cstdio>

namespace {

using namespace pokorin;

// Five minutes of a lesson: each student joins within the first two, lets
// the balls fall at a speed of their own, each ball's ten steps drawn as
// the program draws them, and starts a new run a few seconds after a full
// stack; the pool takes every student's totals once a second.
ClassPool Lesson(int students) {
    struct Student {
        ClassReport report;
        qint64 ballMs, nextBallMs, runStartMs;
        int runs = 1;
    };
    XoshiroGenerator random(36);
    std::vector<Student> class_;
    for (int i = 0; i < students; ++i) {
        const qint64 ballMs = 11 * std::array{100, 100, 50, 20, 10}.at(random.nextBits() % 5);
        const qint64 start = static_cast<qint64>(random.nextBits() % 120'000);
        class_.push_back(
            {{QStringLiteral("device-%1").arg(i, 4, 10, QChar(u'0')), "run-0001", {}, 0},
             ballMs,
             start + ballMs,
             start});
    }
    ClassPool pool;
    QString problem;
    for (qint64 now = 1000; now <= 300'000; now += 1000) {
        for (Student &student : class_) {
            ClassReport &report = student.report;
            for (; student.nextBallMs <= now; student.nextBallMs += student.ballMs) {
                int right = 0;
                for (int level = 1; level < kBinTotal; ++level) {
                    right += StepFor(random.next()) == Step::Right ? 1 : 0;
                }
                report.bins.at(right) += 1;
                report.ms = student.nextBallMs - student.runStartMs;
                if (report.bins.at(right) == kStackCapacity) {
                    pool.take(report, now, problem);
                    report = {report.device,
                              QStringLiteral("run-%1").arg(++student.runs, 4, 10, QChar(u'0')),
                              {},
                              0};
                    student.runStartMs = student.nextBallMs + 5000;
                    student.nextBallMs = student.runStartMs;
                }
            }
            pool.take(report, now, problem);
        }
    }
    return pool;
}

int DrawLesson(int students, const QStringList &pictures) {
    const ClassPool pool = Lesson(students);
    const JoinAddresses addresses =
        ChooseJoinAddresses(ThisComputersInterfaces(), DefaultRouteAddress());
    ClassWindow window([] { return QByteArray(); });
    ClassShow shown;
    shown.joinAddresses = {JoinAddress(addresses.shown, 8765, NewClassCode())};
    shown.devices = students;
    shown.counts = pool.pooled();
    window.showClass(
        shown, [&pool] { return pool.devices(); }, pool.gaps());
    window.setFixedSize(1920, 1080);
    window.show();
    for (int view = 0; view < pictures.size(); ++view) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_1 + view, Qt::NoModifier);
        QApplication::sendEvent(&window, &press);
        QApplication::processEvents();
        if (!window.grab().save(pictures.at(view))) {
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    pokorin::SetUpJapanese(app);
    if (arguments.size() >= 4 && arguments.at(1) == "lesson") {
        return DrawLesson(arguments.at(2).toInt(), arguments.mid(3));
    }
    if (arguments.size() != 17) {
        return 2;
    }
    pokorin::ClassShow shown;
    shown.joinAddresses = arguments.at(4).split(u' ');
    shown.devices = arguments.at(3).toInt();
    for (int k = 0; k < pokorin::kBinTotal; ++k) {
        shown.counts.at(k) = arguments.at(5 + k).toLong();
    }
    pokorin::ClassWindow window([] { return QByteArray(); });
    window.showClass(shown, {}, {});
    window.setFixedSize(arguments.at(1).toInt(), arguments.at(2).toInt());
    window.show();
    QApplication::processEvents();
    const QPoint button = window.startAfreshButton()->geometry().center();
    std::printf("%d %d\n", button.x(), button.y());
    return window.grab().save(arguments.at(16)) ? 0 : 1;
}
