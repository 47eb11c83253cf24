#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""How long the documents' sentences are, counted over the prose only: code blocks, tables,
headings, indented examples and roff requests are left out. A sentence ends at . ! or ?
before a space or a line end, and a list item starts one. Prints, for each file, its lines,
its sentences, the words a sentence on average and the sentences of 40 words or more.
With --most N, fails when a file's average is above N.

  tools/sentence_lengths.py [--most N] FILE...   (a .1 or .1.in file is read as roff)
"""
import re
import sys

FONT_REQUEST = re.compile(r"\.(B|I|BR|RB|BI|IR|RI)\s+(.*)")


def roff_prose(lines):
    in_block = False
    for line in lines:
        if line.startswith((".nf", ".TS")):
            in_block = True
        elif line.startswith((".fi", ".TE")):
            in_block = False
        elif not in_block and not line.startswith("."):
            yield re.sub(r"\\f[BIPR]|\\\(..|\\&", "", line).replace("\\-", "-")
        elif not in_block and FONT_REQUEST.match(line):  # a font request's words are prose
            yield FONT_REQUEST.match(line).group(2).replace('"', "")


def text_prose(lines, plain_text):
    in_block = False
    underline = re.compile(r"[=-]{3,}")
    for line, next_line in zip(lines, lines[1:] + [""]):
        if line.startswith("```"):
            in_block = not in_block
        elif in_block or line.startswith(("|", "#", "![")) or underline.fullmatch(line):
            continue
        elif underline.fullmatch(next_line):  # a heading, underlined
            continue
        elif plain_text and line.startswith("    "):
            continue
        elif re.match(r"\s*([-*]|\d+\.) ", line):
            yield "\0" + re.sub(r"^\s*([-*]|\d+\.) ", "", line)
        else:
            yield line


def sentence_lengths(path):
    lines = open(path, encoding="utf-8").read().split("\n")
    if path.endswith((".1", ".1.in")):
        prose = roff_prose(lines)
    else:
        prose = text_prose(lines, path.endswith(".txt"))
    text = " ".join(prose)
    sentences = [s for s in re.split(r"(?<=[.!?])\s+|\0", text) if re.search(r"\w", s)]
    return len(lines) - 1, [len(s.split()) for s in sentences]


def main(args):
    most = None
    if args[:1] == ["--most"]:
        most, args = float(args[1]), args[2:]
    failed = False
    for path in args:
        lines, lengths = sentence_lengths(path)
        average = sum(lengths) / max(len(lengths), 1)
        long = sum(1 for length in lengths if length >= 40)
        print(f"{path}: {lines} lines, {len(lengths)} sentences, {average:.1f} words a sentence,"
              f" {long} of 40 words or more")
        if most is not None and average > most:
            print(f"FAILED: {path} has {average:.1f} words a sentence, more than {most:g}")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
