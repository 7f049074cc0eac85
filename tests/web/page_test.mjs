// The page as a class meets it: one class scenario in Debian's Chromium, in
// Firefox ESR and in WebKitGTK (the engine of iPad Safari), through the page
// only and checked with the desktop tests' picture checks; then, in
// Chromium, fingers, the projector and a dropped network.
// Usage: node page_test.mjs SITE_FOLDER [ENGINE...]
import { execFileSync } from 'node:child_process';
import { tmpdir } from 'node:os';
import path from 'node:path';
import {
    drivers, later, located, places, runTest, serve, typeFallSpeed, until,
} from '../../scripts/web/page_session.mjs';

const engines = process.argv.slice(3).length ? process.argv.slice(3) : ['chromium', 'firefox', 'webkit'];
const here = path.dirname(new URL(import.meta.url).pathname);

// The page counts the chimes the program starts and those heard to their
// end; `version` marks a new version of the site.
let version = '';
const url = await serve(path.resolve(process.argv[2]), (page) => page.replace('<head>', `<head>${version}
<script>globalThis.chimes = { started: 0, ended: 0 };
  globalThis.AudioContext = class extends AudioContext { createBufferSource() {
    const source = super.createBufferSource(); const start = source.start.bind(source);
    source.start = (...when) => { chimes.started += 1; source.onended = () => { chimes.ended += 1; };
      return start(...when); };
    return source; } };</script>`));

// The program on a page: its places, and the desktop tests' checks on a
// picture of the page, in the main window or the help window.
async function program(driver, name, ratio = 1) {
    let screen = await located(driver, ratio);
    const file = (picture) => path.join(tmpdir(), `pokorin-${name}-${picture}.png`);
    // check(FUNCTION, PICTURE, [DX, DY], ARGS...) in a window DX, DY from the main window's corner.
    const check = (fn, picture, [dx, dy], ...args) => execFileSync('bash', ['-c',
        `source "${here}/../e2e/x_session.sh"; X0=${Math.round(screen.origin[0] + dx * screen.scale)} ` +
        `Y0=${Math.round(screen.origin[1] + dy * screen.scale)}; cp "$1" "$E2E_TMP/shot.png"; ${fn} shot "\${@:2}"`,
        'check', file(picture), ...args.map(String)], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] }).trim();
    const holds = (...args) => { try { check(...args); return true; } catch { return false; } };
    const p = {
        file,
        scale: () => screen.scale,
        relocate: async () => { screen = await located(driver, ratio); },
        shot: async (picture) => { await driver.shot(file(picture)); return picture; },
        click: (place, offset) => driver.click(...screen.at(place, offset)),
        chimes: () => driver.evaluate(() => globalThis.chimes),
        dark: (picture, place) => Number(check('dark', picture, [0, 0], place)),
        seen: (picture, fn, ...args) => holds(fn, picture, [0, 0], ...args),
        inHelp: (picture, fn, ...args) => holds(fn, picture, places['help-window'], ...args),
        // How many red, or dark, pixels a place holds, at any scale.
        count: (picture, place, kind = 'red') => p.countIn(picture, places[place], kind),
        // How many dark pixels the caption of the button at a place shows:
        // none while the button is disabled, its caption grey.
        caption: (picture, place) => p.countIn(picture, [places[place][0] - 20, places[place][1] - 7, 40, 14], 'dark'),
        countIn: (picture, rectangle, kind) => {
            const [x, y, w, h] = rectangle.map((n) => n * screen.scale);
            return Number(execFileSync('convert', [file(picture), '-crop', `${Math.round(w)}x${Math.round(h)}+` +
                `${Math.round(screen.origin[0] + x)}+${Math.round(screen.origin[1] + y)}`,
            ...(kind === 'red' ? ['-fill', 'black', '+opaque', '#FF0000', '-fill', 'white', '-opaque', '#FF0000']
                : ['-colorspace', 'Gray', '-negate', '-threshold', '60%']),
            '-colorspace', 'Gray', '-format', '%[fx:int(w * h * mean)]', 'info:'], { encoding: 'utf8' }));
        },
    };
    // What the class waits for, each checked on a new picture.
    const shows = (seconds, what, picture, condition) =>
        until(seconds, what, async () => condition(await p.shot(picture)));
    p.shows = shows;
    p.landing = async (what, before) => shows(30, what, 'running', (picture) =>
        p.dark(picture, 'drop-counter') !== before || 'the counter unchanged');
    // The board's lattice beneath is as dark as the text: the window is known
    // by our icon in its caption.
    p.helpText = () => shows(15, 'the help window shows its text under our icon', 'help', (picture) =>
        (p.inHelp(picture, 'near', 'FFC080', 4, -18) && p.inHelp(picture, 'help_text_shown')) ||
        'no help window');
    p.title = () => shows(15, '閉じる uncovers the title', 'closed', (picture) =>
        p.seen(picture, 'near', 'FFC080', ...places.title) || 'no title');
    p.cleared = () => shows(15, '初期化 clears the stacks', 'cleared', (picture) =>
        p.count(picture, 'stacks') === 0 || 'squares in the bins');
    p.ended = () => until(15, 'はい leaves the end notice', () =>
        driver.evaluate(() => document.body.innerText.includes('終了しました。')));
    // Waits for the board; gives when the first picture that shows it was taken.
    p.boardShows = async (picture = 'start') => {
        let taken = 0;
        await until(30, 'the board shows', async () => {
            await p.relocate();
            taken = Date.now();
            return p.seen(await p.shot(picture), 'board_drawn', screen.scale) || 'no board';
        });
        return taken;
    };
    return p;
}

