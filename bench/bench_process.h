#pragma once

// What the benchmarks that run in processes of their own share.

#include <QProcess>
#include <QStringList>

// One figure as every benchmark prints it: name value unit.
void Print(const QString &name, double value, const char *unit);

// This program again with the arguments, or the command given them (this
// program under Wine, say), on the offscreen platform; it ends with the
// application.
QProcess *StartPart(const QStringList &arguments, const QStringList &command = {});
