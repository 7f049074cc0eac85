// The chimes through a PulseAudio server: every kind of wave file heard,
// Stop heard, and a server that goes away or hangs.

#include "sound/chime_decoder.h"
#include "sound/chime_files.h"
#include "sound/wave_chime_device.h"
#include "support/warnings.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace pokorin;
using namespace pokorin::test;
using Link = PulseChimePlayer::Link;

namespace {

const QString kBuiltChimes = QStringLiteral(POKORIN_BIN_DIR);

std::optional<Chime> Decode(const QByteArray &wave) {
    QString problem;
    return DecodeChime(wave, problem);
}

// Sound separated by at least 0.3 s of silence in 16-bit mono samples.
int Bursts(const QByteArray &recording, int rate) {
    const auto *samples = reinterpret_cast<const qint16 *>(recording.constData());
    int bursts = 0, quiet = rate;
    for (qsizetype i = 0; i < recording.size() / 2; ++i) {
        if (std::abs(samples[i]) > 300) {
            bursts += quiet >= rate * 3 / 10 ? 1 : 0;
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return bursts;
}

} // namespace

class PulseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        warnings::Keep();
        QVERIFY(server.isValid());
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(server.filePath("pulse")));
    }
    void init() { warnings::Clear(); }
    void cleanup() {
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(server.filePath("pulse")));
    }

    void ourChimesAreShortCleanBells() {
        for (const QString &name : {ChimeFileName(ChimeCue::Click), ChimeFileName(ChimeCue::End)}) {
            const std::optional<Chime> chime = Decode(ReadFile(kBuiltChimes + '/' + name));
            QVERIFY(chime && chime->sampleRate == 44100 && chime->channels == 1);
            const auto *first = reinterpret_cast<const float *>(chime->samples.constData());
            const float *last = first + chime->samples.size() / sizeof(float) - 1;
            QVERIFY(last - first > 0.5 * 44100 && last - first < 2.0 * 44100);
            QVERIFY(*std::max_element(first, last) > 0.5f);
            QVERIFY(std::abs(*first) < 0.003f && std::abs(*last) < 0.003f); // soft ends
            QVERIFY(std::adjacent_find(first, last, [](float a, float b) {
                        return std::abs(a - b) > 0.25f;
                    }) == last);
        }
    }

    // Whatever a sound editor writes is heard, once, as it is.
    void everyKindOfWaveFileSounds_data() {
        QTest::addColumn<QStringList>("soxOptions");
        QTest::newRow("8-bit unsigned") << QStringList{"-b", "8", "-e", "unsigned"};
        QTest::newRow("16-bit stereo 48 kHz") << QStringList{"-c", "2", "-r", "48000"};
        QTest::newRow("24-bit") << QStringList{"-b", "24"};
        QTest::newRow("32-bit integer") << QStringList{"-b", "32", "-e", "signed"};
        QTest::newRow("32-bit float") << QStringList{"-b", "32", "-e", "floating-point"};
        QTest::newRow("extensible 6 channels") << QStringList{"-c", "6"};
        QTest::newRow("IMA ADPCM") << QStringList{"-e", "ima-adpcm"};
        QTest::newRow("MS ADPCM") << QStringList{"-e", "ms-adpcm"};
        QTest::newRow("u-law") << QStringList{"-e", "u-law"};
        QTest::newRow("A-law") << QStringList{"-e", "a-law"};
    }
    void everyKindOfWaveFileSounds() {
        QFETCH(QStringList, soxOptions);
        QTemporaryDir dir;
        QCOMPARE(
            QProcess::execute(
                "sox",
                QStringList{kBuiltChimes + '/' + ChimeFileName(ChimeCue::Click)} + soxOptions +
                    QStringList{dir.filePath(ChimeFileName(ChimeCue::Click)), "trim", "0", "0.4"}),
            0);
        startSoundServer();
        QProcess recorder;
        recorder.start("parec", {"--server=" + soundServer(), "--device=chimes.monitor", "--raw",
                                 "--format=s16le", "--channels=1", "--rate=8000"});
        QByteArray recording;
        // The chime is short: it must not sound before the recorder listens.
        QTRY_VERIFY_WITH_TIMEOUT(!(recording += recorder.readAllStandardOutput()).isEmpty(),
                                 15'000);
        {
            WaveChimeDevice device({dir.path()});
            qputenv("PULSE_SERVER", soundServer().toUtf8());
            device.play(ChimeCue::Click);
            // Until the chime has sounded and half a second of silence followed it.
            const auto chimeEnded = [&] {
                recording += recorder.readAllStandardOutput();
                return Bursts(recording, 8000) > 0 && Bursts(recording.right(8000), 8000) == 0;
            };
            QTRY_VERIFY_WITH_TIMEOUT(chimeEnded(), 20'000);
        }
        recorder.kill();
        recorder.waitForFinished();
        QCOMPARE(Bursts(recording, 8000), 1);
        QCOMPARE(warnings::Containing("pokorin:"), 0);
    }

    // A new cue cuts off the chime still sounding, even when its own file is missing.
    void theNextCueStopsTheChimeThatIsSounding() {
        QTemporaryDir dir;
        QCOMPARE(QProcess::execute("sox", {"-n", "-r", "8000",
                                           dir.filePath(ChimeFileName(ChimeCue::Click)), "synth",
                                           "20", "sine", "440"}),
                 0);
        startSoundServer();
        qputenv("PULSE_SERVER", soundServer().toUtf8());
        WaveChimeDevice device({dir.path()});
        device.play(ChimeCue::Click);
        QTRY_COMPARE_WITH_TIMEOUT(streams(), 1, 10'000);
        device.play(ChimeCue::End);
        QTRY_COMPARE_WITH_TIMEOUT(streams(), 0, 10'000);
        QCOMPARE(warnings::Containing("chime not found: endpinpon.wav"), 1);
    }

    // Each time the output goes away after it was there, the class is told.
    void theOutputLostAgainIsReportedAgain() {
        pulse.kill();
        pulse.waitForFinished();
        qputenv("PULSE_SERVER", soundServer().toUtf8());
        WaveChimeDevice device({kBuiltChimes});
        device.play(ChimeCue::Click);
        QTRY_COMPARE_WITH_TIMEOUT(device.player().link(), Link::Down, 10'000);
        startSoundServer();
        device.play(ChimeCue::Click);
        QTRY_COMPARE_WITH_TIMEOUT(streams(), 1, 10'000);
        QTRY_COMPARE_WITH_TIMEOUT(streams(), 0, 10'000); // heard to its end
        pulse.kill();
        pulse.waitForFinished();
        QTRY_COMPARE_WITH_TIMEOUT(device.player().link(), Link::Down, 10'000);
        // Told after the link is down.
        QTRY_COMPARE_WITH_TIMEOUT(warnings::Containing("no sound output"), 2, 10'000);
    }

    // Three times a server takes the connection and goes away without a
    // word: silence, reported once. Then one hangs: the player waits for its
    // answer, and the chimes asked for meanwhile return at once all the same.
    void aLostServerIsReportedOnceAndAHungOneHoldsUpNobody() {
        QLocalServer hung; // takes connections and never answers them
        QVERIFY(hung.listen(server.filePath("pulse")));
        WaveChimeDevice device({kBuiltChimes});
        for (int round = 0; round < 3; ++round) {
            device.play(ChimeCue::Click);
            QVERIFY(hung.waitForNewConnection(10'000));
            hung.nextPendingConnection()->abort();
            QTRY_COMPARE_WITH_TIMEOUT(device.player().link(), Link::Down, 10'000);
        }
        QCOMPARE(warnings::Containing("no sound output"), 1);
        device.play(ChimeCue::Click);
        QVERIFY(hung.waitForNewConnection(10'000));
        for (int chime = 0; chime < 5; ++chime) {
            device.play(ChimeCue::Click);
        }
        QCOMPARE(device.player().link(), Link::Connecting);
    }

    void cleanupTestCase() {
        if (pulse.state() != QProcess::NotRunning) {
            pulse.kill();
            pulse.waitForFinished();
        }
    }

private:
    QString soundServer() const { return "unix:" + server.filePath("real"); }

    // The streams playing on the real server.
    int streams() const {
        QProcess list;
        list.start("pactl", {"--server=" + soundServer(), "list", "short", "sink-inputs"});
        list.waitForFinished();
        return static_cast<int>(list.readAllStandardOutput().count('\n'));
    }

    // A real sound server with a null sink whose monitor the test records.
    void startSoundServer() {
        if (pulse.state() == QProcess::Running) {
            return;
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", server.path());
        environment.insert("PULSE_RUNTIME_PATH", server.filePath("runtime"));
        pulse.setProcessEnvironment(environment);
        pulse.start("pulseaudio",
                    {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "-L",
                     "module-null-sink sink_name=chimes", "-L",
                     "module-native-protocol-unix socket=" + server.filePath("real")});
        const auto answers = [this] {
            QProcess info;
            info.start("pactl", {"--server=" + soundServer(), "info"});
            return info.waitForFinished() && info.exitCode() == 0;
        };
        QTRY_VERIFY_WITH_TIMEOUT(answers(), 10'000);
    }

    QTemporaryDir server;
    QProcess pulse;
};

QTEST_GUILESS_MAIN(PulseTest)
#include "tst_pulse.moc"
