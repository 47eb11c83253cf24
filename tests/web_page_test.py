#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The page in headless Chromium, served from 127.0.0.1, used with the keyboard as a person
would: the reference dialogue typed answer by answer, each once its prompt shows, and ended
with Ctrl-D; the run again; a paste of several lines; a word beyond a small memory; and the
page opened from a file. SMALL_MEMORY_DIR, where not empty, holds wordhash_small_memory.js for
the word beyond the memory. What the program wrote (the echoes apart) must be what the Linux
program writes for the same input. Exits 77 where Chromium, its driver or selenium is missing.

  web_page_test.py PAGE_DIR SMALL_MEMORY_DIR LINUX_PROGRAM SCREENSHOT
"""
import functools
import http.server
import json
import shutil
import subprocess
import sys
import tempfile
import threading

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    print("skipped: this python has no selenium (Debian's python3-selenium)")
    sys.exit(77)

page_dir, small_memory_dir, linux_program, screenshot = sys.argv[1:5]
chromium, driver = shutil.which("chromium"), shutil.which("chromedriver")
if not chromium or not driver:
    print("skipped: no chromium or chromedriver (Debian's chromium, chromium-driver)")
    sys.exit(77)


class Files(http.server.SimpleHTTPRequestHandler):
    """The page at /, and at /small/ with the program that has 32 MB of memory."""

    def translate_path(self, path):
        if path.startswith("/small/wordhash"):  # wordhash.js, and the .wasm it loads
            return small_memory_dir + "/wordhash_small_memory." + path.rsplit(".", 1)[1]
        return super().translate_path(path.removeprefix("/small"))

    def log_message(self, *args):
        pass


handler = functools.partial(Files, directory=page_dir)
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
threading.Thread(target=server.serve_forever, daemon=True).start()
address = f"http://127.0.0.1:{server.server_port}/"

options = webdriver.ChromeOptions()
options.binary_location = chromium
profile = tempfile.TemporaryDirectory()
for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--window-size=900,1100", f"--user-data-dir={profile.name}"):
    options.add_argument(flag)
browser = webdriver.Chrome(service=Service(executable_path=driver), options=options)
wait = WebDriverWait(browser, 60)
PROGRAM_TEXT = """return Array.from(document.getElementById('console').childNodes)
    .filter((node) => !(node.classList && node.classList.contains('echo')))
    .map((node) => node.textContent).join('');"""


def linux_output(text):
    run = subprocess.run([linux_program], input=text.encode(), capture_output=True, check=True)
    return run.stdout.decode().replace("\r\n", "\n")


def shows(text, state):
    wait.until(lambda _: browser.execute_script(PROGRAM_TEXT) == text and
               browser.find_element(By.ID, "state").text == state,
               f"the page never showed {text[-40:]!r} in the state {state!r}")


def check_dialogue(answers, end_keys):
    """Types each answer once the output up to its prompt shows, then the end keys."""
    typed = "".join(answer + "\n" for answer in answers)
    expected = linux_output(typed)
    prompts = [i + len(prompt) for i in range(len(expected))
               for prompt in ("Enter command: ", "Enter Slovo: ") if expected.startswith(prompt, i)]
    line = browser.find_element(By.ID, "line")
    for answer, prompt_end in zip(answers, prompts):
        shows(expected[:prompt_end], "waiting for input")
        line.send_keys(answer + Keys.ENTER)
    line.send_keys(end_keys)
    shows(expected, "ended with status 0")
    assert echoes() == typed, f"echoes {echoes()!r}"


def echoes():
    return "".join(e.text + "\n" for e in browser.find_elements(By.CSS_SELECTOR, "#console .echo"))


def paste(text_expression):
    """Pastes into the input line the text that the JavaScript expression makes."""
    browser.execute_script("""const paste = new DataTransfer();
        paste.setData('text/plain', """ + text_expression + """);
        document.getElementById('line').dispatchEvent(
            new ClipboardEvent('paste', {clipboardData: paste, bubbles: true, cancelable: true}));""")


def check_word_beyond_memory():
    browser.get(address + "small/")
    shows(linux_output(""), "waiting for input")
    paste("'0\\n' + 'w'.repeat(12 << 20) + '\\n'")
    wait.until(lambda _: browser.find_element(By.ID, "state").text == "ended with status 1")
    report = browser.find_element(By.ID, "report").text
    assert report.startswith("Exception EOutOfMemory in module wordhash at "), report
    assert report.endswith("Out of memory."), report


try:
    browser.get(address)
    check_dialogue(["0", "ab", "0", "ba", "2", "ba", "2", "zz", "3"], Keys.CONTROL + "d")
    browser.save_screenshot(screenshot)

    browser.find_element(By.ID, "run-again").send_keys(Keys.ENTER)  # focused once a run ends
    shows(linux_output(""), "waiting for input")
    # Served line by line; the 4 stays in the input line. The listing's line of 143 bytes goes
    # out in two writes, which split an é: it must show whole.
    typed = "0\n" + "é" * 70 + "\n3\n4"
    paste(json.dumps(typed))
    assert browser.find_element(By.ID, "line").get_attribute("value") == "4"
    browser.find_element(By.ID, "line").send_keys(Keys.ENTER)
    shows(linux_output(typed + "\n"), "ended with status 0")
    assert echoes() == typed + "\n", f"echoes {echoes()!r}"

    if small_memory_dir:
        check_word_beyond_memory()

    browser.get("file://" + page_dir + "/index.html")
    assert "python3 -m http.server" in browser.find_element(By.ID, "console").text
    beyond = ", a word beyond a small memory" if small_memory_dir else ""
    print(f"the page: the dialogue, run again, a paste{beyond} and file://: ok")
finally:
    browser.quit()
    server.shutdown()
