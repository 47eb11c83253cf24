/* SPDX-License-Identifier: MIT */
/* The floor for wordhash's work on a file or pipe: standard input read to its end in reads of
 * 128 bytes, then the given number of bytes written to standard output in writes of 128. */
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv) {
  char buffer[128];
  long long left = argc > 1 ? atoll(argv[1]) : 0;
  while (read(0, buffer, sizeof buffer) > 0) {
  }
  memset(buffer, 'x', sizeof buffer);
  while (left > 0) {
    const size_t size = left < (long long)sizeof buffer ? (size_t)left : sizeof buffer;
    if (write(1, buffer, size) != (ssize_t)size) {
      return 1;
    }
    left -= (long long)size;
  }
  return 0;
}
