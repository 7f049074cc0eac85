// The whole class as one experiment: the teacher's program (pokorin --class)
// on an X server with a window manager serves the page to real browsers
// (two Chromiums, a Firefox ESR, a WebKitGTK), which run experiments and join
// its pool. Its table and the class window's picture equal the sum of the
// pages' runs through a page's network cut mid-run, a page reloaded and a
// restart of the teacher's program; "最初から" empties the pool; the QR code on
// the screen reads as the address the program printed.
// Usage: node class_test.mjs FOLDER_WITH_POKORIN [ENGINE...]
import { execFileSync } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { desktop, later, runTest, until } from '../../scripts/web/page_session.mjs';
import { pooled, qrCodes, startTeacher, student, sum } from './classroom.mjs';

const bin = path.resolve(process.argv[2]);
const engines = process.argv.slice(3).length ? process.argv.slice(3) : ['chromium', 'chromium', 'firefox', 'webkit'];
const scratch = mkdtempSync(path.join(tmpdir(), 'pokorin-class-'));
const display = await desktop();
const env = { ...process.env, DISPLAY: display, HOME: scratch, XDG_DATA_HOME: scratch, XDG_RUNTIME_DIR: scratch,
    LANG: 'C.UTF-8' };
const run = (command, ...args) => execFileSync(command, args, { env, encoding: 'utf8', stdio: 'pipe' }).trim();

// The teacher's program; again on the same port.
let teacher, address, others;
async function startClass(port = 0) {
    ({ program: teacher, address, others } = await startTeacher(path.join(bin, 'pokorin'),
        ['--class', ...(port ? ['--port', String(port)] : [])], env));
}
const port = () => Number(new URL(address).port);

// The class window as the screen shows it, set beside the picture that the
// pool's state must give: equal, pixel for pixel.
let startAfresh;
function windowShows(counts, devices) {
    const window = run('xdotool', 'search', '--onlyvisible', '--class', 'pokorin').split('\n')[0];
    const info = run('xwininfo', '-id', window);
    const [x, y, width, height] = ['Absolute upper-left X', 'Absolute upper-left Y', 'Width', 'Height']
        .map((field) => Number(info.match(new RegExp(`${field}:\\s+(\\d+)`))[1]));
    const shown = path.join(scratch, 'shown.png'), expected = path.join(scratch, 'expected.png');
    run('import', '-window', 'root', '-crop', `${width}x${height}+${x}+${y}`, '+repage', shown);
    const button = run(path.join(bin, 'class_window_picture'), String(width), String(height), String(devices),
        [address, ...others].join(' '), ...counts.map(String), expected).split(' ').map(Number);
    startAfresh = [x + button[0], y + button[1]];
    const apart = execFileSync('bash', ['-c', 'compare -metric AE "$@" null: 2>&1 || true', 'compare', shown, expected],
        { encoding: 'utf8' }).trim();
    return apart === '0' || `${apart} pixels apart`;
}
const everywhere = async (what, students, counts) => {
    await until(30, `/class.csv holds ${what}`, async () =>
        JSON.stringify(await pooled(address)) === JSON.stringify(counts) ||
        `${await pooled(address)} for ${counts}`);
    await until(30, `the class window shows ${what}`, () => windowShows(counts, students.length));
};

const students = [];
await runTest(async () => {
    await startClass();
    for (const engine of engines) students.push(await student(engine, address));
    console.log(`-- ${students.length} pages join the class at ${address}`);

    for (const s of students) await s.start();
    await later(2000);
    const [cut, reloaded] = students;
    await cut.driver.page.setOfflineMode(true);
    await until(15, 'the cut page says it is not connected', () => cut.driver.evaluate(() =>
        document.getElementById('class').textContent.includes('つながっていません')));
    await later(2000);
    await cut.driver.page.setOfflineMode(false);
    await reloaded.click('stop');
    await later(500);
    reloaded.kept.push(...await reloaded.runs());
    await reloaded.open();
    await reloaded.start();
    await later(2000);
    for (const s of students) await s.click('stop');
    await later(500);
    const counts = sum(await Promise.all(students.map((s) => s.counts())));
    await everywhere('the pages\' balls, through a network cut and a reload', students, counts);
    console.log(`-- the pool, its table and the class window hold the pages' ${counts.reduce((a, b) => a + b)} balls` +
        ' through a network cut mid-run and a reload');

    const read = qrCodes(path.join(scratch, 'shown.png'));
    if (read !== address) throw new Error(`the QR code reads ${read}, not ${address}`);
    console.log('-- the QR code on the screen reads as the printed address');

    await later(1500); // the pool is saved a second after it grew
    teacher.kill();
    await new Promise((ended) => teacher.once('exit', ended));
    const before = address;
    await startClass(port());
    if (address !== before) throw new Error(`the class came back at ${address}, not ${before}`);
    if (JSON.stringify(await pooled(address)) !== JSON.stringify(counts)) throw new Error('the pool was not kept');
    await everywhere('the pages\' balls after a restart', students, counts);
    console.log('-- a restart of the teacher\'s program keeps the pool, and the pages come back to it');

    run('xdotool', 'mousemove', ...startAfresh.map(String), 'click', '1');
    await until(15, '最初から asks first', () => {
        try { return run('xdotool', 'getactivewindow', 'getwindowname') === 'クラスの実験' || 'no box'; } catch { return 'no window'; }
    });
    run('xdotool', 'key', 'alt+y');
    // The pointer leaves 最初から, which would show it hovered: a busy machine
    // lets Qt find the pointer over it again after the box, an idle one not.
    run('xdotool', 'mousemove', '0', '0');
    await everywhere('nothing after 最初から', students, Array(11).fill(0));
    for (const s of students) await s.start();
    await later(2000);
    for (const s of students) await s.click('stop');
    await later(500);
    const after = sum(await Promise.all(students.map((s) => s.counts()))).map((count, k) => count - counts[k]);
    await everywhere('only the balls after 最初から', students, after);
    console.log('-- 最初から empties the pool, which then takes only what comes after');
}, async () => {
    await Promise.allSettled(students.map((s) => s.driver.close()));
    teacher?.kill();
});
