#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# make mutants: how many small faults in src/ the tests catch. Each mutant changes one thing on
# one line (a comparison, a boolean, an increment or a small constant), is built, and runs the
# tests (all but the package's); it is killed when a test fails or hangs. A mutant of the
# Windows seam is built into the 64-bit Windows program and killed by its tests under wine,
# where mingw-w64 and wine are installed (make wine-test's packages). Slow, so not in CI.
#   tools/mutants.sh [COUNT [SEED [COMMIT]]]    (60 mutants, seed 1, the work tree)
# The same count and seed over the same src/ give the same mutants. With COMMIT, they are tried
# against that commit's tests/ instead of the work tree's: the same faults, before and after a
# change to the tests.
# Writes build-mutants/results.txt, a line a mutant: killed|survived|unbuilt FILE:LINE: before
# => after.
set -euo pipefail
count=${1:-60}
seed=${2:-1}
commit=${3:-}
top=$(cd "$(dirname "$0")/.." && pwd)
work=$top/build-mutants${commit:+-$commit}
tree=$work/tree
rm -rf "$tree"
mkdir -p "$tree"
(cd "$top" && git ls-files -z | xargs -0 cp --parents -t "$tree")
if [ -n "$commit" ]; then
  rm -r "$tree/tests"
  git -C "$top" archive "$commit" tests | tar -x -C "$tree"
fi
# With the library's bounds checks, so that an index one past the end fails instead of
# reading or writing what happens to lie there.
cmake -S "$tree" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS \
  > /dev/null
cmake --build "$work/build" -j "$(nproc)" > /dev/null
# A mutant is killed by a failing test: without a mutant, none may fail.
linux_tests=(--test-dir "$work/build" -LE package -j "$(nproc)" --timeout 60)
ctest "${linux_tests[@]}" > /dev/null ||
  { echo "The tests fail without a mutant: see ctest --test-dir $work/build" >&2; exit 1; }
windows=0
if command -v x86_64-w64-mingw32-g++ > /dev/null && [ -x /usr/lib/wine/wine64 ]; then
  (cd "$tree" && cmake --preset win64 && cmake --build build-win64 -j "$(nproc)" &&
    cmake --preset wine && cmake --build build-wine --target wine_test -j "$(nproc)") > /dev/null
  windows=1
else
  echo "No mingw-w64 or wine: the Windows seam is left out." >&2
fi

# Every (file, line, before, after) that one textual change makes, one a line, tab-separated.
python3 - "$tree" "$count" "$seed" "$windows" > "$work/mutants.tsv" << 'PYTHON'
import pathlib, random, re, sys
tree, count, seed = pathlib.Path(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
windows = sys.argv[4] == "1"
# Comparisons only with spaces around them, which template brackets never have.
swaps = [(r" == ", " != "), (r" != ", " == "), (r" <= ", " < "), (r" < ", " <= "),
         (r" >= ", " > "), (r" > ", " >= "), (r" && ", " || "), (r" \|\| ", " && "),
         (r"\btrue\b", "false"), (r"\bfalse\b", "true"), (r"\+\+", "--"),
         (r"(?<![\w.])0(?![\w.x])", "1"), (r"(?<![\w.])1(?![\w.])", "0"),
         (r"(?<![\w.])2(?![\w.])", "3")]
mutants = []
for path in sorted(tree.glob("src/*/*.cpp")):
    if path.name == "windows_system.cpp" and not windows:
        continue
    for number, line in enumerate(path.read_text().split("\n"), 1):
        code = line.split("//")[0]
        if code.lstrip().startswith("#") or not code.strip() or '"' in code:
            continue
        for pattern, replacement in swaps:
            for match in re.finditer(pattern, code):
                after = line[:match.start()] + replacement + line[match.end():]
                mutants.append((str(path.relative_to(tree)), number, line, after))
random.Random(seed).shuffle(mutants)
for file, number, before, after in mutants[:count]:
    print(f"{file}\t{number}\t{before}\t{after}")
PYTHON

: > "$work/results.txt"
while IFS=$'\t' read -r file number before after; do
  cp "$tree/$file" "$work/original"
  python3 -c 'import sys; p, n, a = sys.argv[1], int(sys.argv[2]), sys.argv[3]
lines = open(p).read().split("\n"); lines[n - 1] = a; open(p, "w").write("\n".join(lines))' \
    "$tree/$file" "$number" "$after"
  build=$work/build
  tests=("${linux_tests[@]}")
  if [ "$file" = src/platform/windows_system.cpp ]; then
    build=$tree/build-win64
    tests=(--test-dir "$tree/build-wine" -R '^Win64\.' --timeout 120)
  fi
  # A mutant that does not build is no fault a test could miss: it is counted apart.
  if ! cmake --build "$build" -j "$(nproc)" > /dev/null 2>&1; then
    verdict=unbuilt
  elif ctest "${tests[@]}" --stop-on-failure > /dev/null 2>&1; then
    verdict=survived
  else
    verdict=killed
  fi
  cp "$work/original" "$tree/$file"
  touch "$tree/$file"
  printf '%s %s:%s: %s => %s\n' "$verdict" "$file" "$number" "$(echo $before)" "$(echo $after)" |
    tee -a "$work/results.txt"
done < "$work/mutants.tsv"
for verdict in killed survived unbuilt; do
  printf '%s %s\n' "$(grep -c "^$verdict" "$work/results.txt" || true)" "$verdict"
done
