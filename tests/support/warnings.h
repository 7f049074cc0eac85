#pragma once

#include <QFile>
#include <QStringList>
#include <QTest>
#include <mutex>

namespace pokorin::test {

// The program's warnings, from the window's thread and the player's alike.
struct Warnings {
    static inline std::mutex mutex;
    static inline QStringList kept;
    static void Keep() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
            const std::lock_guard lock(mutex);
            kept << text;
        });
    }
    static void Clear() {
        const std::lock_guard lock(mutex);
        kept.clear();
    }
    static qsizetype Containing(const QString &part) {
        const std::lock_guard lock(mutex);
        return kept.filter(part).size();
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
