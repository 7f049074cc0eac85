#pragma once

#include <QCoreApplication>
#include <QTest>
#include <QWidget>

namespace pokorin::test {

// Makes the window the program's active one, as a click into it would.
inline void Activate(QWidget *window) {
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

// Lets windows closed with Qt::WA_DeleteOnClose really go.
inline void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace pokorin::test