// The class scenario, through the mouse and the keyboard.
async function scenario(name) {
    const driver = await drivers[name]();
    try {
        // The clock starts with the page, in a browser that has settled: a class's
        // browser has been open a while, and one just started keeps the cores busy.
        await driver.open('about:blank');
        await later(3000);
        const loading = Date.now();
        await driver.open(url);
        const p = await program(driver, name);
        const drawn = await p.boardShows();
        console.log(`-- ${name}: the board is drawn, ${((drawn - loading) / 1000).toFixed(1)} s after loading`);

        const before = p.dark(await p.shot('before'), 'drop-counter');
        await typeFallSpeed(driver, (await located(driver)).at('fall-speed'), '10');
        await p.click('start');
        await p.landing('a ball lands', before);
        await p.click('stop');
        const stacked = p.count(await p.shot('stopped'), 'stacks');
        if (stacked === 0) throw new Error('no square stands in the bins');
        console.log(`-- ${name}: 開始 at 10 ms a level lands balls`);
        await p.click('help');
        await p.helpText();
        await until(15, 'HELP\'s chime sounds to its end', async () =>
            (await p.chimes()).ended > 0 || `${(await p.chimes()).started} started`);
        if ((await p.chimes()).started !== 1) throw new Error(`HELP started ${(await p.chimes()).started} chimes`);
        console.log(`-- ${name}: HELP opens the help window with its text, our icon and one chime`);
        await driver.key('Enter'); // 閉じる, which has the focus
        await p.title();

        // Back from the help window, as on the desktop, 初期化 waits for the
        // next 開始 and 停止: a click on it lands no chime and clears nothing.
        await p.shows(15, 'the main window, active again, disables 初期化', 'back', (picture) =>
            p.caption(picture, 'initialise') === 0 || `${p.caption(picture, 'initialise')} dark pixels in its caption`);
        await p.click('initialise');
        const more = p.dark(await p.shot('before'), 'drop-counter');
        await p.click('start');
        await p.landing('a ball lands after the disabled 初期化', more);
        if (p.count('running', 'stacks') < stacked) throw new Error('初期化 cleared the stacks after HELP');
        if ((await p.chimes()).started !== 1) throw new Error('the disabled 初期化 chimed');
        await p.click('stop');
        console.log(`-- ${name}: back from the help window, 初期化 waits for the next 開始 and 停止`);
        await p.click('initialise');
        await p.cleared();
        console.log(`-- ${name}: 初期化 clears the stacks`);

        await p.click('quit'); // the closing chime, then the box
        await until(15, 'the closing chime starts', async () => (await p.chimes()).started === 3 || 'none');
        await driver.key('Enter'); // はい, the box's default
        await p.ended();
        console.log(`-- ${name}: 終了 then はい leaves the end notice`);
    } finally {
        await driver.close();
    }
}

