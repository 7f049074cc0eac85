// The chimes through a PulseAudio server: every kind of wave file heard once,
// a chime cut off by the next, and a server that goes away or hangs.

#include "sound/chime_decoder.h"
#include "sound/chime_files.h"
#include "sound/linux/pulse_chime_player.h"
#include "sound/wave_chime_device.h"
#include "support/warnings.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

using namespace pokorin;
using namespace pokorin::test;
using Link = PulseChimePlayer::Link;

namespace {

const QString kBuilt = QStringLiteral(POKORIN_BIN_DIR "/");
const QString kDoorChime = ChimeFileName(ChimeCue::Door);

// What a program prints; an empty text when it fails.
QByteArray Output(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished();
    return process.exitCode() == 0 ? process.readAllStandardOutput() + ' ' : QByteArray();
}

// Sound parted by at least 0.3 s of silence, in 16-bit mono samples at 8 kHz.
int Bursts(const QByteArray &recording) {
    const auto *samples = reinterpret_cast<const qint16 *>(recording.constData());
    int bursts = 0, quiet = 2400;
    for (qsizetype i = 0; i < recording.size() / 2; ++i) {
        const bool loud = std::abs(samples[i]) > 300;
        bursts += loud && quiet >= 2400 ? 1 : 0;
        quiet = loud ? 0 : quiet + 1;
    }
    return bursts;
}

// The real device on the PulseAudio player, whose link the test watches.
struct PulseDevice {
    std::unique_ptr<PulseChimePlayer> owned = std::make_unique<PulseChimePlayer>();
    const PulseChimePlayer &player = *owned;
    WaveChimeDevice device{{kBuilt}, std::move(owned)};
};

} // namespace

class PulseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Warnings::Keep(); }
    void init() {
        Warnings::Clear();
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(server.filePath("pulse")));
    }
    void cleanupTestCase() { pulse.kill(); }

    // Soft ends, no click in between, loud enough, about a second long.
    void ourChimesAreShortCleanBells() {
        for (const QString &name : {kDoorChime, ChimeFileName(ChimeCue::Closing)}) {
            QString problem;
            const std::optional<Chime> chime = DecodeChime(ReadFile(kBuilt + name), problem);
            QVERIFY(chime && chime->sampleRate == 44100 && chime->channels == 1);
            const auto *first = reinterpret_cast<const float *>(chime->samples.constData());
            const float *last = first + chime->samples.size() / sizeof(float) - 1;
            QVERIFY(last - first > 0.5 * 44100 && last - first < 2.0 * 44100);
            QVERIFY(*std::max_element(first, last) > 0.5f);
            QVERIFY(std::abs(*first) < 0.003f && std::abs(*last) < 0.003f);
            QVERIFY(std::adjacent_find(first, last, [](float a, float b) {
                        return std::abs(a - b) > 0.25f;
                    }) == last);
        }
    }

    // Whatever a sound editor writes is heard, once, as it is: 8-bit unsigned,
    // stereo at 48 kHz, 24 and 32 bits, float, six channels (extensible),
    // ADPCM, u-law and A-law.
    void everyKindOfWaveFileSounds_data() {
        QTest::addColumn<QString>("soxOptions");
        for (const char *options : {"-b 8 -e unsigned", "-c 2 -r 48000", "-b 24", "-b 32 -e signed",
                                    "-b 32 -e floating-point", "-c 6", "-e ima-adpcm",
                                    "-e ms-adpcm", "-e u-law", "-e a-law"}) {
            QTest::newRow(options) << options;
        }
    }
    void everyKindOfWaveFileSounds() {
        QFETCH(QString, soxOptions);
        QTemporaryDir dir;
        QVERIFY(!Output("sox", QStringList{kBuilt + kDoorChime} + soxOptions.split(u' ') +
                                   QStringList{dir.filePath(kDoorChime), "trim", "0", "0.4"})
                     .isEmpty());
        startSoundServer();
        QProcess recorder;
        recorder.start("parec", {"--server=" + soundServer(), "--device=chimes.monitor", "--raw",
                                 "--format=s16le", "--channels=1", "--rate=8000"});
        QByteArray recording;
        // The chime is short: it must not sound before the recorder listens.
        QTRY_VERIFY_WITH_TIMEOUT(!(recording += recorder.readAllStandardOutput()).isEmpty(),
                                 15'000);
        WaveChimeDevice device({dir.path()});
        device.play(ChimeCue::Door);
        // Until the chime has sounded and half a second of silence followed it.
        QTRY_VERIFY_WITH_TIMEOUT((recording += recorder.readAllStandardOutput(),
                                  Bursts(recording) > 0 && Bursts(recording.right(8000)) == 0),
                                 20'000);
        recorder.kill();
        QCOMPARE(Bursts(recording), 1);
        QCOMPARE(Warnings::Containing("pokorin:"), 0);
    }

    // A new cue cuts off the chime still sounding, even when its own file is missing.
    void theNextCueStopsTheChimeThatIsSounding() {
        QTemporaryDir dir;
        QVERIFY(!Output("sox", {"-n", "-r", "8000", dir.filePath(kDoorChime), "synth", "20", "sine",
                                "440"})
                     .isEmpty());
        startSoundServer();
        WaveChimeDevice device({dir.path()});
        device.play(ChimeCue::Door);
        QTRY_COMPARE_WITH_TIMEOUT(streams(), 1, 10'000);
        device.play(ChimeCue::Closing);
        QTRY_COMPARE_WITH_TIMEOUT(streams(), 0, 10'000);
        QCOMPARE(Warnings::Containing("chime not found: endpinpon.wav"), 1);
    }

    // Each time the output goes away after it was there, the class is told,
    // once the link is down.
    void theOutputLostAgainIsReportedAgain() {
        pulse.kill();
        pulse.waitForFinished();
        PulseDevice pulseDevice;
        WaveChimeDevice &device = pulseDevice.device;
        device.play(ChimeCue::Door);
        QTRY_COMPARE_WITH_TIMEOUT(pulseDevice.player.link(), Link::Down, 10'000);
        startSoundServer();
        device.play(ChimeCue::Door);
        QTRY_COMPARE_WITH_TIMEOUT(streams(), 1, 10'000);
        QTRY_COMPARE_WITH_TIMEOUT(streams(), 0, 10'000); // heard to its end
        pulse.kill();
        QTRY_COMPARE_WITH_TIMEOUT(pulseDevice.player.link(), Link::Down, 10'000);
        QTRY_COMPARE_WITH_TIMEOUT(Warnings::Containing("no sound output"), 2, 10'000);
    }

    // Three times a server takes the connection and goes away without a
    // word: silence, reported once. Then one hangs: the player waits for its
    // answer, and the chimes asked for meanwhile return at once all the same.
    void aLostServerIsReportedOnceAndAHungOneHoldsUpNobody() {
        QLocalServer hung; // takes connections and never answers them
        QVERIFY(hung.listen(server.filePath("pulse")));
        PulseDevice pulseDevice;
        WaveChimeDevice &device = pulseDevice.device;
        for (int round = 0; round < 3; ++round) {
            device.play(ChimeCue::Door);
            QVERIFY(hung.waitForNewConnection(10'000));
            hung.nextPendingConnection()->abort();
            QTRY_COMPARE_WITH_TIMEOUT(pulseDevice.player.link(), Link::Down, 10'000);
        }
        QCOMPARE(Warnings::Containing("no sound output"), 1);
        device.play(ChimeCue::Door);
        QVERIFY(hung.waitForNewConnection(10'000));
        for (int chime = 0; chime < 5; ++chime) {
            device.play(ChimeCue::Door);
        }
        QCOMPARE(pulseDevice.player.link(), Link::Connecting);
    }

private:
    QString soundServer() const { return "unix:" + server.filePath("real"); }

    int streams() const {
        return Output("pactl", {"--server=" + soundServer(), "list", "short", "sink-inputs"})
            .count('\n');
    }

    // A real sound server with a null sink whose monitor the test records;
    // the device under test plays to it.
    void startSoundServer() {
        qputenv("PULSE_SERVER", soundServer().toUtf8());
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
        QTRY_VERIFY_WITH_TIMEOUT(!Output("pactl", {"--server=" + soundServer(), "info"}).isEmpty(),
                                 10'000);
    }

    QTemporaryDir server;
    QProcess pulse;
};

QTEST_GUILESS_MAIN(PulseTest)
#include "tst_pulse.moc"
