// SPDX-License-Identifier: MIT
// The page's terminal without the page: what the user types, served to the program as a
// canonical POSIX terminal serves it, and the program's run. The page and the tests under
// node both use it.
'use strict';

// Typed input, served a line at a time: a read takes at most the rest of one line (its LF
// included). Ctrl-D hands over the bytes typed so far without an LF, or, on an empty line,
// makes one read of no bytes: the end of input. Lines typed while the program is busy wait.
class LineDiscipline {
  constructor() {
    this.chunks = [];     // Uint8Arrays; an empty one is an end of input
    this.next = 0;        // the first chunk not read to its end
    this.offset = 0;      // bytes of it already read
    this.waiting = null;  // the resolve of a read that found nothing
    this.onWait = () => {};  // called when a read finds nothing typed and waits
  }

  type(bytes) {  // a line the user ended with Enter, its LF included
    this.push(bytes);
  }

  endOfInput(bytes = new Uint8Array(0)) {  // Ctrl-D, with the bytes of the line so far
    this.push(bytes);
  }

  push(chunk) {
    this.chunks.push(chunk);
    if (this.waiting) {
      const resolve = this.waiting;
      this.waiting = null;
      resolve();
    }
  }

  // What a read takes at once, or null when nothing is typed: the program then waits.
  take(size) {
    if (this.next === this.chunks.length) return null;
    const chunk = this.chunks[this.next];
    const bytes = chunk.subarray(this.offset, Math.min(chunk.length, this.offset + size));
    this.offset += bytes.length;
    if (this.offset === chunk.length) {
      // Read chunks go in one step once all are read: shifting each would cost a pass over
      // the lines still waiting, and a long paste would take quadratic time.
      this.chunks[this.next++] = null;
      this.offset = 0;
      if (this.next === this.chunks.length) {
        this.chunks = [];
        this.next = 0;
      }
    }
    return bytes;
  }

  async read(size) {
    while (this.next === this.chunks.length) {
      this.onWait();
      await new Promise((resolve) => { this.waiting = resolve; });
    }
    return this.take(size);
  }
}

// Splits typed text into what a terminal would deliver: each line with its LF, and what is
// left after the last LF.
function splitLines(bytes) {
  const lines = [];
  let start = 0;
  for (let end = bytes.indexOf(10); end !== -1; end = bytes.indexOf(10, start)) {
    lines.push(bytes.subarray(start, end + 1));
    start = end + 1;
  }
  return { lines, rest: bytes.subarray(start) };
}

// Runs the program once: createModule is emscripten's factory (createWordhash), onWrite gets
// every byte written, unchanged, with its stream (1 or 2), and moduleOptions go to the module
// as they are. Resolves to the exit status.
function runProgram(createModule, discipline, onWrite, moduleOptions = {}) {
  return new Promise((resolve, reject) => {
    const options = {
      ...moduleOptions,
      wordhashHost: {
        take: (size) => discipline.take(size),
        read: (size) => discipline.read(size),
        write: onWrite,
      },
      noInitialRun: true,
      // An exit from inside the program (the last-resort report) ends the run here; throwing
      // the second argument unwinds the program's stack.
      quit: (status, unwind) => {
        resolve(status);
        throw unwind;
      },
    };
    createModule(options)
      .then((module) => {
        // main(0, {NULL}): no program name, as the page has none to give. Async, so that
        // the status comes back after the reads that suspended it.
        const argv = new Uint8Array(4);
        return module.ccall('main', 'number', ['number', 'array'], [0, argv], { async: true });
      })
      .then(resolve, reject);
  });
}

// A script of the page, or a module under node.
if (typeof module !== 'undefined') {
  module.exports = { LineDiscipline, splitLines, runProgram };
} else {
  globalThis.WordhashTerminal = { LineDiscipline, splitLines, runProgram };
}