// Fingers: taps through the DevTools protocol on a touch screen, no mouse.
// Each button answers a tap once (one chime each where they chime); a long
// press or a slight drag on 開始 starts one run; 開始 works beside the help
// window, which takes no tap while the quit box asks; a tap on the field asks
// the browser for the on-screen keyboard.
async function fingers() {
    const driver = await drivers.chromium({ touch: true });
    const touch = driver.page.touchscreen;
    try {
        await driver.open(url);
        const p = await program(driver, 'fingers');
        await p.boardShows();
        const at = async (place, offset) => (await located(driver)).at(place, offset);
        const tap = async (place, offset) => touch.tap(...await at(place, offset));
        const press = async (place, { hold = 0, drag = 0 }) => {
            const [x, y] = await at(place);
            await touch.touchStart(x, y);
            if (drag) await touch.touchMove(x + drag, y + drag);
            await later(hold);
            await touch.touchEnd();
        };
        let chimes = 0; // as many as the taps that ask for one
        const chimed = async (place, what) => {
            chimes += 1;
            await tap(place);
            await until(15, what, async () => (await p.chimes()).started >= chimes || 'no chime');
        };
        const runs = async (start, what) => {
            const before = p.dark(await p.shot('before'), 'drop-counter');
            await start();
            await p.landing(what, before);
            await tap('stop');
            await until(15, '停止 shows the ratios', async () =>
                p.count(await p.shot('stopped'), 'ratios', 'dark') > 50 || 'no ratios');
        };
        await tap('fall-speed');
        await until(10, 'a tap on the field asks for the on-screen keyboard', () =>
            driver.evaluate(() => document.activeElement?.tagName === 'INPUT' || document.activeElement?.tagName));
        await runs(() => press('start', { hold: 800 }), 'a long press on 開始 starts a run');
        await chimed('help', 'HELP chimes');
        await p.helpText();
        await runs(() => tap('start'), '開始 tapped with the help window open starts a run');
        await chimed('quit', '終了 chimes beside the help window');
        await tap('close', places['help-window']); // the box holds the whole program
        await tap('no');
        await p.helpText();
        await tap('close', places['help-window']);
        await p.title();
        await runs(() => press('start', { drag: 4 }), 'a slight drag on 開始 starts a run');
        await chimed('initialise', '初期化 chimes');
        await p.cleared();
        await chimed('quit', '終了 chimes');
        await tap('no');
        await chimed('quit', '終了 asks again after いいえ');
        if ((await p.chimes()).started !== chimes) throw new Error('a tap chimed more than once');
        await tap('yes');
        await p.ended();
        console.log('-- fingers: every button answers one tap, a long press and a slight drag start one run, ' +
            'the field asks for the on-screen keyboard, 開始 works beside the help window, which the quit box holds');
    } finally {
        await driver.close();
    }
}

