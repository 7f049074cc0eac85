// Drives the web build's page like a user, for its test and its screenshot:
// the site on a loopback server, a browser of three engines (Debian's
// Chromium; Firefox ESR and WebKitGTK's MiniBrowser on an X server of their
// own), and the places of places.txt and the windows' layout that the build
// writes (build/layout.txt, or POKORIN_LAYOUT) on the page as it shows the
// program.
import { spawn } from 'node:child_process';
import { readFile, writeFile } from 'node:fs/promises';
import { createServer } from 'node:http';
import { createServer as createSecureServer } from 'node:https';
import net from 'node:net';
import { tmpdir } from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const here = path.dirname(new URL(import.meta.url).pathname);
const placeFiles = [path.join(here, '../places.txt'),
    process.env.POKORIN_LAYOUT ?? path.join(here, '../../build/layout.txt')];
export const places = Object.fromEntries((await Promise.all(placeFiles.map((file) => readFile(file, 'utf8'))))
    .join('\n').split('\n').filter((line) => line.trim() && !line.startsWith('#'))
    .map((line) => line.trim().split(/\s+/)).map(([name, ...numbers]) => [name, numbers.map(Number)]));
// The page's screen: the main window in the frame Qt's web platform draws.
const [frameLeft, frameTop, frameRight, frameBottom] = places['page-frame'];
export const pageScreen = { width: places['main-window'][2] + frameLeft + frameRight,
    height: places['main-window'][3] + frameTop + frameBottom };
export const later = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// until(SECONDS, WHAT, CONDITION): polls the condition, which gives true or
// what it saw, until it holds; after SECONDS it throws with what was seen.
export const slowest = { ms: 0, what: '' };
export async function until(seconds, what, condition) {
    const started = Date.now();
    for (;;) {
        const seen = await condition();
        if (seen === true) {
            if (Date.now() - started > slowest.ms) Object.assign(slowest, { ms: Date.now() - started, what });
            return;
        }
        if (Date.now() - started > seconds * 1000) throw new Error(`${what}: not within ${seconds} s (seen: ${seen})`);
        await later(100);
    }
}

// A test's run: TEST, then the slowest wait it made or why it failed, then
// CLEAN_UP; the process ends, as browsers and servers would keep it alive.
export async function runTest(test, cleanUp = async () => {}) {
    try {
        await test();
        console.log(`slowest wait: ${(slowest.ms / 1000).toFixed(1)} s, until ${slowest.what}`);
    } catch (error) {
        console.error(`FAIL: ${error.message}`);
        process.exitCode = 1;
    } finally {
        await cleanUp();
        process.exit();
    }
}

// serve(SITE, EDIT, { tls, heard }): the site's address on loopback; EDIT may
// change a page; over HTTPS with TLS's key and certificate; HEARD is told the
// name of every file asked for.
export async function serve(site, edit = (page) => page, { tls, heard = () => {} } = {}) {
    const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm' };
    const answer = async (request, response) => {
        const name = new URL(request.url, 'http://x').pathname.replace(/\/$/, '/index.html');
        heard(name);
        try {
            const body = await readFile(path.join(site, path.normalize(name)));
            response.writeHead(200, { 'Content-Type': types[path.extname(name)] ?? 'application/octet-stream' });
            response.end(name.endsWith('.html') ? edit(String(body)) : body);
        } catch {
            response.writeHead(404).end();
        }
    };
    const server = tls ? createSecureServer(tls, answer) : createServer(answer);
    await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
    server.unref();
    return `${tls ? 'https' : 'http'}://127.0.0.1:${server.address().port}/`;
}

// A loopback port that no one listens on now.
export const freePort = () => new Promise((free) => {
    const probe = net.createServer().listen(0, '127.0.0.1', () => {
        const { port } = probe.address();
        probe.close(() => free(port));
    });
});

