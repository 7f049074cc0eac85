// The class through a relay under load: 40, 300 and then 1000 simulated
// devices at the program's fastest pace (1 ms a level: a ball every 11 ms,
// the first a little apart on each device; a run ends at a full stack and the
// next begins a second later, as soon as a student can press 初期化 and 開始)
// publish their runs as the page does (the latest totals of one
// run each tenth of a second, signed with the class's key, retained, at least
// once; presence with a last will) for a minute each, through Debian's
// mosquitto started from the school's conf, to the teacher's class window in
// headless Chromium. Prints one line per figure: name value unit. Each level
// has a class, a broker and a teacher's browser of its own; the devices share
// a few node processes, and every process shares this machine's clock.
// Usage: node relay_bench.mjs SITE_FOLDER [DEVICES...]
import { fork } from 'node:child_process';
import { randomBytes } from 'node:crypto';
import { mkdtempSync, readFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { later, serve, until } from '../scripts/web/page_session.mjs';
import { broker, client, relayClass, teacherPage } from '../scripts/web/relay_session.mjs';

const kSeconds = 60;
const kMsPerBall = 11;
const kSendEveryMs = 100; // as the page does
const kMsBetweenRuns = 1000; // a student presses 初期化, then 開始
const kDevicesPerProcess = 250;
const now = () => performance.timeOrigin + performance.now();
const name = (first) => first + randomBytes(12).toString('hex');

// A process of devices: COUNT of them in the class of KEY at RELAY; once all
// are connected it says so, lands balls for SECONDS when told to start, sends
// what is left, and gives back the balls it landed per bin, its messages and
// their bytes, and one landing in SAMPLE with its run, balls and time.
async function devices({ count, key, relay, seconds, sample }) {
    const c = relayClass(key);
    const landed = Array(11).fill(0), samples = [];
    let messages = 0, bytes = 0, landings = 0;
    const publish = (device, topic, body) => {
        const payload = c.sign(body);
        messages += 1;
        bytes += topic.length + payload.length;
        device.client.publish(topic, payload, { qos: 1, retain: true });
    };
    const all = await Promise.all(Array.from({ length: count }, async () => {
        const device = { name: name('d'), runs: new Map(), unsent: new Set() };
        const presence = `${c.topics}/online/${device.name}`;
        device.client = await client(relay, { clientId: `pokorin-${device.name}-bench`, keepalive: 30,
            will: { topic: presence, payload: c.sign(JSON.stringify({ device: device.name, online: false })), qos: 1,
                retain: true } });
        publish(device, presence, JSON.stringify({ device: device.name, online: true }));
        return device;
    }));
    process.send({ joined: true });
    await new Promise((told) => process.once('message', told));
    const start = now();
    for (const [i, device] of all.entries()) {
        device.nextBall = start + (i % kMsPerBall) + kMsPerBall;
        device.nextSend = start + Math.random() * kSendEveryMs;
    }
    const newRun = (device, at) => {
        device.run = { name: name('r'), started: at, bins: Array(11).fill(0) };
        device.runs.set(device.run.name, device.run);
    };
    all.forEach((device) => newRun(device, start));
    const end = start + seconds * 1000;
    await new Promise((finished) => {
        const tick = setInterval(() => {
            const t = now();
            let left = false;
            for (const device of all) {
                for (; device.nextBall <= t && device.nextBall < end; device.nextBall += kMsPerBall) {
                    if (device.run.bins.includes(20)) {
                        device.nextBall += kMsBetweenRuns;
                        newRun(device, device.nextBall - kMsPerBall);
                        if (device.nextBall > t || device.nextBall >= end) break;
                    }
                    const { run } = device;
                    let bin = 0;
                    for (let level = 0; level < 10; level += 1) bin += Math.random() < 0.5 ? 1 : 0;
                    run.bins[bin] += 1;
                    run.ms = Math.floor(device.nextBall - run.started);
                    landed[bin] += 1;
                    device.unsent.add(run.name);
                    if (++landings % sample === 0) {
                        // From when this process landed it: on a busy machine that can
                        // be later than the ball was due, which a real device would
                        // not have waited for.
                        samples.push([device.name, run.name, run.bins.reduce((a, b) => a + b), t,
                            t - device.nextBall]);
                    }
                }
                // One run's latest totals a tenth of a second, the oldest unsent first.
                for (; device.nextSend <= t; device.nextSend += kSendEveryMs) {
                    const [next] = device.unsent;
                    if (next === undefined) continue;
                    device.unsent.delete(next);
                    const { bins, ms } = device.runs.get(next);
                    publish(device, `${c.topics}/runs/${device.name}/${next}`,
                        JSON.stringify({ device: device.name, run: next, bins, ms }));
                }
                left ||= device.unsent.size > 0;
            }
            if (t > end && !left) {
                clearInterval(tick);
                finished();
            }
        }, 2);
    });
    // Every message acknowledged by the broker before the devices leave.
    await until(30, 'the broker acknowledges every report', () =>
        all.every((device) => Object.keys(device.client.outgoing).length === 0) ||
        'messages in flight');
    // A large message is still being written when the process would end.
    await new Promise((sent) => process.send({ landed, samples, messages, bytes, seconds: (now() - start) / 1000 }, sent));
    await Promise.all(all.map((device) => device.client.endAsync()));
    process.exit();
}

// Processor seconds and resident memory of a process, from /proc.
function processFigures(pid) {
    const stat = readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ');
    const status = readFileSync(`/proc/${pid}/status`, 'utf8');
    const kib = (field) => Number(status.match(new RegExp(`${field}:\\s+(\\d+)`))?.[1] ?? 0);
    return { cpu: (Number(stat[11]) + Number(stat[12])) / 100, rss: kib('VmRSS'), peak: kib('VmHWM') };
}

const print = (what, value, unit) => console.log(`${what} ${Number(value.toPrecision(4))} ${unit}`);

async function level(site, count) {
    const scratch = mkdtempSync(path.join(tmpdir(), 'pokorin-relay-bench-'));
    const relay = await broker(path.join(scratch, 'broker'));
    const c = relayClass();
    const teacher = await teacherPage(site, relay.ws, path.join(scratch, 'downloads'), { key: c.key, timed: true });
    try {
        // The teacher's page runs in the renderer that holds the class's
        // program, by far the largest; Chromium's GPU process draws it.
        const browser = await teacher.page.browser().target().createCDPSession();
        const chromium = (await browser.send('SystemInfo.getProcessInfo')).processInfo;
        const [renderer] = chromium.filter((each) => each.type === 'renderer')
            .sort((a, b) => processFigures(b.id).rss - processFigures(a.id).rss);
        const watched = { broker: relay.pid(), renderer: renderer.id,
            gpu: chromium.find((each) => each.type === 'GPU')?.id };
        const busy = async () => (await teacher.page.metrics()).TaskDuration;
        const busyBefore = await busy();

        const sample = Math.max(7, Math.ceil((count * kSeconds * 1000) / kMsPerBall / 100_000));
        const processes = Math.ceil(count / kDevicesPerProcess);
        const workers = Array.from({ length: processes }, (_, i) => {
            const worker = fork(new URL(import.meta.url).pathname, ['devices'], { stdio: 'inherit' });
            const share = Math.floor(count / processes) + (i < count % processes ? 1 : 0);
            worker.send({ count: share, key: c.key, relay: relay.ws, seconds: kSeconds, sample });
            return worker;
        });
        const told = (worker) => new Promise((heard) => worker.once('message', heard));
        await Promise.all(workers.map(told));
        const results = workers.map(told);
        const before = Object.fromEntries(Object.entries(watched).map(([what, pid]) => [what, processFigures(pid)]));
        const peaks = { broker: 0, renderer: 0 };
        const paints = new Map();
        const takePaints = async () => {
            for (const [device, run, balls, at] of (await teacher.watched()).timed) {
                const key = `${device} ${run}`;
                if (!paints.has(key)) paints.set(key, []);
                paints.get(key).push([balls, at]);
            }
        };
        workers.forEach((worker) => worker.send('start'));
        let running = true;
        Promise.all(results).then(() => { running = false; });
        // Processor time over the minute of landings, memory at its most.
        const started = Date.now();
        let after, elapsed;
        let busyAfter;
        const measure = async () => {
            after = Object.fromEntries(Object.entries(watched).map(([what, pid]) => [what, processFigures(pid)]));
            busyAfter = await busy();
            elapsed = (Date.now() - started) / 1000;
        };
        while (running) {
            await later(1000);
            await takePaints();
            for (const what of ['broker', 'renderer']) peaks[what] = Math.max(peaks[what], processFigures(watched[what]).rss);
            if (!after && Date.now() - started >= kSeconds * 1000) await measure();
        }
        if (!after) await measure();
        const outcomes = await Promise.all(results);
        const landed = outcomes.reduce((sum, { landed: bins }) => sum.map((n, k) => n + bins[k]), Array(11).fill(0));
        const balls = landed.reduce((a, b) => a + b);
        const metrics = await teacher.page.metrics();

        // The window shows every ball, then its table is read.
        await until(60, 'the teacher\'s window shows every ball', async () => {
            await takePaints();
            const shown = Object.values((await teacher.watched()).runs).reduce((a, b) => a + b, 0);
            return shown === balls || `${shown} of ${balls}`;
        });
        const table = await teacher.table();
        const exact = JSON.stringify(table.bins) === JSON.stringify(landed);

        const delays = [], late = [];
        for (const { samples } of outcomes) {
            for (const [device, run, ballsThen, at, behind] of samples) {
                late.push(behind);
                const shown = paints.get(`${device} ${run}`)?.find(([shownBalls]) => shownBalls >= ballsThen);
                if (shown) delays.push(shown[1] - at);
            }
        }
        delays.sort((a, b) => a - b);
        late.sort((a, b) => a - b);
        const spent = (what) => (after[what].cpu - before[what].cpu) / elapsed;
        const messages = outcomes.reduce((sum, each) => sum + each.messages, 0);
        const bytes = outcomes.reduce((sum, each) => sum + each.bytes, 0);
        const figure = `relay_${count}_devices_`;
        print(`${figure}balls`, balls, 'balls');
        print(`${figure}pool_exact`, exact ? 1 : 0, 'yes');
        print(`${figure}reports_per_second`, messages / kSeconds, 'messages/s');
        print(`${figure}report_bytes`, bytes / messages, 'bytes');
        print(`${figure}landing_to_window_p50`, delays[Math.floor(delays.length / 2)] ?? 0, 'ms');
        print(`${figure}landing_to_window_p95`, delays[Math.floor(delays.length * 0.95)] ?? 0, 'ms');
        print(`${figure}landing_to_window_max`, delays.at(-1) ?? 0, 'ms');
        print(`${figure}landings_timed`, delays.length, 'landings');
        print(`${figure}simulated_landing_late_p95`, late[Math.floor(late.length * 0.95)] ?? 0, 'ms');
        print(`${figure}broker_processor`, spent('broker') * 100, '%_of_a_core');
        print(`${figure}broker_memory_peak`, Math.max(peaks.broker, processFigures(watched.broker).peak) / 1024, 'MiB');
        print(`${figure}teacher_renderer_processor`, spent('renderer') * 100, '%_of_a_core');
        print(`${figure}teacher_page_main_thread_busy`, ((busyAfter - busyBefore) / elapsed) * 100, '%');
        if (watched.gpu) print(`${figure}teacher_gpu_processor`, spent('gpu') * 100, '%_of_a_core');
        print(`${figure}teacher_renderer_memory_peak`, Math.max(peaks.renderer, processFigures(watched.renderer).peak) / 1024,
            'MiB');
        if (metrics.JSHeapUsedSize) print(`${figure}teacher_js_heap`, metrics.JSHeapUsedSize / 2 ** 20, 'MiB');
    } finally {
        await teacher.close();
        await relay.stop();
    }
}

if (process.argv[2] === 'devices') {
    process.once('message', devices);
} else {
    const site = await serve(path.resolve(process.argv[2]));
    const counts = process.argv.slice(3).length ? process.argv.slice(3).map(Number) : [40, 300, 1000];
    try {
        for (const count of counts) await level(site, count);
    } catch (error) {
        console.error(`relay_bench: ${error.message}`);
        process.exitCode = 1;
    } finally {
        process.exit();
    }
}
