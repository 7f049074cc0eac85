// What the class tests share: the teacher's program, started until it printed
// where the class joins; the pool as /class.csv gives it; a student's page
// that joins the class and runs; the QR codes in a picture of the screen.
import { execFileSync, spawn } from 'node:child_process';
import {
    drivers, later, located, pageScreen, typeFallSpeed, until,
} from '../../scripts/web/page_session.mjs';

export const sum = (lists) => lists.reduce((total, list) => total.map((count, k) => count + list[k]),
    Array(11).fill(0));

// COMMAND ARGS... in ENV, until it printed where the class joins, where else
// (when this computer is on other networks too) and where the pool is kept.
// A Windows program's lines end in \r\n.
export async function startTeacher(command, args, env, seconds = 30) {
    const program = spawn(command, args, { env, stdio: ['ignore', 'pipe', 'inherit'] });
    let printed = '';
    program.stdout.on('data', (text) => { printed += String(text).replaceAll('\r', ''); });
    await until(seconds, 'the teacher\'s program prints the address', () => {
        if (printed.includes('The pool is kept in')) return true;
        const ended = program.exitCode ?? program.signalCode;
        if (ended !== null) throw new Error(`the teacher's program ended (${ended}) having printed "${printed}"`);
        return printed || 'nothing';
    });
    if (printed.includes('No page to serve')) throw new Error(`the teacher's program has no page: ${printed}`);
    return {
        program,
        printed,
        address: printed.match(/^The class joins at (\S+)$/m)[1],
        others: printed.match(/^From other networks: (.+)$/m)?.[1].split(' ') ?? [],
        poolFile: printed.match(/^The pool is kept in (.+)$/m)[1],
    };
}

// The pool as /class.csv at ADDRESS gives it: the count of each bin.
export const pooled = async (address) => (await (await fetch(new URL('/class.csv', address))).text())
    .split('\r\n').slice(1, 12).map((row) => Number(row.split(',')[1]));

// A student's page in ENGINE, joined to the class at ADDRESS: its runs, kept
// across reloads, summed bin by bin.
export async function student(engine, address) {
    const driver = await drivers[engine]({ height: pageScreen.height + 22 });
    const s = { driver, kept: [] };
    s.open = async () => {
        await driver.open(address);
        await until(60, `${engine} joins the class, its progress bar full`, () => driver.evaluate(() => {
            const progress = document.getElementById('progress');
            return document.getElementById('class').textContent.includes('送っています') &&
                document.getElementById('screen').style.display === 'block' &&
                progress.max > 1e6 && progress.value === progress.max;
        }) || 'not joined');
        await later(1000); // the program's window takes clicks once drawn
    };
    s.click = async (place) => driver.click(...(await located(driver)).at(place));
    s.runs = async () => Object.values(await driver.evaluate(() => globalThis.pokorinRuns ?? {}));
    s.counts = async () => sum([...s.kept, ...await s.runs()]);
    s.start = async () => {
        await typeFallSpeed(driver, (await located(driver)).at('fall-speed'), '10');
        await s.click('start');
    };
    await s.open();
    return s;
}

// What the QR codes in PICTURE read, one line each; nothing when there is none.
export function qrCodes(picture) {
    try {
        return execFileSync('zbarimg', ['--raw', '-q', picture], { encoding: 'utf8', stdio: 'pipe' }).trim();
    } catch (error) {
        if (error.status === 4) return ''; // zbarimg found no code
        throw error;
    }
}
