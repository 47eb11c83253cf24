// SPDX-License-Identifier: MIT
#include "platform/web_system.h"

#include <emscripten/emscripten.h>

#include "platform/platform.h"

namespace {

// The bodies are JavaScript, which clang-format would break apart as C++ (=== into == =).
// clang-format off

// What is typed already, or -1 when nothing is: a suspension costs far more than a read.
EM_JS(int, wordhash_take, (char* buffer, int size), {
  const bytes = Module.wordhashHost.take(size);
  if (bytes === null) return -1;
  HEAPU8.set(bytes, buffer);
  return bytes.length;
});

// Suspends the program (asyncify) until the user types or ends the input.
EM_ASYNC_JS(int, wordhash_read, (char* buffer, int size), {
  const bytes = await Module.wordhashHost.read(size);
  HEAPU8.set(bytes, buffer);
  return bytes.length;
});

// A copy, since the memory's buffer is replaced when it grows.
EM_JS(void, wordhash_write, (const char* bytes, int size, int stream), {
  Module.wordhashHost.write(HEAPU8.slice(bytes, bytes + size), stream);
});

// clang-format on

}  // namespace

namespace wordhash {

void SetUpProcess() {}  // nothing process-wide to change

SystemInterface& DefaultSystem(const char* /*argv0*/) {
  static WebSystem system;
  return system;
}

SystemInterface::ReadResult WebSystem::ReadInput(std::span<char> buffer) {
  const int size = static_cast<int>(buffer.size());
  int got = wordhash_take(buffer.data(), size);
  if (got < 0) {
    got = wordhash_read(buffer.data(), size);
  }
  return {static_cast<std::size_t>(got), 0};
}

int WebSystem::WriteOutput(std::string_view bytes) {
  wordhash_write(bytes.data(), static_cast<int>(bytes.size()), 1);
  return 0;
}

void WebSystem::WriteError(std::string_view bytes) {
  wordhash_write(bytes.data(), static_cast<int>(bytes.size()), 2);
}

std::uintptr_t WebSystem::ImageOffset(const void* code_address) {
  return reinterpret_cast<std::uintptr_t>(code_address);
}

}  // namespace wordhash
