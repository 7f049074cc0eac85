#pragma once

#include <QString>
#include <QStringList>

namespace pokorin {

// Where a chime is looked for after the working folder: beside the program,
// then in the installed share folder.
QStringList ChimeDataFolders();

// The chime's path: the bare name in the working folder if it is there,
// otherwise the first data folder that has it; empty when none has it.
QString FindChimeFile(const QString &name, const QStringList &dataFolders);

// True for a RIFF/WAVE file of PCM samples that a sound device can play.
bool IsPlayableWave(const QString &path);

} // namespace pokorin
