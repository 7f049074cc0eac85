// The class through a relay: Debian's mosquitto started from the school's
// conf, the site from a static server, the teacher's class window in a page
// of headless Chromium, and students in Chromium, Firefox ESR and WebKitGTK
// who join at the teacher's address and run experiments. The teacher's table,
// downloaded by its 保存 (Ctrl+S), holds every run of the pages, each once,
// through a student's network cut, a student's reload, the teacher's reload,
// a crash of the broker while the teacher was away, and 最初から, after which
// only new balls count and the broker keeps no run of before. A stranger's
// forged, malformed and impossible reports and a report at another run's
// topic change nothing and are counted on the window. A relay a page cannot
// use is refused with the reason, and the site without a class fetches
// nothing of the teacher's program.
// Usage: node relay_test.mjs SITE_FOLDER [ENGINE...]
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import {
    drivers, later, located, pageScreen, runTest, serve, typeFallSpeed, until,
} from '../../scripts/web/page_session.mjs';
import { broker, client, relayClass, teacherPage } from '../../scripts/web/relay_session.mjs';

const site = path.resolve(process.argv[2]);
const engines = process.argv.slice(3).length ? process.argv.slice(3) : ['chromium', 'firefox', 'webkit'];
const scratch = mkdtempSync(path.join(tmpdir(), 'pokorin-relay-'));
const zeros = () => Array(11).fill(0);
const balls = (bins) => bins.reduce((a, b) => a + b, 0);
const sum = (lists) => lists.reduce((total, list) => total.map((count, k) => count + list[k]), zeros());
const runsText = (runs) => JSON.stringify(runs.filter((bins) => bins.some((n) => n > 0)).map(String).sort());

// A student's page: its runs by name, those of its earlier loadings kept.
async function student(engine, join) {
    const driver = await drivers[engine]({ height: pageScreen.height + 22 });
    const s = { engine, driver, kept: {} };
    s.line = () => driver.evaluate(() => document.getElementById('class').textContent);
    s.says = (what, text) => until(60, `${engine}'s line says ${what}`, async () =>
        (await s.line()).includes(text) || await s.line());
    s.open = async (again = false) => {
        await (again ? driver.reload() : driver.open(join));
        await until(90, `${engine} shows the program and joins the class through the relay`, () => driver.evaluate(() =>
            (document.getElementById('class').textContent.includes('送っています') &&
                document.getElementById('screen').style.display === 'block') ||
                document.getElementById('class').textContent));
        await later(1000);
    };
    s.click = async (place) => driver.click(...(await located(driver)).at(place));
    s.runs = async () => ({ ...s.kept, ...await driver.evaluate(() => globalThis.pokorinRuns ?? {}) });
    s.start = async () => {
        await typeFallSpeed(driver, (await located(driver)).at('fall-speed'), '10');
        await s.click('start');
    };
    s.reload = async () => {
        Object.assign(s.kept, await s.runs());
        await s.open(true);
    };
    await s.open();
    return s;
}

// Every run of the pages, less what each held at 最初から.
const students = [];
let afresh = {};
async function pagesRuns() {
    const runs = [];
    for (const s of students) {
        for (const [name, bins] of Object.entries(await s.runs())) {
            runs.push(bins.map((count, k) => count - (afresh[name]?.[k] ?? 0)));
        }
    }
    return runs;
}
async function runAll(ms = 2000) {
    for (const s of students) await s.start();
    await later(ms);
    for (const s of students) await s.click('stop');
    await later(500);
}

let teacher;
// The teacher's table holds the pages' runs, each as the page counted it.
async function tableHolds(what) {
    const runs = await pagesRuns();
    let table;
    await until(60, `the teacher's table holds ${what}`, async () => {
        table = await teacher.table();
        return (JSON.stringify(table.bins) === JSON.stringify(sum(runs)) && runsText(table.runs) === runsText(runs)) ||
            `${table.bins} in ${table.runs.length} runs for ${sum(runs)} in ${runs.length}`;
    });
    return table;
}

// The 最初から button: the fourth of the bottom row's buttons from the right,
// found by their frames in a picture of the page: the row's top and bottom
// edges are the page's last two rows with a long line of frame, and between
// them stand each button's sides.
async function startAfreshButton() {
    const picture = path.join(scratch, 'teacher.png');
    await teacher.driver.shot(picture);
    const { width, height } = teacher.page.viewport();
    const grey = execFileSync('convert', [picture, '-colorspace', 'Gray', '-depth', '8', 'gray:-']);
    const frame = (x, y) => grey[y * width + x] < 0xC0;
    const line = (y) => {
        let longest = 0;
        for (let x = 0, run = 0; x < width; x += 1) longest = Math.max(longest, run = frame(x, y) ? run + 1 : 0);
        return longest;
    };
    const [top, bottom] = [...Array(height).keys()].filter((y) => line(y) > 50).slice(-2);
    const sides = [...Array(width).keys()].filter((x) => frame(x, top + 2) && !frame(x - 1, top + 2));
    const [left, right] = sides.slice(-8, -6);
    if (right === undefined) throw new Error(`no row of buttons in the teacher's picture (${sides.length} sides)`);
    return [(left + right) / 2, (top + bottom) / 2];
}

