// The page as a class meets it: one class scenario in Debian's Chromium, in
// Firefox ESR and in WebKitGTK (the engine of iPad Safari), driven only
// through the page and checked with the desktop tests' picture checks; then,
// in Chromium, fingers, the projector and a dropped network.
// Usage: node page_test.mjs SITE_FOLDER [ENGINE...]
import { execFileSync, spawn } from 'node:child_process';
import { readFile } from 'node:fs/promises';
import { createServer } from 'node:http';
import net from 'node:net';
import { tmpdir } from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const site = path.resolve(process.argv[2]);
const engines = process.argv.slice(3).length ? process.argv.slice(3) : ['chromium', 'firefox', 'webkit'];
const here = path.dirname(new URL(import.meta.url).pathname);
const session = path.join(here, '../e2e/x_session.sh');
const places = Object.fromEntries((await readFile(path.join(here, '../../scripts/places.txt'), 'utf8'))
    .split('\n').filter((line) => line.trim() && !line.startsWith('#'))
    .map((line) => line.trim().split(/\s+/)).map(([name, ...numbers]) => [name, numbers.map(Number)]));
const later = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The site on loopback. Its page counts the chimes the program starts and
// those heard to their end; `version` marks a new version of the site.
let version = '';
const counting = `<script>globalThis.chimes = { started: 0, ended: 0 };
  const Original = globalThis.AudioContext;
  globalThis.AudioContext = class extends Original { createBufferSource() {
    const source = super.createBufferSource(); const start = source.start.bind(source);
    source.start = (...when) => { chimes.started += 1; source.onended = () => { chimes.ended += 1; };
      return start(...when); };
    return source; } };</script>`;
