// A student's device on a network of its own: the teacher's pokorin-class in
// a network namespace with a veth link, its default route over it, and a
// decoy Docker bridge; a headless Chromium in a second namespace that reaches
// the teacher only over the link. The class joins at the link's address, not
// the bridge's or the loopback's; the page served there joins and runs, and
// the teacher's /class.csv holds exactly the balls the page sent.
// Usage, as root once scripts/web.sh has built the site:
//     node class_network_test.mjs FOLDER_WITH_POKORIN_CLASS
import { execFileSync, spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import {
    drivers, later, located, pageScreen, runTest, typeFallSpeed, until,
} from '../../scripts/web/page_session.mjs';

const skip = (why) => {
    console.log(`skipped: ${why}`);
    process.exit(0);
};
const ip = (...args) => execFileSync('/bin/ip', args, { encoding: 'utf8', stdio: 'pipe' });
if (process.getuid() !== 0) skip('making network namespaces needs root');
try { ip('-V'); } catch { skip('no ip command (iproute2)'); }

const bin = path.resolve(process.argv[2]);
const scratch = mkdtempSync(path.join(tmpdir(), 'pokorin-class-network-'));
const [teacherNet, studentNet] = ['teacher', 'student'].map((who) => `pokorin-${who}-${process.pid}`);
const teacherAt = '198.18.0.1', studentAt = '198.18.0.2', decoyAt = '198.19.0.1';
let teacher, student;

// Whatever ends the test, the processes first: a namespace lasts while one is inside.
const namespaces = [];
process.on('exit', () => {
    teacher?.kill('SIGKILL');
    student?.page.browser().process()?.kill('SIGKILL');
    for (const name of namespaces) {
        try {
            ip('netns', 'delete', name);
        } catch (error) {
            console.error(`could not delete ${name}: ${error.message}`);
        }
    }
    rmSync(scratch, { recursive: true, force: true });
});
for (const signal of ['SIGINT', 'SIGTERM', 'SIGHUP']) process.on(signal, () => process.exit(1));

try {
    ip('netns', 'add', teacherNet);
    namespaces.push(teacherNet);
    ip('netns', 'add', studentNet);
    namespaces.push(studentNet);
} catch (error) {
    skip(`no network namespace can be made here (${error.stderr?.trim() || error.message})`);
}

await runTest(async () => {
    // The two computers' wired link; each link goes with its namespace.
    ip('link', 'add', 'eth0', 'netns', teacherNet, 'type', 'veth', 'peer', 'name', 'eth0', 'netns', studentNet);
    for (const [net, at] of [[teacherNet, teacherAt], [studentNet, studentAt]]) {
        ip('-n', net, 'link', 'set', 'lo', 'up');
        ip('-n', net, 'address', 'add', `${at}/24`, 'dev', 'eth0');
        ip('-n', net, 'link', 'set', 'eth0', 'up');
    }
    ip('-n', teacherNet, 'route', 'add', 'default', 'via', studentAt);
    // Docker's bridge with a container's link on it, up and running as on a
    // developer's computer, and listed after the wired link.
    ip('-n', teacherNet, 'link', 'add', 'docker0', 'type', 'bridge');
    ip('-n', teacherNet, 'address', 'add', `${decoyAt}/24`, 'dev', 'docker0');
    ip('-n', teacherNet, 'link', 'add', 'veth0', 'type', 'veth', 'peer', 'name', 'container0');
    ip('-n', teacherNet, 'link', 'set', 'veth0', 'master', 'docker0');
    for (const link of ['container0', 'veth0', 'docker0']) ip('-n', teacherNet, 'link', 'set', link, 'up');
    await until(15, 'the decoy bridge is up and running', () => {
        const shown = ip('-n', teacherNet, '-o', 'link', 'show', 'docker0');
        return (/[<,]LOWER_UP[,>]/.test(shown) && !shown.includes('NO-CARRIER')) || shown;
    });

    const env = { ...process.env, QT_QPA_PLATFORM: 'offscreen', HOME: scratch, XDG_DATA_HOME: scratch,
        XDG_RUNTIME_DIR: scratch, LANG: 'C.UTF-8' };
    teacher = spawn('/bin/ip', ['netns', 'exec', teacherNet, path.join(bin, 'pokorin-class')],
        { env, stdio: ['ignore', 'pipe', 'inherit'] });
    let printed = '';
    teacher.stdout.on('data', (text) => { printed += text; });
    await until(30, 'the teacher\'s program prints where the class joins',
        () => printed.includes('The pool is kept in') || printed || 'nothing');
    if (printed.includes('No page to serve')) throw new Error(`no site beside ${bin}: run scripts/web.sh first`);
    const address = printed.match(/^The class joins at (\S+)$/m)?.[1];
    const offered = [address, ...printed.match(/^From other networks: (.+)$/m)?.[1].split(' ') ?? []];
    if (offered.length !== 1 || !address?.startsWith(`http://${teacherAt}:`)) {
        throw new Error(`the class joins at ${offered.join(' ')}, not only at ${teacherAt} (the bridge's is ` +
            `${decoyAt})`);
    }
    console.log(`-- the class joins at ${address}, the wired link's address, alone`);

    student = await drivers.chromium({ netns: studentNet, height: pageScreen.height + 22 });
    const page = () => student.evaluate(() => ({
        line: document.getElementById('class').textContent,
        shown: document.getElementById('screen').style.display === 'block',
        balls: Object.values(globalThis.pokorinRuns ?? {}).flat().reduce((a, b) => a + b, 0),
    }));
    const opened = Date.now();
    await student.open(address);
    await until(60, 'the page joins the class', async () => {
        const { line, shown } = await page();
        return (line.includes('先生のコンピューターに送っています') && shown) ||
            `"${line}", the screen shown: ${shown}`;
    });
    const joined = (Date.now() - opened) / 1000;
    await later(1000); // the program's window takes clicks once drawn
    await typeFallSpeed(student, (await located(student)).at('fall-speed'), '10');
    await student.click(...(await located(student)).at('start'));
    await until(30, 'the page lands 30 balls', async () => {
        const { balls } = await page();
        return balls >= 30 || `${balls}`;
    });
    await student.click(...(await located(student)).at('stop'));

    // The pool as /class.csv gives it, fetched over the link, against the
    // sum of every run the page sent.
    const sent = () => student.evaluate(() => Object.values(globalThis.pokorinRuns)
        .reduce((total, bins) => total.map((count, k) => count + bins[k]), Array(11).fill(0)));
    const pooled = () => student.evaluate(async () => (await (await fetch('/class.csv')).text())
        .split('\r\n').slice(1, 12).map((row) => Number(row.split(',')[1])));
    await until(30, '/class.csv holds the page\'s balls', async () => {
        const [mine, theirs] = [await sent(), await pooled()];
        return JSON.stringify(mine) === JSON.stringify(theirs) || `${theirs} for ${mine}`;
    });
    const balls = (await sent()).reduce((a, b) => a + b, 0);
    console.log(`-- the page joined over the link ${joined.toFixed(1)} s after it was opened, and the ` +
        `teacher's /class.csv holds its ${balls} balls`);
}, async () => {
    await student?.close().catch(() => {});
    if (teacher?.exitCode === null && teacher.kill()) {
        await new Promise((ended) => { teacher.once('exit', ended); setTimeout(ended, 5000); });
    }
});
