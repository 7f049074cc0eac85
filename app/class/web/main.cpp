#include "core/shown_texts.h"
#include "teacher/relay_session.h"
#include "ui/japanese_setup.h"
#include "window/web/window_manager.h"

#include <QApplication>
#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <memory>
#include <numeric>
#include <vector>

namespace {

using emscripten::val;

// The page's side of the class (index.html): the broker's connection, the
// browser's storage, and the class it was opened for.
val Page() {
    return val::global("pokorinTeacher");
}

std::unique_ptr<pokorin::RelaySession> session;

// For a page that watches the class window (the relay's test and benchmark):
// at each picture of the pooled view, the runs whose balls changed since the
// one before, as [device, run, balls] triples, and the count of refused
// messages that the window shows. Runs are compared place by place, as the
// pool only appends them between fresh starts: cheap at tens of thousands.
class PaintWatch final : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() != QEvent::Paint) {
            return false;
        }
        const QList<pokorin::Contribution> &runs = session->pool().contributions();
        shown_.resize(runs.size());
        val changed = val::array();
        for (qsizetype place = 0; place < runs.size(); ++place) {
            const pokorin::Contribution &run = runs.at(place);
            Shown &shown = shown_[place];
            const int balls = std::accumulate(run.bins.begin(), run.bins.end(), 0);
            if (balls != shown.balls || run.device != shown.device || run.run != shown.run) {
                shown = {run.device, run.run, balls};
                changed.call<void>(
                    "push", val::array(std::vector<val>{val(run.device.toStdString()),
                                                        val(run.run.toStdString()), val(balls)}));
            }
        }
        Page().call<void>("painted", changed, session->refused());
        return false;
    }

private:
    struct Shown {
        QString device, run;
        int balls = 0;
    };
    std::vector<Shown> shown_;
};

// A message of the class's topics, as the broker delivered it.
void TakeMessage(const std::string &topic, const std::string &payload) {
    if (session) {
        session->take(QByteArrayView(topic.data(), static_cast<qsizetype>(topic.size())),
                      QByteArrayView(payload.data(), static_cast<qsizetype>(payload.size())));
    }
}

// Why the page is not connected to the broker: "lost" or "refused"; empty
// once it is.
void TellRelayProblem(const std::string &problem) {
    if (session) {
        session->setRelayProblem(problem == "lost"      ? QString(pokorin::kRelayLost)
                                 : problem == "refused" ? QString(pokorin::kRelayRefused)
                                                        : QString());
    }
}

} // namespace

EMSCRIPTEN_BINDINGS(pokorin_teacher) {
    emscripten::function("pokorinRelayMessage", &TakeMessage);
    emscripten::function("pokorinRelayProblem", &TellRelayProblem);
}

// The teacher's class window in a page, for a class that meets through a
// relay: index.html connects to the broker and hands over every message of
// the class's topics; the pool is kept in the browser for the next opening.
int main(int argc, char **argv) {
    QApplication app(argc, argv);
    pokorin::SetUpJapanese(app);
    // The class window takes keys again as soon as a question closes.
    pokorin::HandBackActivationOnClose(app);
    const std::optional<pokorin::RelayKey> key =
        pokorin::RelayKey::FromText(QString::fromStdString(Page()["key"].as<std::string>()));
    if (!key) {
        return 2; // index.html makes or checks the key before it starts the program
    }
    session = std::make_unique<pokorin::RelaySession>(
        *key, QString::fromStdString(Page()["join"].as<std::string>()),
        QByteArray::fromStdString(Page()["kept"].as<std::string>()),
        pokorin::RelaySession::Page{
            [](const QString &topic) { Page().call<void>("clear", topic.toStdString()); },
            [](const QByteArray &record) {
                Page().call<void>("keep", record.toStdString());
            }});
    if (!Page()["painted"].isUndefined()) {
        session->window().view()->installEventFilter(new PaintWatch);
    }
    session->window().showFullScreen();
    Page().call<void>("ready");
    return QApplication::exec();
}