// The runs the broker keeps for the class, read as its teacher's page would
// (its name is the class's), while no page of the teacher is open: once a
// message published after the subscription comes back, every kept one has.
async function keptRuns(c, relay) {
    const reader = await client(relay.tcp, { clientId: c.id });
    const kept = new Set();
    let flushed = false;
    reader.on('message', (topic, payload) => {
        if (topic.endsWith('/flush0000/flush0000')) flushed = true;
        else if (topic.includes('/runs/') && payload.length) kept.add(topic);
    });
    await reader.subscribeAsync(`${c.topics}/#`, { qos: 1 });
    await reader.publishAsync(`${c.topics}/runs/flush0000/flush0000`, '', { qos: 1 });
    await until(15, 'the broker hands over the class\'s kept messages', () => flushed || 'not yet');
    await reader.endAsync();
    return kept;
}

await runTest(async () => {
    const relay = await broker(path.join(scratch, 'broker'));
    const url = await serve(site);
    teacher = await teacherPage(url, relay.ws, path.join(scratch, 'downloads'));
    const c = relayClass(teacher.key);
    for (const engine of engines) students.push(await student(engine, teacher.join));
    console.log(`-- ${students.length} pages join the class at ${teacher.join}`);

    // A network cut while a run goes on, and the run stopped offline; another page reloaded.
    for (const s of students) await s.start();
    await later(2000);
    const cut = students.find((s) => s.engine === 'chromium');
    const reloaded = students.find((s) => s !== cut) ?? cut;
    await cut.driver.page.setOfflineMode(true);
    await cut.says('it is not connected', 'つながっていません');
    await cut.click('stop');
    await later(1000);
    await cut.driver.page.setOfflineMode(false);
    await reloaded.click('stop');
    await later(500);
    await reloaded.reload();
    await reloaded.start();
    await later(2000);
    for (const s of students) await s.click('stop');
    await later(500);
    let table = await tableHolds('the pages\' runs through a network cut and a reload');
    console.log(`-- the teacher's table holds the pages' ${table.runs.length} runs, ` +
        `${balls(table.bins)} balls, through a network cut (${cut.engine}) and a reload (${reloaded.engine})`);

    await teacher.reload();
    await tableHolds('the same runs after the teacher\'s reload');
    console.log('-- the teacher\'s reload brings back the same pool, from the browser and the broker');

    // The broker crashes while the teacher is away: what it kept since its
    // last save is lost, and only the pages' sending again brings it back.
    const seen = (await teacher.watched()).runs;
    await teacher.page.setOfflineMode(true);
    await runAll();
    if (JSON.stringify((await teacher.watched()).runs) !== JSON.stringify(seen)) {
        throw new Error('the teacher\'s page went on taking reports while offline');
    }
    await relay.stop('SIGKILL');
    for (const s of students) await s.says('it is not connected', 'つながっていません');
    await relay.start();
    for (const s of students) await s.says('it sends again', '送っています');
    await teacher.page.setOfflineMode(false);
    table = await tableHolds('the pages\' runs after the broker\'s crash');
    console.log(`-- after the broker crashed and started again the pages reconnect by themselves, and the table ` +
        `holds their ${balls(table.bins)} balls`);

    // A stranger on the TCP listener, and a student gone bad, who has the key.
    const before = await teacher.table();
    const refused = (await teacher.watched()).refused;
    const stranger = await client(relay.tcp, { clientId: 'stranger-1234' });
    const report = (run, bins) => JSON.stringify({ device: 'dstranger1', run, bins, ms: 60000 });
    const good = report('rstranger1', [0, 0, 0, 0, 1, 2, 1, 0, 0, 0, 0]);
    const pranks = [
        ['forged', relayClass().sign(good)],
        ['unsigned', good],
        ['not JSON', c.sign('{"device": "dstranger1"')],
        ['wrong keys', c.sign(JSON.stringify({ device: 'dstranger1', run: 'rstranger1', counts: [1], ms: 9 }))],
        ['a bin over 20', c.sign(report('rstranger1', [0, 0, 0, 0, 0, 21, 0, 0, 0, 0, 0]))],
        ['another run\'s report', c.sign(report('rstranger2', [0, 0, 0, 0, 1, 2, 1, 0, 0, 0, 0]))],
    ];
    for (const [, message] of pranks) {
        await stranger.publishAsync(`${c.topics}/runs/dstranger1/rstranger1`, message, { qos: 1 });
    }
    await stranger.endAsync();
    await until(15, `the window counts the ${pranks.length} refused messages`, async () =>
        (await teacher.watched()).refused === refused + pranks.length || `${(await teacher.watched()).refused - refused}`);
    if (JSON.stringify(await teacher.table()) !== JSON.stringify(before)) throw new Error('a stranger changed the pool');
    console.log(`-- a stranger's messages (${pranks.map(([what]) => what).join(', ')}) change nothing, ` +
        'and the window counts each');

    // 最初から, answered はい with Alt+Y.
    await teacher.page.mouse.click(...await startAfreshButton());
    await later(1000);
    await teacher.page.keyboard.down('Alt');
    await teacher.page.keyboard.press('y');
    await teacher.page.keyboard.up('Alt');
    for (const s of students) Object.assign(afresh, await s.runs());
    await tableHolds('nothing after 最初から');
    await teacher.page.goto('about:blank');
    const ofBefore = Object.keys(afresh);
    await until(15, 'the broker keeps no run of before 最初から', async () => {
        const kept = [...await keptRuns(c, relay)].filter((topic) => ofBefore.includes(topic.split('/').at(-1)));
        return kept.length === 0 || `${kept.length} runs kept`;
    });
    await runAll();
    await teacher.open();
    table = await tableHolds('only the balls after 最初から, once the teacher\'s page is opened again');
    console.log(`-- 最初から empties the pool and the broker; the teacher's page opened again holds only the ` +
        `${balls(table.bins)} balls landed since`);

    // Relays a page cannot use, with the reason on the student's line and the teacher's page.
    const page = await teacher.page.browser().newPage();
    const refusal = async (address, where, why) => {
        await page.goto(address);
        await until(30, `${address.replace(/#.*/, '')} says ${why}`, () => page.evaluate((id) =>
            document.getElementById(id).textContent, where).then((said) => said.includes(why) || said));
        console.log(`-- ${address.replace(/#.*/, '')} is refused: ${why}`);
    };
    const key = `#${c.key}`;
    const secure = await serve(site, undefined, { tls: certificate() });
    await (await page.target().createCDPSession()).send('Security.setIgnoreCertificateErrors', { ignore: true });
    const scheme = 'ws:// か wss:// で始まります', mixed = 'https のページからは wss:// の中継サーバーにしか';
    await refusal(`${url}?class=${c.id}&relay=http://x${key}`, 'class', scheme);
    await refusal(`${url}?teach&relay=http://x`, 'message', scheme);
    await refusal(`${secure}?class=${c.id}&relay=${relay.ws}${key}`, 'class', mixed);
    await refusal(`${secure}?teach&relay=${relay.ws}`, 'message', mixed);
    await page.close();

    // The site without a class: only the program's files, kept by the service worker too.
    const fetched = new Set();
    const plain = await serve(site, undefined, { heard: (name) => fetched.add(name) });
    const visitor = await drivers.chromium();
    try {
        await visitor.open(plain);
        await until(60, 'the service worker keeps the site', () => visitor.evaluate(async () =>
            (!!navigator.serviceWorker.controller && !!(await caches.match('pokorin.wasm'))) || 'not kept'));
        await visitor.open(`${plain}?class=${c.id}&relay=${relay.ws}${key}`);
        await until(60, 'a student\'s page joins', () => visitor.evaluate(() =>
            document.getElementById('class').textContent.includes('送っています') || 'not joined'));
    } finally {
        await visitor.close();
    }
    const teachers = [...fetched].filter((name) => name.includes('pokorin-class'));
    if (teachers.length) throw new Error(`a student's page fetched ${teachers.join(' ')}`);
    const sent = (name) => {
        const file = path.join(site, name.replace(/^\/$/, '/index.html'));
        return existsSync(`${file}.br`) ? statSync(`${file}.br`).size : existsSync(file) ? statSync(file).size : 0;
    };
    const bytes = [...fetched].reduce((total, name) => total + sent(name), 0);
    if (bytes > 3.0e6) throw new Error(`a student's page downloads ${bytes} bytes`);
    console.log(`-- a student's page and its service worker fetch ${fetched.size} files, ` +
        `${(bytes / 1e6).toFixed(2)} MB as downloaded, nothing of the teacher's program`);
}, async () => {
    await Promise.allSettled([...students.map((s) => s.driver.close()), teacher?.close()]);
});

// A certificate of 127.0.0.1 for an https server of this test alone.
function certificate() {
    const [key, cert] = ['key.pem', 'cert.pem'].map((name) => path.join(scratch, name));
    execFileSync('openssl', ['req', '-x509', '-newkey', 'ec', '-pkeyopt', 'ec_paramgen_curve:prime256v1', '-nodes',
        '-keyout', key, '-out', cert, '-days', '1', '-subj', '/CN=127.0.0.1', '-addext', 'subjectAltName=IP:127.0.0.1'],
    { stdio: 'ignore' });
    return { key: readFileSync(key), cert: readFileSync(cert) };
}
