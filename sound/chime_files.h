#pragma once

#include "chime_device.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace pokorin {

// The wave file each cue plays, by its bare name.
QString ChimeFileName(ChimeCue cue);

// Where a chime is looked for after the working folder: beside the program,
// in the installed share folder, then among the program's own resources.
QStringList ChimeDataFolders();

// The chime's path: the bare name in the working folder if it is there,
// otherwise the first data folder that has it; empty when none has it.
QString FindChimeFile(const QString &name, const QStringList &dataFolders);

// The bytes of a chime file; nothing, with the reason in `problem`, when it
// cannot be read or is far too large for a chime.
std::optional<QByteArray> ReadChimeFile(const QString &path, QString &problem);

} // namespace pokorin