// The projector: the program fills a 1920 x 1080 page and keeps its
// experiment through a turn to portrait and back; at a pixel ratio of 2 the
// board is the reviewed picture at scale 2, pixel for pixel.
async function projector() {
    let driver = await drivers.chromium({ width: 1920, height: 1080 });
    try {
        await driver.open(url);
        let p = await program(driver, 'projector');
        await p.boardShows();
        const covers = places['main-window'][3] * p.scale() / 1080;
        if (covers < 0.8) throw new Error(`the program covers ${Math.round(covers * 100)} % of the height`);
        await p.click('start');
        await until(30, 'a ball lands', async () => p.count(await p.shot('running'), 'stacks') > 0 || 'none');
        await p.click('stop');
        await driver.evaluate(() => { globalThis.kept = true; });
        for (const [width, height] of [[1080, 1920], [1920, 1080]]) {
            await driver.page.setViewport({ width, height });
            await until(30, `the experiment is fitted to ${width} x ${height}`, async () => {
                await p.relocate();
                const picture = await p.shot('fitted');
                return p.count(picture, 'stacks') > 0 && p.count(picture, 'ratios', 'dark') > 50 &&
                    await driver.evaluate(() => globalThis.kept) || 'not fitted';
            });
        }
        console.log(`-- projector: the program covers ${Math.round(covers * 100)} % of a 1920 x 1080 page, ` +
            'and turns to portrait and back without losing its experiment');
        await driver.close();
        driver = await drivers.chromium({ dpr: 2 });
        await driver.open(url);
        p = await program(driver, 'sharp', 2);
        await p.boardShows();
        // Qt's web platform may put the window a pixel off where the desktop does not.
        const [boardX, boardY, boardWidth, boardHeight] = places['board-frame'];
        const [mainX, mainY] = places['main-window'];
        const [frameLeft, frameTop] = places['page-frame'];
        const board = (file, x, y) => ['(', file, '-crop', `${2 * boardWidth}x${2 * boardHeight}+${x}+${y}`,
            '+repage', ')'];
        const apart = ([dx, dy]) => Number(execFileSync('bash', ['-c', 'compare "$@" 2>&1 || true', 'apart',
            '-metric', 'AE', ...board(p.file('start'), 2 * (frameLeft + boardX) + dx, 2 * (frameTop + boardY) + dy),
            ...board(path.join(here, '../reference/6.4/start-up-x2.png'), 2 * (mainX + boardX), 2 * (mainY + boardY)),
            'null:'], { encoding: 'utf8' }));
        const nearest = Math.min(...[-2, 0, 2].flatMap((dx) => [-2, 0, 2].map((dy) => apart([dx, dy]))));
        if (nearest !== 0) throw new Error(`at a pixel ratio of 2 the board is ${nearest} pixels off the reviewed one`);
        console.log('-- projector: at a pixel ratio of 2 the board is the reviewed picture at scale 2, pixel for pixel');
    } finally {
        await driver.close();
    }
}

// A dropped network: after one visit the page starts without it, and its
// licences are kept too; with the network back, a new version of the site
// replaces the kept one.
async function offline() {
    const driver = await drivers.chromium();
    try {
        await driver.open(url);
        const p = await program(driver, 'offline');
        await p.boardShows();
        await until(30, 'the service worker keeps the site', () => driver.evaluate(async () =>
            (!!navigator.serviceWorker.controller && !!(await caches.match('pokorin.wasm'))) || 'not kept'));
        await driver.page.setOfflineMode(true);
        await driver.page.reload();
        await p.boardShows('offline');
        const licences = await driver.evaluate(async () => (await fetch('licenses.html')).text());
        for (const licence of ['Permission is hereby granted', 'GNU LESSER GENERAL PUBLIC LICENSE', 'IPA Font License']) {
            if (!licences.includes(licence)) throw new Error(`the kept licences lack ${licence}`);
        }
        await p.click('start');
        await until(30, 'a ball lands offline', async () => p.count(await p.shot('running'), 'stacks') > 0 || 'none');
        await driver.page.setOfflineMode(false);
        version = '<meta name="pokorin-version" content="2">';
        await driver.page.reload();
        await until(30, 'the new version replaces the kept one', () =>
            driver.evaluate(() => !!document.querySelector('meta[name=pokorin-version]') || 'the old one'));
        console.log('-- offline: the page starts and runs with the network off, with its licences, and takes a new version ' +
            'with it on');
    } finally {
        version = '';
        await driver.close();
    }
}

await runTest(async () => {
    for (const name of engines) await scenario(name);
    if (engines.includes('chromium')) {
        await fingers();
        await projector();
        await offline();
    }
});
