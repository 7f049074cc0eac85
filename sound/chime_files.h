#pragma once

#include "chime.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace pokorin {

// Where a chime is looked for after the working folder: beside the program,
// then in the installed share folder.
QStringList ChimeDataFolders();

// The chime's path: the bare name in the working folder if it is there,
// otherwise the first data folder that has it; empty when none has it.
QString FindChimeFile(const QString &name, const QStringList &dataFolders);

// The samples of a RIFF/WAVE file of 8- or 16-bit PCM, mono or stereo;
// nothing for any other file, whatever its bytes.
std::optional<Chime> LoadChime(const QString &path);

} // namespace pokorin
