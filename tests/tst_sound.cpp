// Finding, reading and refusing the chime files, on every platform.

#include "sound/chime_files.h"
#include "sound/wave_chime_device.h"
#include "support/warnings.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

using namespace pokorin;
using namespace pokorin::test;

namespace {

// Absolute with its drive, whatever the tests make the working folder.
const QString kBuiltChimes = QFileInfo(QStringLiteral(POKORIN_BIN_DIR)).absoluteFilePath();

} // namespace

class SoundTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Warnings::Keep(); }
    void init() { Warnings::Clear(); }

    // The working folder comes first, then the data folders; a missing file
    // only silences its chime, and says so once in a run.
    void chimesAreFoundInTheWorkingFolderFirst() {
        QTemporaryDir work, data;
        const QString door = ChimeFileName(ChimeCue::Door);
        const QString oldFolder = QDir::currentPath();
        QDir::setCurrent(work.path());
        WaveChimeDevice device({work.filePath("none"), data.path()});
        device.play(ChimeCue::Door);
        device.play(ChimeCue::Door);
        QVERIFY(!device.isOpen());
        QCOMPARE(Warnings::Containing("chime not found: pinpon.wav"), 1);
        QFile::copy(kBuiltChimes + '/' + door, data.filePath(door));
        device.play(ChimeCue::Door);
        QVERIFY(device.isOpen());
        QFile::copy(kBuiltChimes + '/' + ChimeFileName(ChimeCue::Closing), work.filePath(door));
        QCOMPARE(FindChimeFile(door, {data.path()}), work.filePath(door));
        QDir::setCurrent(oldFolder);
    }

    // Damaged files are refused with one warning naming them, whatever they claim.
    void hostileFilesAreRefusedWithOneWarning() {
        const QByteArray valid = ReadFile(kBuiltChimes + '/' + ChimeFileName(ChimeCue::Door));
        QByteArray noChannels = valid, longerThanTheFile = valid, twoGigabytes = valid;
        qToLittleEndian<quint16>(0, noChannels.data() + 22);
        qToLittleEndian<quint32>(valid.size() * 2, longerThanTheFile.data() + 40);
        qToLittleEndian<quint32>(0x7fffffff, twoGigabytes.data() + 40);
        qToLittleEndian<quint32>(0x7fffffff, twoGigabytes.data() + 4);
        QTemporaryDir dir;
        const QString path = dir.filePath(ChimeFileName(ChimeCue::Door));
        for (const QByteArray &bytes :
             {QByteArray(), QByteArray("just some text, not a sound"), valid.left(30),
              valid.left(valid.size() / 2), noChannels, longerThanTheFile, twoGigabytes,
              QByteArray(17 * 1024 * 1024, 'x')}) {
            Warnings::Clear();
            WriteFile(path, bytes);
            WaveChimeDevice device({dir.path()});
            device.play(ChimeCue::Door);
            device.play(ChimeCue::Door);
            QVERIFY2(!device.isOpen(), bytes.left(48).toHex().constData());
            QCOMPARE(Warnings::Containing("not a playable wave file: " + path), 1);
        }
    }
};

QTEST_GUILESS_MAIN(SoundTest)
#include "tst_sound.moc"