const server = createServer(async (request, response) => {
    const name = new URL(request.url, 'http://x').pathname.replace(/\/$/, '/index.html');
    try {
        let body = await readFile(path.join(site, path.normalize(name)));
        if (name.endsWith('.html')) body = String(body).replace('<head>', `<head>${counting}${version}`);
        const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm' };
        response.writeHead(200, { 'Content-Type': types[path.extname(name)] ?? 'application/octet-stream' });
        response.end(body);
    } catch {
        response.writeHead(404).end();
    }
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
const url = `http://127.0.0.1:${server.address().port}/`;

// Servers the engines need, ended with the test: an X server, a sound server.
const children = [];
process.on('exit', () => children.forEach((child) => child.kill()));
const xServer = () => new Promise((started) => {
    const x = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1400x1200x24', '-nolisten', 'tcp'],
        { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    children.push(x);
    x.stdio[3].once('data', (display) => started(`:${String(display).trim()}`));
});
const soundServer = () => {
    const socket = path.join(tmpdir(), `pokorin-page-pulse-${process.pid}`);
    children.push(spawn('pulseaudio', ['-n', '--daemonize=no', '--exit-idle-time=-1', '-L', 'module-null-sink',
        '-L', `module-native-protocol-unix auth-anonymous=1 socket=${socket}`], { stdio: 'ignore' }));
    return `unix:${socket}`;
};

// Chromium and Firefox through puppeteer; the page's viewport is the screen.
const puppeteerDriver = async (browser, page, width, height, dpr, touch = false) => {
    await page.setViewport({ width, height, deviceScaleFactor: dpr, hasTouch: touch });
    return {
        page,
        open: (address) => page.goto(address),
        evaluate: (script) => page.evaluate(script),
        click: (x, y) => page.mouse.click(x, y),
        key: (key) => page.keyboard.press(key),
        type: (text) => page.keyboard.type(text),
        shot: async (file) => { await page.screenshot({ path: file }); },
        close: () => browser.close(),
    };
};
const drivers = {
    chromium: async ({ width = 664, height = 572, dpr = 1, touch = false } = {}) => {
        const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true,
            args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-first-run',
                '--disable-background-networking', '--disable-component-update', '--disable-sync',
                '--autoplay-policy=no-user-gesture-required'] });
        return puppeteerDriver(browser, await browser.newPage(), width, height, dpr, touch);
    },
    // Firefox has WebGL only with a display, and plays nothing without a sound server.
    firefox: async ({ width = 664, height = 572 } = {}) => {
        const browser = await puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
            headless: false, extraPrefsFirefox: { 'media.autoplay.default': 0 },
            env: { ...process.env, DISPLAY: await xServer(), PULSE_SERVER: soundServer() } });
        return puppeteerDriver(browser, (await browser.pages())[0], width, height, 1);
    },
    // MiniBrowser, through its WebDriver over plain HTTP, full screen: the page starts at the X screen's corner.
    webkit: async ({ width = 664, height = 572 } = {}) => {
        const port = await new Promise((free) => {
            const probe = net.createServer().listen(0, '127.0.0.1', () => {
                const { port } = probe.address();
                probe.close(() => free(port));
            });
        });
        children.push(spawn('WebKitWebDriver', [`--port=${port}`], { stdio: 'ignore',
            env: { ...process.env, DISPLAY: await xServer(), PULSE_SERVER: soundServer() } }));
        const call = async (method, where, body) => {
            const answer = await fetch(`http://127.0.0.1:${port}${where}`, { method, body: JSON.stringify(body),
                headers: { 'content-type': 'application/json' }, signal: AbortSignal.timeout(60000) });
            const { value } = await answer.json();
            if (!answer.ok) throw new Error(`${method} ${where}: ${value?.message}`);
            return value;
        };
        await until(30, 'WebKitWebDriver answers', () => call('GET', '/status').then(() => true, () => 'no answer'));
        const { sessionId } = await call('POST', '/session', { capabilities: { alwaysMatch: {
            'webkitgtk:browserOptions': { binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
                args: ['--automation', '--full-screen'] } } } });
        const s = `/session/${sessionId}`;
        await call('POST', `${s}/window/rect`, { x: 0, y: 0, width, height });
        const keys = { Enter: '\uE007', End: '\uE010', Backspace: '\uE003' };
        const act = (type, actions) => call('POST', `${s}/actions`, { actions: [{ type, id: type,
            parameters: type === 'pointer' ? { pointerType: 'mouse' } : undefined, actions }] });
        const press = (key) => [{ type: 'keyDown', value: keys[key] ?? key }, { type: 'keyUp', value: keys[key] ?? key }];
        return {
            open: (address) => call('POST', `${s}/url`, { url: address }),
            evaluate: (script) => call('POST', `${s}/execute/sync`, { script: `return (${script})()`, args: [] }),
            click: (x, y) => act('pointer', [{ type: 'pointerMove', x: Math.round(x), y: Math.round(y) },
                { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }]),
            key: (key) => act('key', press(key)),
            type: (text) => act('key', [...text].flatMap(press)),
            shot: async (file) => execFileSync('bash', ['-c', `base64 -d >"${file}"`],
                { input: await call('GET', `${s}/screenshot`) }),
            close: () => call('DELETE', s),
        };
    },
};

// until(SECONDS, WHAT, CONDITION): polls the condition, which gives true or
// what it saw, until it holds; after SECONDS the test fails with what was seen.
let slowest = [0, ''];
async function until(seconds, what, condition) {
    const started = Date.now();
    for (;;) {
        const seen = await condition();
        if (seen === true) {
            if (Date.now() - started > slowest[0]) slowest = [Date.now() - started, what];
            return;
        }
        if (Date.now() - started > seconds * 1000) throw new Error(`${what}: not within ${seconds} s (seen: ${seen})`);
        await later(100);
    }
}

