// The relay as its test and its benchmark meet it: Debian's mosquitto started
// from data/relay/mosquitto.conf, its listeners on free loopback ports and
// its persistence and ACL in a folder of its own; a class's key, topics and
// signatures as the page makes them; and the teacher's class window in
// headless Chromium, which downloads its table into a folder, and tells at
// each picture of the pooled view which runs it shows anew and how many
// messages it refused (its `painted` hook).
import { spawn } from 'node:child_process';
import { createHash, createHmac, randomBytes } from 'node:crypto';
import { copyFileSync, mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import net from 'node:net';
import { userInfo } from 'node:os';
import path from 'node:path';
import mqtt from 'mqtt';
import { drivers, freePort, until } from './page_session.mjs';

export { mqtt };
const relayData = path.join(path.dirname(new URL(import.meta.url).pathname), '../../data/relay');

// A class: its key as the join address carries it, its name on the broker,
// its topics and a message signed as the page signs it.
export function relayClass(key = randomBytes(16).toString('base64url')) {
    const bytes = Buffer.from(key, 'base64url');
    const id = createHash('sha256').update(bytes).digest('hex').slice(0, 16);
    return { key, id, topics: `pokorin/1/${id}`,
        sign: (body) => `${createHmac('sha256', bytes).update(body).digest('hex')} ${body}` };
}

const accepts = (port) => new Promise((answered) => {
    const socket = net.connect(port, '127.0.0.1', () => { socket.destroy(); answered(true); });
    socket.on('error', () => answered(false));
});

// broker(FOLDER): mosquitto from the school's conf, its WebSockets listener
// and its TCP one on free ports of loopback only, persistence and the ACL in
// FOLDER, running as whoever runs this; stop(SIGNAL) and start() again on the
// same ports and folder. It ends with this process.
export async function broker(folder) {
    mkdirSync(folder, { recursive: true });
    const ports = { ws: await freePort(), tcp: await freePort() };
    const acl = path.join(folder, 'pokorin.acl');
    copyFileSync(path.join(relayData, 'pokorin.acl'), acl);
    let conf = readFileSync(path.join(relayData, 'mosquitto.conf'), 'utf8');
    // libwebsockets binds a listener to an interface given by its name.
    for (const [line, ours] of [[/^listener 8080$/m, `listener ${ports.ws} lo`],
        [/^listener 1883 127\.0\.0\.1$/m, `listener ${ports.tcp} 127.0.0.1`],
        [/^persistence_location .*$/m, `persistence_location ${folder}/`], [/^acl_file .*$/m, `acl_file ${acl}`]]) {
        if (!line.test(conf)) throw new Error(`mosquitto.conf has no line ${line}`);
        conf = conf.replace(line, ours);
    }
    const confFile = path.join(folder, 'mosquitto.conf');
    writeFileSync(confFile, `${conf}\nuser ${userInfo().username}\n`);
    let child = null, log = '';
    process.on('exit', () => child?.kill('SIGKILL'));
    const relay = {
        ws: `ws://127.0.0.1:${ports.ws}`,
        tcp: `mqtt://127.0.0.1:${ports.tcp}`,
        pid: () => child.pid,
        async start() {
            child = spawn('mosquitto', ['-c', confFile], { stdio: ['ignore', 'ignore', 'pipe'] });
            child.stderr.on('data', (text) => { log += text; });
            const ended = new Promise((end) => child.once('exit', end));
            child.ended = ended;
            await until(15, 'mosquitto listens on both ports', async () => {
                if (child.exitCode !== null) throw new Error(`mosquitto ended: ${log}`);
                return (await accepts(ports.ws) && await accepts(ports.tcp)) || 'not yet';
            });
        },
        async stop(signal = 'SIGTERM') {
            child.kill(signal);
            await child.ended;
        },
    };
    await relay.start();
    return relay;
}

// A client of the broker from node, connected.
export function client(address, options = {}) {
    return mqtt.connectAsync(address, { reconnectPeriod: 0, connectTimeout: 10_000, ...options });
}

// The teacher's class window: Chromium opened at the site with ?teach&relay=
// (and #KEY when given), downloads going to FOLDER. `watched()` gives what
// the window's pictures showed: each run's balls, the messages it refused,
// and with `timed`, every run shown anew with when, taken out of the page.
export async function teacherPage(site, relay, folder, { key = '', timed = false, width = 1280, height = 800 } = {}) {
    mkdirSync(folder, { recursive: true });
    const driver = await drivers.chromium({ width, height });
    const { page } = driver;
    await page.evaluateOnNewDocument((timing) => {
        let teacher;
        const watched = { runs: {}, refused: 0, pictures: 0, timed: [] };
        globalThis.pokorinWatched = watched;
        Object.defineProperty(globalThis, 'pokorinTeacher', { configurable: true, get: () => teacher,
            set: (value) => {
                teacher = value;
                teacher.painted = (changed, refused) => {
                    const at = performance.timeOrigin + performance.now();
                    watched.pictures += 1;
                    watched.refused = refused;
                    for (const [device, run, balls] of changed) {
                        watched.runs[`${device} ${run}`] = balls;
                        if (timing) watched.timed.push([device, run, balls, at]);
                    }
                };
            } });
    }, timed);
    const cdp = await page.browser().target().createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allowAndName', downloadPath: folder, eventsEnabled: true });
    const names = new Map(), done = [];
    cdp.on('Browser.downloadWillBegin', ({ guid, suggestedFilename }) => names.set(guid, suggestedFilename));
    cdp.on('Browser.downloadProgress', ({ guid, state }) => { if (state === 'completed') done.push(guid); });
    const teacher = {
        driver,
        page,
        key,
        // The class's address, the same class again once its key is known.
        async open() {
            await page.goto(`${site}?teach&relay=${relay}${teacher.key ? `#${teacher.key}` : ''}`);
            await teacher.shown();
        },
        async reload() {
            await page.reload();
            await teacher.shown();
        },
        async shown() {
            await until(90, 'the teacher\'s page shows the class window', () => page.evaluate(() =>
                (!!globalThis.pokorinTeacher?.join && globalThis.pokorinWatched.pictures > 0) ||
                document.getElementById('message').textContent));
            Object.assign(teacher, await page.evaluate(() =>
                ({ join: globalThis.pokorinTeacher.join, key: globalThis.pokorinTeacher.key })));
        },
        watched: () => page.evaluate(() => {
            const { timed, ...rest } = globalThis.pokorinWatched;
            return { ...rest, timed: timed.splice(0) };
        }),
        // 保存 through its key, Ctrl+S: the table as downloaded, read. The
        // key goes again when nothing came for a while: pressed just as a
        // question closes, it reaches no window until the class window is
        // active again.
        async table() {
            const before = done.length;
            let pressed = 0;
            await until(15, 'Ctrl+S downloads the class\'s table', async () => {
                if (done.length > before) return true;
                if (Date.now() - pressed > 3000) {
                    pressed = Date.now();
                    await page.keyboard.down('Control');
                    await page.keyboard.press('s');
                    await page.keyboard.up('Control');
                }
                return 'no download';
            });
            const guid = done.at(-1), file = path.join(folder, guid);
            if (names.get(guid) !== 'クラスの実験.csv') throw new Error(`the table came as ${names.get(guid)}`);
            const text = readFileSync(file, 'utf8');
            rmSync(file);
            return readTable(text);
        },
        close: () => driver.close(),
    };
    await teacher.open();
    return teacher;
}

// The class's table: the pooled count of each bin, and each run's counts
// (device and run by number, as the window gives them).
export function readTable(text) {
    if (!text.startsWith('\uFEFF') || !text.endsWith('\r\n')) throw new Error('the table is not UTF-8 with BOM and CRLF');
    const rows = text.slice(1, -2).split('\r\n').map((row) => row.split(','));
    return { bins: rows.slice(1, 12).map((row) => Number(row[1])),
        runs: rows.slice(13).map((row) => row.slice(2).map(Number)) };
}
