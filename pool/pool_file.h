#pragma once

#include "class_pool.h"

#include <QJsonObject>

namespace pokorin {

// What the teacher's computer keeps of a class between two starts of the
// program: the code that joins it, the port it is served on, and the pool.
struct ClassState {
    QString code;
    quint16 port = 0;
    PoolRecord pool;
};

// A pool's record as JSON, and back: nothing for one with a run that breaks
// the rules a device's report passes.
QJsonObject PoolRecordToJson(const PoolRecord &record);
std::optional<PoolRecord> PoolRecordFromJson(const QJsonObject &object);

// Writes pools' records as JSON, each run as the JSON writer last gave it
// while the run is unchanged: a class of thousands of runs is written every
// second while it grows, and few of its runs change in a second.
class PoolRecordWriter {
public:
    // The record's members beside the object's.
    QByteArray write(const PoolRecord &record, QJsonObject besides);

private:
    QList<std::pair<Contribution, QByteArray>> written_;
};

// A new class's code: ten letters and digits, hard to guess and easy to type
// (no 0 or o, 1 or l).
QString NewClassCode();

// The file that keeps a class while the program is closed, a JSON document
// written whole and at once: an end at any moment leaves the old state or the
// new, never half. What it reads back passes the rules a device's report
// passes.
class PoolFile {
public:
    explicit PoolFile(QString path);
    // In the user's data folder.
    static QString DefaultPath();

    bool save(const ClassState &state);
    // The kept state, or nothing when there is none. A file that is not one
    // is moved aside, beside it with ".bad" added, and nothing comes back.
    std::optional<ClassState> load() const;

private:
    QString path_;
    PoolRecordWriter writer_;
};

} // namespace pokorin
