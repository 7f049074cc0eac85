#include "sound/chime_files.h"
#include "sound/sound_cues.h"
#include "sound/chime_device.h"
#include "support/recording_device.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace pokorin;
using pokorin::test::RecordingDevice;

namespace {

const QString kBuiltChimes = QStringLiteral(POKORIN_BIN_DIR);

struct Wave {
    quint16 format = 0;
    quint16 channels = 0;
    quint32 sampleRate = 0;
    quint16 bits = 0;
    QList<qint16> samples;
};

// Reads the canonical 44-byte header that our generator writes.
Wave ReadWave(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 44 || bytes.left(4) != "RIFF" || bytes.mid(8, 8) != "WAVEfmt " ||
        bytes.mid(36, 4) != "data") {
        return {};
    }
    const char *data = bytes.constData();
    Wave wave{qFromLittleEndian<quint16>(data + 20),
              qFromLittleEndian<quint16>(data + 22),
              qFromLittleEndian<quint32>(data + 24),
              qFromLittleEndian<quint16>(data + 34),
              {}};
    const quint32 dataBytes = qFromLittleEndian<quint32>(data + 40);
    for (quint32 i = 0; i + 1 < dataBytes && 44 + i + 1 < static_cast<quint32>(bytes.size());
         i += 2) {
        wave.samples << qFromLittleEndian<qint16>(data + 44 + i);
    }
    return wave;
}

// Sign changes per second within [from, to) seconds: about twice the pitch.
double Crossings(const Wave &wave, double from, double to) {
    const auto first = static_cast<qsizetype>(from * wave.sampleRate);
    const auto last = static_cast<qsizetype>(to * wave.sampleRate);
    int crossings = 0;
    for (qsizetype i = first + 1; i < last; ++i) {
        crossings += (wave.samples.at(i - 1) < 0) != (wave.samples.at(i) < 0) ? 1 : 0;
    }
    return crossings / (to - from);
}

void WriteFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class SoundTest : public QObject {
    Q_OBJECT

private slots:
    void cuesDriveTheDeviceInOrder_data() {
        QTest::addColumn<bool>("click");
        QTest::addColumn<QString>("file");
        QTest::newRow("click") << true << "pinpon.wav";
        QTest::newRow("end") << false << "endpinpon.wav";
    }
    void cuesDriveTheDeviceInOrder() {
        QFETCH(bool, click);
        QFETCH(QString, file);
        RecordingDevice device;
        click ? ClickCue(device) : EndCue(device);
        QCOMPARE(device.operations,
                 QStringList({"Stop", "Close", "FileName=" + file, "Open", "Sound"}));
    }

    void generatedChimesAreShortCleanMonoPcm_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("pinpon") << kClickChime;
        QTest::newRow("endpinpon") << kEndChime;
    }
    void generatedChimesAreShortCleanMonoPcm() {
        QFETCH(QString, name);
        const Wave wave = ReadWave(QDir(kBuiltChimes).filePath(name));
        QCOMPARE(wave.format, quint16{1});
        QCOMPARE(wave.channels, quint16{1});
        QCOMPARE(wave.sampleRate, quint32{44100});
        QCOMPARE(wave.bits, quint16{16});
        const double seconds = wave.samples.size() / 44100.0;
        QVERIFY(seconds > 0.5 && seconds < 2.0);
        const auto [low, high] = std::minmax_element(wave.samples.begin(), wave.samples.end());
        QVERIFY(std::max(-*low, int{*high}) > 16000);
        // Soft attack and release: the file starts and ends at silence.
        QVERIFY(std::abs(wave.samples.first()) < 100);
        QVERIFY(std::abs(wave.samples.last()) < 100);
        for (qsizetype i = 1; i < wave.samples.size(); ++i) {
            QVERIFY(std::abs(wave.samples.at(i) - wave.samples.at(i - 1)) < 8000);
        }
        QVERIFY(LoadChime(QDir(kBuiltChimes).filePath(name)));
    }

    void theDoorChimeFallsFromAHighNoteToALowerOne() {
        const Wave pinpon = ReadWave(QDir(kBuiltChimes).filePath(kClickChime));
        QVERIFY(Crossings(pinpon, 0.05, 0.4) > 1.15 * Crossings(pinpon, 0.6, 1.0));
        const Wave end = ReadWave(QDir(kBuiltChimes).filePath(kEndChime));
        QVERIFY(pinpon.samples.size() != end.samples.size());
    }

    void chimesAreFoundInTheWorkingFolderFirst() {
        QTemporaryDir work;
        QTemporaryDir data;
        const QString oldCwd = QDir::currentPath();
        QDir::setCurrent(work.path());
        QCOMPARE(FindChimeFile(kClickChime, {data.path()}), QString());
        WriteFile(data.filePath(kClickChime), "x");
        QCOMPARE(FindChimeFile(kClickChime, {work.filePath("none"), data.path()}),
                 data.filePath(kClickChime));
        WriteFile(work.filePath(kClickChime), "x");
        QCOMPARE(FindChimeFile(kClickChime, {data.path()}), work.filePath(kClickChime));
        QDir::setCurrent(oldCwd);
    }

    void onlyPcmWaveFilesArePlayable_data() {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray valid;
        QFile file(QDir(kBuiltChimes).filePath(kClickChime));
        QVERIFY(file.open(QIODevice::ReadOnly));
        valid = file.readAll();
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\x01\x02garbage bytes that are not a wave file");
        QTest::newRow("header only") << valid.left(12);
        QTest::newRow("truncated data") << valid.left(1000);
        QByteArray compressed = valid;
        compressed[20] = 2; // ADPCM
        QTest::newRow("not pcm") << compressed;
        QByteArray hugeChunk = valid;
        qToLittleEndian<quint32>(0xFFFFFFF0u, hugeChunk.data() + 16);
        QTest::newRow("chunk beyond the file") << hugeChunk;
    }
    void onlyPcmWaveFilesArePlayable() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        WriteFile(dir.filePath("bad.wav"), bytes);
        QVERIFY(!LoadChime(dir.filePath("bad.wav")));
    }

    void theRealDeviceStaysSilentAndUsableWhenAFileFails() {
        QTemporaryDir work;
        const QString oldCwd = QDir::currentPath();
        QDir::setCurrent(work.path());
        WriteFile(work.filePath(kEndChime), "garbage bytes");
        ChimeDevice device({work.filePath("empty")});

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("chime not found: pinpon.wav"));
        ClickCue(device);
        QVERIFY(!device.isOpen());

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not a playable wave file"));
        EndCue(device);
        QVERIFY(!device.isOpen());

        QFile::copy(QDir(kBuiltChimes).filePath(kClickChime), work.filePath(kClickChime));
        ClickCue(device);
        QVERIFY(device.isOpen());
        ClickCue(device); // cuts off the one still sounding; warns no more
        QVERIFY(device.isOpen());
        QDir::setCurrent(oldCwd);
    }
};

QTEST_MAIN(SoundTest)
#include "tst_sound.moc"