// The program on a page: its places, scaled and moved as the page shows its
// screen, and the desktop tests' checks on a picture of the page.
function program(driver, name, ratio = 1) {
    let origin = [4 * ratio, 26 * ratio], scale = ratio; // in the pictures' pixels
    const file = (picture) => path.join(tmpdir(), `pokorin-${name}-${picture}.png`);
    const at = (place, [dx, dy] = [0, 0]) => [origin[0] + (places[place][0] + dx) * scale,
        origin[1] + (places[place][1] + dy) * scale];
    // check(FUNCTION, PICTURE, ARGS...) in the main window; the help window's
    // client area stands 21 and 11 pixels from the main window's.
    let window = [0, 0];
    const check = (fn, picture, ...args) => execFileSync('bash', ['-c',
        `source "${session}"; X0=${Math.round(origin[0] + window[0] * scale)} Y0=${Math.round(origin[1] + window[1] * scale)}; cp "$1" "$E2E_TMP/shot.png"; ${fn} shot "\${@:2}"`,
        'check', file(picture), ...args.map(String)], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] }).trim();
    const holds = (...args) => { try { check(...args); return true; } catch { return false; } };
    const inHelp = (...args) => { window = [21, 11]; try { return holds(...args); } finally { window = [0, 0]; } };
    // How many red, or dark, pixels a place of the main window holds, at any scale.
    const count = (picture, place, kind = 'red') => {
        const [x, y, w, h] = places[place].map((n) => n * scale);
        return Number(execFileSync('convert', [file(picture), '-crop', `${Math.round(w)}x${Math.round(h)}+` +
            `${Math.round(origin[0] + x)}+${Math.round(origin[1] + y)}`,
        ...(kind === 'red' ? ['-fill', 'black', '+opaque', '#FF0000', '-fill', 'white', '-opaque', '#FF0000']
            : ['-colorspace', 'Gray', '-negate', '-threshold', '60%']),
        '-colorspace', 'Gray', '-format', '%[fx:int(w * h * mean)]', 'info:'], { encoding: 'utf8' }));
    };
    return {
        file, check, holds, inHelp, count, at, scale: () => scale,
        shot: async (picture) => { await driver.shot(file(picture)); return picture; },
        click: (place, offset) => driver.click(...at(place, offset)),
        // Where the page shows the screen now: its client area's corner and scale.
        located: async () => {
            const [left, top, width] = await driver.evaluate(() => {
                const box = document.getElementById('screen').style;
                return [parseFloat(box.left), parseFloat(box.top), parseFloat(box.transform.slice(6))];
            });
            scale = width * ratio;
            origin = [left * ratio + 4 * scale, top * ratio + 26 * scale];
        },
        chimes: () => driver.evaluate(() => globalThis.chimes),
    };
}

// Waits for the board; returns when the first picture that shows it was taken.
async function boardShows(driver, p, picture) {
    let taken = 0;
    await until(30, 'the board shows', async () => {
        taken = Date.now();
        return p.holds('board_drawn', await p.shot(picture), p.scale()) || 'no board';
    });
    return taken;
}

// The class scenario, through the mouse and the keyboard.
async function scenario(name) {
    const driver = await drivers[name]();
    const p = program(driver, name);
    try {
        // The clock starts with the page, in a browser that has settled: a class's
        // browser has been open a while, and one just started keeps the cores busy.
        await driver.open('about:blank');
        await later(3000);
        const loading = Date.now();
        await driver.open(url);
        const drawn = await boardShows(driver, p, 'start');
        console.log(`-- ${name}: the board is drawn, ${((drawn - loading) / 1000).toFixed(1)} s after loading`);

        const before = p.check('dark', await p.shot('before'), 'drop-counter');
        await p.click('fall-speed');
        await driver.key('End');
        for (const _ of '100') await driver.key('Backspace');
        await driver.type('10');
        await p.click('start');
        await until(30, 'a ball lands', async () =>
            p.check('dark', await p.shot('running'), 'drop-counter') !== before || 'the counter unchanged');
        await p.click('stop');
        if (p.count(await p.shot('stopped'), 'stacks') === 0) throw new Error('no square stands in the bins');
        console.log(`-- ${name}: 開始 at 10 ms a level lands balls`);

        await p.click('help');
        await until(15, 'the help window shows its text', async () =>
            p.inHelp('help_text_shown', await p.shot('help')) || 'no text');
        await until(15, 'HELP\'s chime sounds to its end', async () => (await p.chimes()).ended > 0 ||
            `${(await p.chimes()).started} started`);
        if ((await p.chimes()).started !== 1) throw new Error(`HELP started ${(await p.chimes()).started} chimes`);
        console.log(`-- ${name}: HELP opens the help window with its text and one chime`);
        await driver.key('Enter'); // 閉じる, which has the focus
        await until(15, '閉じる uncovers the title', async () =>
            p.holds('near', await p.shot('closed'), 'FFC080', ...places.title) || 'no title');

        await p.click('initialise');
        await until(15, '初期化 clears the stacks', async () =>
            p.count(await p.shot('initialised'), 'stacks') === 0 || 'squares in the bins');
        console.log(`-- ${name}: 初期化 clears the stacks`);

        const chimed = (await p.chimes()).started;
        await p.click('quit'); // the closing chime, then the box
        await until(15, 'the closing chime starts', async () => (await p.chimes()).started > chimed || 'none');
        await driver.key('Enter'); // はい, the box's default
        await until(15, '終了 then はい leaves the end notice', () =>
            driver.evaluate(() => document.body.innerText.includes('終了しました。')));
        console.log(`-- ${name}: 終了 then はい leaves the end notice`);
    } finally {
        await driver.close();
    }
}

