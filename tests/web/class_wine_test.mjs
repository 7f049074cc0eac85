// The Windows class host under Wine, as a teacher unpacks it: `pokorin.exe
// --class` from the zip's folder, copied into a folder named as a second
// unpacking names it, in a Wine prefix of its own on an X server with a window
// manager. It must offer an address of this computer's network, keep the pool
// where Windows keeps a user's roaming data, serve the page beside it to a
// Chromium that joins and runs, and pool every ball the page landed; the QR
// code on the screen reads as the printed address.
// Usage: node class_wine_test.mjs FOLDER_OF_THE_ZIP
import { execFileSync } from 'node:child_process';
import { cpSync, existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { networkInterfaces, tmpdir } from 'node:os';
import path from 'node:path';
import { desktop, runTest, until } from '../../scripts/web/page_session.mjs';
import { pooled, qrCodes, startTeacher, student, sum } from './classroom.mjs';

const wine = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../../scripts/wine.sh');
const scratch = mkdtempSync(path.join(tmpdir(), 'pokorin-class-wine-'));
const folder = path.join(scratch, '授業 pokorin (1)');
cpSync(path.resolve(process.argv[2]), folder, { recursive: true });
const display = await desktop();
// A Wine prefix of its own: Windows' data folders, where the pool is kept,
// are inside it, and no variable moves them; its server's end is the end of
// this test's Windows processes alone.
const env = { ...process.env, DISPLAY: display, WINEPREFIX: path.join(scratch, 'wine'), LANG: 'C.UTF-8' };
delete env.QT_QPA_PLATFORM; // the window must be on the screen
// A Windows command's output; the first makes the prefix.
const windows = (...args) => {
    try {
        return execFileSync('bash', [wine, ...args], { env, encoding: 'utf8', stdio: 'pipe', timeout: 180_000 })
            .replaceAll('\r', '').trim();
    } catch (error) {
        throw new Error(`wine ${args.join(' ')}: ${error.stderr?.trim() || error.message}`);
    }
};
const endWine = () => execFileSync('wineserver', ['-k'], { env, stdio: 'ignore' });
process.on('exit', () => {
    try { endWine(); } catch { /* no server left */ }
    rmSync(scratch, { recursive: true, force: true });
});

let chromium;
await runTest(async () => {
    const startedAt = Date.now();
    const appData = windows('cmd', '/c', 'echo %APPDATA%').split('\n').at(-1);
    const seconds = (since) => ((Date.now() - since) / 1000).toFixed(1);
    console.log(`-- a Wine prefix of its own made in ${seconds(startedAt)} s`);

    const teacherAt = Date.now();
    const { address, others, poolFile } =
        await startTeacher('bash', [wine, path.join(folder, 'pokorin.exe'), '--class'], env, 60);
    const ours = Object.values(networkInterfaces()).flat()
        .filter((entry) => entry.family === 'IPv4' && !entry.internal).map((entry) => entry.address);
    const host = new URL(address).hostname;
    if (ours.length && !ours.includes(host)) {
        throw new Error(`the class joins at ${address}, on none of this computer's networks (${ours.join(', ')})`);
    }
    console.log(`-- pokorin.exe --class prints that the class joins at ${address}` +
        (others.length ? `, from other networks at ${others.join(' ')}` : '') +
        `, ${seconds(teacherAt)} s after its start`);
    if (poolFile !== `${appData}\\pokorin\\class.json`) {
        throw new Error(`the pool is kept in ${poolFile}, not in %APPDATA% (${appData})`);
    }
    const kept = windows('winepath', '-u', poolFile);
    console.log(`-- the pool is kept in ${poolFile}, in %APPDATA%, which is ${kept} here`);

    const shot = path.join(scratch, 'screen.png');
    await until(30, 'the QR code on the screen reads as the printed address', () => {
        execFileSync('import', ['-window', 'root', shot], { env });
        const read = qrCodes(shot);
        return read === address || `"${read}"`;
    });
    console.log('-- the QR code on the screen reads as the printed address');

    chromium = await student('chromium', address);
    await chromium.start();
    await until(30, 'the page lands 30 balls', async () => {
        const balls = (await chromium.counts()).reduce((a, b) => a + b);
        return balls >= 30 || `${balls}`;
    });
    await chromium.click('stop');
    // The page's counts are read again at each look: a ball may still be on its way down.
    await until(30, '/class.csv holds the page\'s balls', async () => {
        const [table, counts] = [await pooled(address), await chromium.counts()];
        return JSON.stringify(table) === JSON.stringify(counts) || `${table} for ${counts}`;
    });
    const counts = await chromium.counts();
    const balls = counts.reduce((a, b) => a + b);
    console.log(`-- a Chromium joined and ran, and /class.csv holds its ${balls} balls bin by bin`);

    const code = new URL(address).searchParams.get('class');
    await until(15, `${kept} holds the class and its balls`, () => {
        if (!existsSync(kept)) return 'no file';
        const state = JSON.parse(readFileSync(kept, 'utf8'));
        const saved = sum(state.runs.map((run) => run.bins));
        return (state.code === code && JSON.stringify(saved) === JSON.stringify(counts)) ||
            `the class ${state.code} with ${saved}`;
    });
    console.log('-- the pool\'s file holds the class and its balls');
}, async () => {
    await chromium?.driver.close().catch(() => {});
    try { endWine(); } catch { /* no server left */ } // before the X server goes
});
