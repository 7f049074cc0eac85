// Runs a program built for the web under node, as CTest's emulator and for
// the scripts: Qt builds a module factory, which this starts with the
// command line; the program's exit status becomes node's.
const path = require('path');

const [program, ...args] = process.argv.slice(2);
const createInstance = require(path.resolve(program));
createInstance({
    arguments: args,
    quit: (status) => process.exit(status),
}).catch((error) => {
    console.error(error);
    process.exit(1);
});