// Fingers: taps through the DevTools protocol on a touch screen, no mouse.
// Each button answers a tap once; a long press or a slight drag on 開始
// starts one run; 開始 can be tapped while the help window is open.
async function fingers() {
    const driver = await drivers.chromium({ touch: true });
    const p = program(driver, 'fingers');
    const touch = driver.page.touchscreen;
    const tap = (place) => touch.tap(...p.at(place));
    const press = async (place, { hold = 0, drag = 0 } = {}) => {
        const [x, y] = p.at(place);
        await touch.touchStart(x, y);
        if (drag) await touch.touchMove(x + drag, y + drag);
        await later(hold);
        await touch.touchEnd();
    };
    let chimes = 0; // as many as the taps that ask for one
    const chimed = async (action, what) => {
        chimes += 1;
        await action();
        await until(15, what, async () => (await p.chimes()).started >= chimes || 'no chime');
    };
    const runs = async (action, what) => {
        const before = p.check('dark', await p.shot('before'), 'drop-counter');
        await action();
        await until(30, what, async () =>
            p.check('dark', await p.shot('running'), 'drop-counter') !== before || 'the counter unchanged');
        await tap('stop');
        await until(15, '停止 shows the ratios', async () => p.count(await p.shot('stopped'), 'ratios', 'dark') > 50 ||
            'no ratios');
    };
    try {
        await driver.open(url);
        await boardShows(driver, p, 'start');
        await tap('fall-speed');
        await until(10, 'a tap on the field asks for the on-screen keyboard', () =>
            driver.evaluate(() => document.activeElement?.tagName === 'INPUT' || document.activeElement?.tagName));
        await runs(() => press('start', { hold: 800 }), 'a long press on 開始 starts a run');
        await chimed(() => tap('help'), 'HELP chimes');
        await until(15, 'the help window shows its text', async () => p.inHelp('help_text_shown', await p.shot('help')) ||
            'no text');
        await runs(() => tap('start'), '開始 tapped with the help window open starts a run');
        await touch.tap(...p.at('close', [21, 11]));
        await until(15, '閉じる uncovers the title', async () =>
            p.holds('near', await p.shot('closed'), 'FFC080', ...places.title) || 'no title');
        await chimed(() => tap('initialise'), '初期化 chimes');
        await until(15, '初期化 clears the stacks', async () => p.count(await p.shot('cleared'), 'stacks') === 0 ||
            'squares in the bins');
        await runs(() => press('start', { drag: 4 }), 'a slight drag on 開始 starts a run');
        await chimed(() => tap('quit'), '終了 chimes');
        await tap('no');
        await chimed(() => tap('quit'), '終了 asks again after いいえ');
        if ((await p.chimes()).started !== chimes) throw new Error('a tap chimed more than once');
        await tap('yes');
        await until(15, 'はい leaves the end notice', () =>
            driver.evaluate(() => document.body.innerText.includes('終了しました。')));
        console.log('-- fingers: every button answers one tap, a long press and a slight drag start one run, ' +
            'the field asks for the on-screen keyboard, 開始 works beside the help window');
    } finally {
        await driver.close();
    }
}

