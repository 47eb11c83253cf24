// SPDX-License-Identifier: MIT
#include "fake_system.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "console/program.h"

namespace {

// The program broke a rule of the device interface; no test can go on from here.
[[noreturn]] void Violation(const char* what) {
  std::fprintf(stderr, "FakeSystem: %s\n", what);
  std::abort();
}

}  // namespace

void FakeSystem::ScriptInput(std::string_view input, std::size_t chunk) {
  for (std::size_t at = 0; at < input.size(); at += chunk) {
    reads.push_back({std::string(input.substr(at, chunk))});
  }
}

std::string FakeSystem::Output() const {
  std::string all;
  for (const std::string& write : writes) {
    all += write;
  }
  return all;
}

bool FakeSystem::InjectFailureNow() {
  return device_calls++ == failing_call;
}

bool FakeSystem::AttachInput() {
  calls += 'I';
  return !InjectFailureNow() && input_attachable;
}

SystemInterface::Device FakeSystem::AttachOutput() {
  calls += 'O';
  return InjectFailureNow() ? Device::kMissing : output_device;
}

SystemInterface::ReadResult FakeSystem::ReadInput(std::span<char> buffer) {
  ++reads_made;
  writes_at_read.push_back(writes.size());
  calls += 'r';
  if (buffer.size() != 128) {
    Violation("every device read asks for 128 bytes");
  }
  if (InjectFailureNow()) {
    return {0, injected_error};
  }
  if (reads.empty()) {
    return {0, 0};
  }
  ScriptedRead read = std::move(reads.front());
  reads.pop_front();
  if (read.raise == Raise::kOutOfMemory) {
    throw std::bad_alloc();
  }
  if (read.raise == Raise::kOtherFailure) {
    throw std::runtime_error("Scripted failure");
  }
  if (read.bytes.size() > buffer.size()) {
    Violation("a scripted read is larger than the buffer");
  }
  std::copy_n(read.bytes.data(), read.bytes.size(), buffer.data());
  return {read.error == 0 ? read.bytes.size() : 0, read.error};
}

int FakeSystem::WriteOutput(std::string_view bytes) {
  const auto failure = failing_writes.find(write_attempts++);
  if (failure != failing_writes.end() || InjectFailureNow()) {
    calls += 'f';
    return failure != failing_writes.end() ? failure->second : injected_error;
  }
  calls += 'o';
  writes.emplace_back(bytes);
  return 0;
}

void FakeSystem::WriteError(std::string_view bytes) {
  calls += 'e';
  error_writes.emplace_back(bytes);
}

std::uintptr_t FakeSystem::ImageOffset(const void* code_address) {
  return reinterpret_cast<std::uintptr_t>(code_address);
}

std::string InProcessOutput(std::string_view input) {
  FakeSystem system;
  system.ScriptInput(input);
  if (RunWordhash(system) != 0) {
    Violation("the in-process run failed");
  }
  return system.Output();
}

std::optional<std::string> ReadWordText(ConsoleIO& console) {
  struct Text final : LineConsumer {
    void Take(std::string_view bytes) override { text.append(bytes); }
    std::string text;
  } line;
  if (console.ReadWord(line) == WordRead::kInputEnded) {
    return std::nullopt;
  }
  return line.text;
}