// The servers the browsers need end with this process: an X server (that does
// not reset when a short-lived first client such as a GL probe leaves), a sound server.
const children = [];
process.on('exit', () => children.forEach((child) => child.kill()));
const xServer = () => new Promise((started, failed) => {
    const x = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1400x1200x24', '-nolisten', 'tcp', '-noreset'],
        { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    children.push(x);
    x.once('exit', (code) => failed(new Error(`Xvfb ended (${code}) before it gave a display`)));
    setTimeout(() => failed(new Error('Xvfb gave no display in 30 s')), 30_000).unref();
    x.stdio[3].once('data', (display) => started(`:${String(display).trim()}`));
});
// An X server with a window manager, for a program of the desktop.
export async function desktop() {
    const display = await xServer();
    children.push(spawn('jwm', [], { stdio: 'ignore', env: { ...process.env, DISPLAY: display, HOME: tmpdir() } }));
    return display;
}
const soundServer = () => {
    const socket = path.join(tmpdir(), `pokorin-page-pulse-${process.pid}-${children.length}`);
    children.push(spawn('pulseaudio', ['-n', '--daemonize=no', '--exit-idle-time=-1', '-L', 'module-null-sink',
        '-L', `module-native-protocol-unix auth-anonymous=1 socket=${socket}`], { stdio: 'ignore' }));
    return `unix:${socket}`;
};

// Chromium and Firefox through puppeteer; the viewport is the page.
async function puppeteerDriver(browser, page, { width = pageScreen.width, height = pageScreen.height, dpr = 1,
    touch = false }) {
    await page.setViewport({ width, height, deviceScaleFactor: dpr, hasTouch: touch });
    return {
        page,
        open: (address) => page.goto(address),
        reload: () => page.reload(),
        evaluate: (script) => page.evaluate(script),
        click: (x, y) => page.mouse.click(x, y),
        key: (key) => page.keyboard.press(key),
        type: (text) => page.keyboard.type(text),
        shot: async (file) => { await page.screenshot({ path: file }); },
        close: () => browser.close(),
    };
}

// The MiniBrowser through WebKitWebDriver over plain HTTP, full screen: the
// page starts at the X screen's corner. It has no touch screen.
async function webkit({ width = pageScreen.width, height = pageScreen.height } = {}) {
    const port = await freePort();
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
    const press = (key) => ['keyDown', 'keyUp'].map((type) => ({ type, value: keys[key] ?? key }));
    return {
        open: (address) => call('POST', `${s}/url`, { url: address }),
        reload: () => call('POST', `${s}/refresh`, {}),
        evaluate: (script) => call('POST', `${s}/execute/sync`, { script: `return (${script})()`, args: [] }),
        click: (x, y) => act('pointer', [{ type: 'pointerMove', x: Math.round(x), y: Math.round(y) },
            { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }]),
        key: (key) => act('key', press(key)),
        type: (text) => act('key', [...text].flatMap(press)),
        shot: async (file) => writeFile(file, Buffer.from(await call('GET', `${s}/screenshot`), 'base64')),
        close: () => call('DELETE', s),
    };
}

export const drivers = {
    // In the network namespace NETNS, if given, talked to through a pipe: the
    // namespace's loopback is not ours.
    chromium: async ({ netns, ...options } = {}) => {
        const args = ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync',
            '--autoplay-policy=no-user-gesture-required'];
        const browser = await puppeteer.launch(netns
            ? { executablePath: '/bin/ip', ignoreDefaultArgs: true, pipe: true, args: ['netns', 'exec', netns,
                '/usr/bin/chromium', ...puppeteer.defaultArgs({ headless: true, args })] }
            : { executablePath: '/usr/bin/chromium', headless: true, args });
        return puppeteerDriver(browser, await browser.newPage(), options);
    },
    // Firefox has WebGL only with a display, and plays nothing without a sound server.
    firefox: async (options = {}) => {
        const browser = await puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
            headless: false, extraPrefsFirefox: { 'media.autoplay.default': 0 },
            env: { ...process.env, DISPLAY: await xServer(), PULSE_SERVER: soundServer() } });
        return puppeteerDriver(browser, (await browser.pages())[0], options);
    },
    webkit,
};

// Types MS into the fall-speed field at [X, Y], over its 100.
export async function typeFallSpeed(driver, [x, y], ms) {
    await driver.click(x, y);
    await driver.key('End');
    for (const _ of String(places['fall-speed-default'])) await driver.key('Backspace');
    await driver.type(ms);
}

// Where the page shows the program's screen now, in pictures of RATIO pixels
// to a page pixel: the main window's client area's corner, its scale, and a
// place of places.txt there, moved by OFFSET (the help window's place).
export async function located(driver, ratio = 1) {
    const [left, top, scale] = await driver.evaluate(() => {
        const style = document.getElementById('screen').style;
        return [parseFloat(style.left), parseFloat(style.top), parseFloat(style.transform.slice(6))];
    });
    const s = scale * ratio;
    const origin = [left * ratio + frameLeft * s, top * ratio + frameTop * s];
    return { origin, scale: s, at: (place, [dx, dy] = [0, 0]) =>
        [origin[0] + (places[place][0] + dx) * s, origin[1] + (places[place][1] + dy) * s] };
}
