#pragma once

#include <QFile>
#include <QStringList>
#include <QTest>
#include <mutex>

namespace pokorin::test {

// The program's warnings, from the window's thread and the player's alike.
class Warnings {
public:
    static void keep() { qInstallMessageHandler(&Warnings::add); }
    static void clear() {
        const std::lock_guard lock(mutex());
        list().clear();
    }
    static qsizetype containing(const QString &part) {
        const std::lock_guard lock(mutex());
        return list().filter(part).size();
    }

private:
    static std::mutex &mutex() {
        static std::mutex m;
        return m;
    }
    static QStringList &list() {
        static QStringList l;
        return l;
    }
    static void add(QtMsgType, const QMessageLogContext &, const QString &text) {
        const std::lock_guard lock(mutex());
        list() << text;
    }
};

inline QByteArray ReadFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace pokorin::test
