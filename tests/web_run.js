// SPDX-License-Identifier: MIT
// Runs the page's program under node as a program on a terminal: standard input is typed line
// by line through the page's line discipline, with Ctrl-D after a last line that has no LF
// and Ctrl-D at the end; the program's bytes go to standard output and error unchanged, and
// its status is this process's.
//   node tests/web_run.js MODULE.js < input
'use strict';
const fs = require('fs');
const path = require('path');
const { LineDiscipline, splitLines, runProgram } = require('../web/terminal.js');

const modulePath = path.resolve(process.argv[2]);
const discipline = new LineDiscipline();
const { lines, rest } = splitLines(new Uint8Array(fs.readFileSync(0)));
lines.forEach((line) => discipline.type(line));
if (rest.length > 0) discipline.endOfInput(rest);
discipline.endOfInput();

// Writes are gathered, in order, and go out when the program waits or ends, or a megabyte is
// waiting: a system call for every line would cost node more than the program's own work.
let pending = [];
let pendingStream = 1;
let pendingBytes = 0;
function flush() {
  if (pending.length > 0) fs.writeSync(pendingStream, Buffer.concat(pending));
  pending = [];
  pendingBytes = 0;
}
function write(bytes, stream) {
  if (stream !== pendingStream) flush();
  pendingStream = stream;
  pending.push(bytes);
  pendingBytes += bytes.length;
  if (pendingBytes >= 1 << 20) flush();
}
discipline.onWait = flush;

// node's fetch takes no file paths: the module is handed its bytes.
const wasmBinary = fs.readFileSync(modulePath.replace(/\.js$/, '.wasm'));
runProgram(require(modulePath), discipline, write, { wasmBinary })
  .then((status) => { flush(); process.exitCode = status; },
        (error) => { flush(); console.error(error); process.exitCode = 70; });
