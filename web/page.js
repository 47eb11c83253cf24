// SPDX-License-Identifier: MIT
// The page as a terminal: the console shows what the program writes as it arrives, the input
// line is the keyboard, and each line typed is echoed as a terminal echoes it.
'use strict';

(() => {
  const consoleView = document.getElementById('console');
  const report = document.getElementById('report');
  const state = document.getElementById('state');
  const line = document.getElementById('line');
  const runAgain = document.getElementById('run-again');
  const encoder = new TextEncoder();
  let discipline = null;

  function show(text, className) {
    if (className) {
      const span = document.createElement('span');
      span.className = className;
      span.textContent = text;
      consoleView.appendChild(span);
    } else {
      consoleView.appendChild(document.createTextNode(text));
    }
    consoleView.scrollTop = consoleView.scrollHeight;
  }

  // Bytes written are one UTF-8 stream per output across writes (a character may be split
  // between two); what cannot be decoded shows as U+FFFD. CR LF shows as a line break: a CR at
  // the end of a write waits for what follows it.
  function outputView(onText) {
    const decoder = new TextDecoder('utf-8');
    let heldCarriageReturn = '';
    return (bytes) => {
      let text = heldCarriageReturn + decoder.decode(bytes, { stream: true });
      heldCarriageReturn = text.endsWith('\r') ? '\r' : '';
      text = text.slice(0, text.length - heldCarriageReturn.length).replace(/\r\n/g, '\n');
      if (text) onText(text);
    };
  }

  function setState(text) {
    state.textContent = text;
  }

  // Enter hands the line over with its LF; Ctrl-D hands over what is typed without one, or
  // ends the input on an empty line. Either way the line is echoed into the console.
  function handOver(withLineFeed) {
    if (!discipline) return;
    const text = line.value + (withLineFeed ? '\n' : '');
    line.value = '';
    if (text) show(text, 'echo');
    const bytes = encoder.encode(text);
    if (withLineFeed) discipline.type(bytes);
    else discipline.endOfInput(bytes);
    setState('running');
  }

  line.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') {
      event.preventDefault();
      handOver(true);
    } else if (event.ctrlKey && !event.altKey && (event.key === 'd' || event.key === 'D')) {
      event.preventDefault();
      handOver(false);
    }
  });

  // A one-line input drops the line breaks of a paste: each pasted line is handed over as if
  // typed and ended with Enter, and what follows the last break stays in the input line.
  line.addEventListener('paste', (event) => {
    const pasted = event.clipboardData ? event.clipboardData.getData('text') : '';
    if (!pasted.includes('\n')) return;
    event.preventDefault();
    const start = line.selectionStart ?? line.value.length;
    const end = line.selectionEnd ?? line.value.length;
    const lines = (line.value.slice(0, start) + pasted).split('\n');
    const after = line.value.slice(end);
    const last = lines.pop();
    for (const typed of lines) {
      line.value = typed;
      handOver(true);
    }
    line.value = last + after;
  });

  function start() {
    consoleView.textContent = '';
    report.textContent = '';
    report.hidden = true;
    runAgain.hidden = true;
    line.disabled = false;
    line.focus();
    setState('running');
    discipline = new WordhashTerminal.LineDiscipline();
    discipline.onWait = () => setState('waiting for input');
    const views = {
      1: outputView((text) => show(text)),
      2: outputView((text) => {
        report.hidden = false;
        report.textContent += text;
      }),
    };
    const onWrite = (bytes, stream) => {
      views[stream](bytes);
      document.dispatchEvent(new CustomEvent('wordhash-output', { detail: { bytes, stream } }));
    };
    WordhashTerminal.runProgram(createWordhash, discipline, onWrite).then(
      (status) => finish(`ended with status ${status}`),
      (error) => finish(`ended: ${error}`));
  }

  function finish(text) {
    discipline = null;
    setState(text);
    line.disabled = true;
    runAgain.hidden = false;
    runAgain.focus();
  }

  runAgain.addEventListener('click', start);

  if (location.protocol === 'file:') {
    setState('not started');
    show('Browsers do not let a page opened from a file load its program (wordhash.wasm).\n' +
         'Serve this folder instead, for instance with\n' +
         '    python3 -m http.server --bind 127.0.0.1 8000\n' +
         'run in it, then open http://127.0.0.1:8000/ in the browser.\n');
  } else {
    start();
  }
})();
