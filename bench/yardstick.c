/* SPDX-License-Identifier: MIT */
/* The yardstick for wordhash's own work on a huge word: a minimal C program for the one
 * dialogue "0, a word, 3, 2, the same word, 4" with CR LF line ends. It makes the same
 * 128-byte reads and writes and writes the same bytes; it stores the word, sums its bytes one
 * at a time, and compares the searched line with it piece by piece. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static char input[128];
static size_t position, end;
static char output[128];
static size_t pending;

static char* word;
static size_t size, capacity, compared;
static unsigned long long sum;
static int same = 1;

static void Put(const char* bytes, size_t count) {
  while (count > 0) {
    size_t room = sizeof output - pending;
    size_t part = count < room ? count : room;
    memcpy(output + pending, bytes, part);
    pending += part;
    bytes += part;
    count -= part;
    if (pending == sizeof output) {
      if (write(1, output, pending) != (ssize_t)pending)
        exit(1);
      pending = 0;
    }
  }
}

static void PutText(const char* text) {
  Put(text, strlen(text));
}

static void PutNumberLine(const char* label, long number) {
  char digits[32];
  PutText(label);
  Put(digits, (size_t)snprintf(digits, sizeof digits, "%ld\r\n", number));
}

static void Discard(const char* bytes, size_t count) {
  (void)bytes, (void)count;
}

static void Store(const char* bytes, size_t count) {
  if (size + count > capacity) {
    capacity = 2 * (size + count);
    char* grown = realloc(word, capacity);
    if (grown == NULL)
      exit(1);
    word = grown;
  }
  memcpy(word + size, bytes, count);
  size += count;
  for (size_t i = 0; i < count; ++i)
    sum += (unsigned char)bytes[i];
}

static void Compare(const char* bytes, size_t count) {
  same = same && compared + count <= size && memcmp(word + compared, bytes, count) == 0;
  compared += count;
  for (size_t i = 0; i < count; ++i)
    sum += (unsigned char)bytes[i];
}

/* Hands the next line's pieces, up to its LF and without the CR before it, to take. */
static void ReadLine(void (*take)(const char*, size_t)) {
  for (;;) {
    if (position == end) {
      ssize_t got = read(0, input, sizeof input);
      if (got <= 0)
        return;
      position = 0;
      end = (size_t)got;
    }
    char* line_feed = memchr(input + position, '\n', end - position);
    size_t count = (line_feed != NULL ? (size_t)(line_feed - input) : end) - position;
    size_t kept =
        line_feed != NULL && count > 0 && input[position + count - 1] == '\r' ? count - 1 : count;
    if (kept > 0)
      take(input + position, kept);
    position += count;
    if (line_feed != NULL) {
      ++position;
      return;
    }
  }
}

int main(void) {
  const char* prompt = "Enter command: ";
  PutText("0 - Dobavit v hash table\r\n2 - Poisk hash table\r\n3 - Vivod hash table\r\n");
  PutText("4 - Exit\r\n");
  PutText(prompt);
  ReadLine(Discard);
  PutText("Enter Slovo: ");
  ReadLine(Store);
  const long home = (long)(sum % 12);
  PutNumberLine("Comparies: ", 1);
  PutNumberLine("", home);
  PutText(prompt);
  ReadLine(Discard);
  for (long slot = 0; slot < 12; ++slot) {
    char label[16];
    snprintf(label, sizeof label, "%ld: ", slot);
    PutText(label);
    if (slot == home)
      Put(word, size);
    PutText("\r\n");
  }
  PutText(prompt);
  ReadLine(Discard);
  PutText("Enter Slovo: ");
  sum = 0;
  ReadLine(Compare);
  if (!same || compared != size || (long)(sum % 12) != home)
    return 1;
  PutText("Eto slovo naideni i nahodatsa po\r\n");
  PutNumberLine("Index is: ", home);
  PutNumberLine("Comparies: ", 1);
  PutText(prompt);
  ReadLine(Discard);
  if (write(1, output, pending) != (ssize_t)pending)
    return 1;
  free(word);
  return 0;
}