// The projector: the program fills a 1920 x 1080 page and keeps its
// experiment through a turn to portrait and back; at a pixel ratio of 2 the
// board is the reviewed picture at scale 2, pixel for pixel.
async function projector() {
    let driver = await drivers.chromium({ width: 1920, height: 1080 });
    let p = program(driver, 'projector');
    const fitted = async (what) => {
        await until(30, what, async () => {
            await p.located();
            const picture = await p.shot('fitted');
            return (p.holds('board_drawn', picture, p.scale()) || p.count(picture, 'stacks') > 0) &&
                p.count(picture, 'ratios', 'dark') > 50 && await driver.evaluate(() => globalThis.kept) ||
                'not fitted';
        });
    };
    try {
        await driver.open(url);
        await until(30, 'the board shows', async () => (await p.located(), p.holds('board_drawn',
            await p.shot('start'), p.scale())) || 'no board');
        const covers = 542 * p.scale() / 1080;
        if (covers < 0.8) throw new Error(`the program covers ${Math.round(covers * 100)} % of the height`);
        await p.click('start');
        await until(30, 'a ball lands', async () => p.count(await p.shot('running'), 'stacks') > 0 || 'none');
        await p.click('stop');
        await driver.evaluate(() => { globalThis.kept = true; });
        for (const [width, height] of [[1080, 1920], [1920, 1080]]) {
            await driver.page.setViewport({ width, height });
            await fitted(`the experiment is fitted to ${width} x ${height}`);
        }
        console.log(`-- projector: the program covers ${Math.round(covers * 100)} % of a 1920 x 1080 page, ` +
            'and turns to portrait and back without losing its experiment');
        await driver.close();
        driver = await drivers.chromium({ dpr: 2 });
        p = program(driver, 'sharp', 2);
        await driver.open(url);
        await boardShows(driver, p, 'start');
        // Qt's web platform may put the window a pixel off where the desktop does not.
        const reference = path.join(here, '../reference/6.4/start-up-x2.png');
        const board = (file, x, y) => ['(', file, '-crop', `1282x802+${x}+${y}`, '+repage', ')'];
        const apart = ([dx, dy]) => Number(execFileSync('bash', ['-c', 'compare "$@" 2>&1 || true', 'apart',
            '-metric', 'AE', ...board(p.file('start'), 24 + dx, 116 + dy), ...board(reference, 386, 264), 'null:'],
        { encoding: 'utf8' }));
        const nearest = Math.min(...[-2, 0, 2].flatMap((dx) => [-2, 0, 2].map((dy) => apart([dx, dy]))));
        if (nearest !== 0) throw new Error(`at a pixel ratio of 2 the board is ${nearest} pixels off the reviewed one`);
        console.log('-- projector: at a pixel ratio of 2 the board is the reviewed picture at scale 2, pixel for pixel');
    } finally {
        await driver.close();
    }
}

// A dropped network: after one visit the page starts without it; with the
// network back, a new version of the site replaces the kept one.
async function offline() {
    const driver = await drivers.chromium();
    const p = program(driver, 'offline');
    try {
        await driver.open(url);
        await boardShows(driver, p, 'start');
        await until(30, 'the service worker keeps the site', () => driver.evaluate(async () =>
            !!navigator.serviceWorker.controller && !!(await caches.match('pokorin.wasm')) || 'not kept'));
        await driver.page.setOfflineMode(true);
        await driver.page.reload();
        await boardShows(driver, p, 'offline');
        await p.click('start');
        await until(30, 'a ball lands offline', async () => p.count(await p.shot('running'), 'stacks') > 0 ||
            'none');
        await driver.page.setOfflineMode(false);
        version = '<meta name="pokorin-version" content="2">';
        await driver.page.reload();
        await until(30, 'the new version replaces the kept one', () =>
            driver.evaluate(() => !!document.querySelector('meta[name=pokorin-version]') || 'the old one'));
        console.log('-- offline: the page starts and runs with the network off, and takes a new version with it on');
    } finally {
        version = '';
        await driver.close();
    }
}

try {
    for (const name of engines) await scenario(name);
    if (engines.includes('chromium')) {
        await fingers();
        await projector();
        await offline();
    }
    console.log(`slowest wait: ${(slowest[0] / 1000).toFixed(1)} s, until ${slowest[1]}`);
} catch (error) {
    console.error(`FAIL: ${error.message}`);
    process.exitCode = 1;
} finally {
    server.close();
    process.exit();
}
