// SPDX-License-Identifier: MIT
#include "fake_system.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "app/program.h"

namespace wordhash {

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

std::vector<std::string> FakeSystem::Writes(Kind kind) const {
  std::vector<std::string> writes;
  for (const Call& call : log) {
    if (call.kind == kind && call.error == 0) {
      writes.push_back(call.bytes);
    }
  }
  return writes;
}

std::string FakeSystem::Output() const {
  std::string all;
  for (const std::string& write : Writes()) {
    all += write;
  }
  return all;
}

std::size_t FakeSystem::CountOf(Kind kind) const {
  return static_cast<std::size_t>(std::count_if(
      log.begin(), log.end(), [kind](const Call& call) { return call.kind == kind; }));
}

int FakeSystem::NextCallFails(Kind kind) {
  const auto failure = failing_calls.find({kind, ++calls_made_[kind]});
  return failure == failing_calls.end() ? 0 : failure->second;
}

bool FakeSystem::AttachInput() {
  const bool attached = NextCallFails(Kind::kAttachInput) == 0 && input_attachable;
  log.push_back({Kind::kAttachInput, "", attached ? 0 : 1});
  return attached;
}

SystemInterface::Device FakeSystem::AttachOutput() {
  const Device device = NextCallFails(Kind::kAttachOutput) == 0 ? output_device : Device::kMissing;
  log.push_back({Kind::kAttachOutput, "", device == Device::kMissing ? 1 : 0});
  return device;
}

SystemInterface::ReadResult FakeSystem::ReadInput(std::span<char> buffer) {
  if (buffer.size() != 128) {
    Violation("every device read asks for 128 bytes");
  }
  if (const int error = NextCallFails(Kind::kRead); error != 0) {
    log.push_back({Kind::kRead, "", error});
    return {0, error};
  }
  ScriptedRead read;
  if (!reads.empty()) {
    read = std::move(reads.front());
    reads.pop_front();
  }
  log.push_back({Kind::kRead, read.bytes});
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
  return {read.bytes.size(), 0};
}

int FakeSystem::WriteOutput(std::string_view bytes) {
  const int error = NextCallFails(Kind::kWrite);
  log.push_back({Kind::kWrite, std::string(bytes), error});
  return error;
}

void FakeSystem::WriteError(std::string_view bytes) {
  log.push_back({Kind::kErrorWrite, std::string(bytes)});
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

}  // namespace wordhash
