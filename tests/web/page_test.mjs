// The web build as a class meets it: Debian's Chromium, headless, against the
// built site on a loopback server, driven only through the page. The board is
// checked with the desktop tests' own picture checks.
// Usage: node page_test.mjs SITE_FOLDER
import { execFileSync } from 'node:child_process';
import { readFile } from 'node:fs/promises';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const site = path.resolve(process.argv[2]);
const here = path.dirname(new URL(import.meta.url).pathname);
const session = path.join(here, '../e2e/x_session.sh');
// The places the desktop tests click and look at, by name.
const places = Object.fromEntries((await readFile(path.join(here, '../../scripts/places.txt'), 'utf8'))
    .split('\n').filter((line) => line.trim() && !line.startsWith('#'))
    .map((line) => line.trim().split(/\s+/)).map(([name, ...numbers]) => [name, numbers.map(Number)]));
const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm' };
const server = createServer(async (request, response) => {
    const file = path.join(site, path.normalize(new URL(request.url, 'http://x').pathname));
    try {
        const body = await readFile(file);
        response.writeHead(200, { 'Content-Type': types[path.extname(file)] ?? 'application/octet-stream' });
        response.end(body);
    } catch {
        response.writeHead(404).end();
    }
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));

const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: 'new',
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--disable-quic',
        '--no-first-run', '--disable-background-networking', '--disable-component-update', '--disable-sync',
        '--autoplay-policy=no-user-gesture-required'],
});
let passed = 0;
const fail = async (why) => {
    console.error(`FAIL: ${why}`);
    await browser.close();
    process.exit(1);
};
const pass = (what) => {
    console.log(`-- ${what}`);
    passed += 1;
};

try {
    const page = await browser.newPage();
    await page.setViewport({ width: 1100, height: 800 });
    // Counts the chimes the page starts and those that sounded to their end,
    // however the program asks Web Audio for them.
    await page.evaluateOnNewDocument(() => {
        globalThis.chimes = { started: 0, ended: 0 };
        const Original = globalThis.AudioContext;
        globalThis.AudioContext = class extends Original {
            createBufferSource() {
                const source = super.createBufferSource();
                const start = source.start.bind(source);
                source.start = (...when) => {
                    globalThis.chimes.started += 1;
                    source.addEventListener('ended', () => { globalThis.chimes.ended += 1; });
                    return start(...when);
                };
                return source;
            }
        };
    });

    // The clock starts with the page, not with the browser: a class's browser has been open a while, and
    // a browser just started keeps both cores busy for its first seconds.
    await page.goto('about:blank');
    await new Promise((settled) => setTimeout(settled, 3000));
    const loading = Date.now();
    await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
    await page.waitForSelector('#screen', { visible: true, timeout: 30000 });
    const canvas = await (await page.$('#screen')).boundingBox();
    // The page's screen is the main window's client area.
    const x0 = Math.round(canvas.x), y0 = Math.round(canvas.y);
    const shot = async (name) => {
        const file = path.join(tmpdir(), `pokorin-page-${name}.png`);
        await page.screenshot({ path: file });
        return file;
    };
    // run(FUNCTION, FILE, ARGS...): one of the desktop tests' picture checks.
    const check = (fn, file, ...args) => execFileSync('bash', ['-c',
        `source "${session}"; X0=${x0} Y0=${y0}; cp "$1" "$E2E_TMP/shot.png"; ${fn} shot "\${@:2}"`,
        'check', file, ...args.map(String)], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] }).trim();
    const red = (file, [x, y, w, h]) => Number(execFileSync('convert', [file, '-crop', `${w}x${h}+${x0 + x}+${y0 + y}`,
        '-fill', 'black', '+opaque', '#FF0000', '-fill', 'white', '-opaque', '#FF0000', '-colorspace', 'Gray',
        '-format', '%[fx:int(w * h * mean)]', 'info:'], { encoding: 'utf8' }));
    const click = async (place) => {
        await page.mouse.click(x0 + places[place][0], y0 + places[place][1]);
        await new Promise((settled) => setTimeout(settled, 300));
    };

    // until(SECONDS, WHAT, CONDITION): polls the condition, which gives true or
    // what it saw, until it holds; after SECONDS the test fails with what was seen.
    const waits = [];
    const until = async (seconds, what, condition) => {
        const started = Date.now();
        for (;;) {
            const seen = await condition();
            if (seen === true) {
                waits.push([Date.now() - started, what]);
                return;
            }
            if (Date.now() - started > seconds * 1000) {
                await fail(`${what}: not within ${seconds} s${seen ? ` (seen: ${seen})` : ''}`);
            }
            await new Promise((later) => setTimeout(later, 100));
        }
    };
    const holds = (fn, file, ...args) => {
        try {
            check(fn, file, ...args);
            return true;
        } catch {
            return false;
        }
    };

    let drawn = 0; // when the first picture showing the board was taken
    await until(30, 'the board shows', async () => {
        const file = await shot('start');
        const taken = Date.now();
        drawn = holds('board_drawn', file, 1) ? taken : 0;
        return drawn > 0 || 'no board';
    });
    pass(`the board is drawn, ${((drawn - loading) / 1000).toFixed(1)} s after loading`);

    const before = check('dark', await shot('before'), 'drop-counter');
    await click('fall-speed');
    await page.keyboard.down('Control');
    await page.keyboard.press('a');
    await page.keyboard.up('Control');
    await page.keyboard.type('10');
    await click('start');
    await until(30, 'a ball lands', async () =>
        check('dark', await shot('running'), 'drop-counter') !== before || 'the counter unchanged');
    await click('stop');
    const stopped = await shot('stopped');
    if (red(stopped, places.stacks) === 0) await fail('no square stands in the bins');
    pass('開始 at 10 ms a level lands balls');

    const board = check('dark', stopped, 'help-text');
    await click('help');
    await until(15, 'the help window shows its text', async () => {
        const help = check('dark', await shot('help'), 'help-text');
        return (help !== board && Number(help) > 1000) || `${help} dark pixels`;
    });
    const chimes = () => page.evaluate(() => globalThis.chimes);
    await until(15, 'HELP\'s chime sounds to its end', async () =>
        (await chimes()).ended > 0 || `${(await chimes()).started} started`);
    const { started } = await chimes();
    if (started !== 1) await fail(`HELP started ${started} chimes, not one`);
    pass('HELP opens the help window with its text and one chime');
    await page.keyboard.press('Enter'); // 閉じる, which has the focus
    await until(15, '閉じる uncovers the title', async () =>
        holds('near', await shot('closed'), 'FFC080', ...places.title) || 'no title');

    await click('initialise');
    await until(15, '初期化 clears the stacks', async () =>
        red(await shot('initialised'), places.stacks) === 0 || 'squares in the bins');
    pass('初期化 clears the stacks');

    const ready = await page.screenshot();
    await click('quit');
    await until(15, 'the quit box shows', async () => !ready.equals(await page.screenshot()) || 'no box');
    await page.keyboard.press('Enter'); // はい, the box's default
    await until(15, '終了 then はい leaves the end notice', () =>
        page.evaluate(() => document.body.innerText.includes('終了しました。')));
    pass('終了 then はい leaves the end notice');
    const [slowest, what] = waits.reduce((a, b) => (b[0] > a[0] ? b : a));
    console.log(`slowest wait: ${(slowest / 1000).toFixed(1)} s, until ${what}`);
} finally {
    await browser.close();
    server.close();
}
console.log(`web page: ${passed} passed, 0 failed`);
