#include "core/shown_texts.h"
#include "teacher/relay_session.h"
#include "ui/japanese_setup.h"

#include <QApplication>
#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <memory>

namespace {

using emscripten::val;

// The page's side of the class (index.html): the broker's connection, the
// browser's storage, and the class it was opened for.
val Page() {
    return val::global("pokorinTeacher");
}

std::unique_ptr<pokorin::RelaySession> session;

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
    session->window().showFullScreen();
    Page().call<void>("ready");
    return QApplication::exec();
}
