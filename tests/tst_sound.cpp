#include "sound/chime_device.h"
#include "sound/chime_files.h"
#include "sound/sound_cues.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <atomic>

using namespace pokorin;
using Link = PulseChimePlayer::Link;

namespace {

const QString kBuiltChimes = QStringLiteral(POKORIN_BIN_DIR);

void WriteFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Warnings come from the player's thread too; this counts those about the
// missing sound output and passes the others on.
std::atomic<int> noOutputWarnings = 0;
QtMessageHandler otherMessages = nullptr;
void CountNoOutputWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (text.contains(QStringLiteral("no sound output"))) {
        ++noOutputWarnings;
    } else {
        otherMessages(type, context, text);
    }
}

} // namespace

class SoundTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        otherMessages = qInstallMessageHandler(CountNoOutputWarnings);
        QVERIFY(server.isValid());
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(server.filePath("pulse")));
    }
    void init() { noOutputWarnings = 0; }

    void ourChimesAreShortCleanBellsThatDiffer() {
        QList<Chime> chimes;
        for (const QString &name : {kClickChime, kEndChime}) {
            const std::optional<Chime> chime = LoadChime(QDir(kBuiltChimes).filePath(name));
            QVERIFY(chime && chime->sampleRate == 44100 && chime->channels == 1 &&
                    chime->bitsPerSample == 16);
            const auto *first = reinterpret_cast<const qint16 *>(chime->samples.constData());
            const qint16 *last = first + chime->samples.size() / 2 - 1;
            QVERIFY(last - first > 0.5 * 44100 && last - first < 2.0 * 44100);
            QVERIFY(*std::max_element(first, last) > 16000);
            QVERIFY(std::abs(*first) < 100 && std::abs(*last) < 100); // soft onset and release
            QVERIFY(std::adjacent_find(
                        first, last, [](int a, int b) { return std::abs(a - b) > 8000; }) == last);
            chimes << *chime;
        }
        QVERIFY(chimes[0].samples.size() != chimes[1].samples.size());
    }

    // The working folder comes first, then the data folders; a file that is
    // missing or is no wave only silences its chime.
    void chimesAreFoundInTheWorkingFolderFirst() {
        QTemporaryDir work, data;
        const QString oldFolder = QDir::currentPath();
        QDir::setCurrent(work.path());
        ChimeDevice device({work.filePath("none"), data.path()});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("chime not found: pinpon.wav"));
        ClickCue(device);
        QVERIFY(!device.isOpen());
        QFile::copy(QDir(kBuiltChimes).filePath(kClickChime), data.filePath(kClickChime));
        ClickCue(device);
        QVERIFY(device.isOpen());
        WriteFile(work.filePath(kClickChime), "garbage bytes");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("not a playable wave file: " + work.path()));
        ClickCue(device);
        QVERIFY(!device.isOpen());
        QDir::setCurrent(oldFolder);
    }

    void onlyPcmWaveFilesLoad() {
        QFile file(QDir(kBuiltChimes).filePath(kClickChime));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray valid = file.readAll();
        QByteArray compressed = valid, hugeChunk = valid;
        compressed[20] = 2; // ADPCM
        qToLittleEndian<quint32>(0xFFFFFFF0u, hugeChunk.data() + 16);
        QTemporaryDir dir;
        for (const QByteArray &bytes : {QByteArray(), QByteArray("\x01 not a wave file"),
                                        valid.left(12), valid.left(1000), compressed, hugeChunk}) {
            WriteFile(dir.filePath("bad.wav"), bytes);
            QVERIFY(!LoadChime(dir.filePath("bad.wav")));
        }
    }

    // Three times a server takes the connection and goes away without a
    // word: silence, reported once. Then one hangs: the player waits for its
    // answer, and the chimes asked for meanwhile return at once all the same.
    void aLostServerIsReportedOnceAndAHungOneHoldsUpNobody() {
        QLocalServer hung; // takes connections and never answers them
        QVERIFY(hung.listen(server.filePath("pulse")));
        ChimeDevice device({kBuiltChimes});
        for (int round = 0; round < 3; ++round) {
            ClickCue(device);
            QVERIFY(hung.waitForNewConnection(10'000));
            hung.nextPendingConnection()->abort();
            QTRY_COMPARE(device.player().link(), Link::Down);
        }
        QCOMPARE(noOutputWarnings.load(), 1);
        ClickCue(device);
        QVERIFY(hung.waitForNewConnection(10'000));
        for (int chime = 0; chime < 5; ++chime) {
            ClickCue(device);
        }
        QCOMPARE(device.player().link(), Link::Connecting);
    }

private:
    QTemporaryDir server;
};

QTEST_GUILESS_MAIN(SoundTest)
#include "tst_sound.moc"
