#include "fake_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>

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

std::string FakeSystem::ErrorOutput() const {
  std::string all;
  for (const std::string& write : error_writes) {
    all += write;
  }
  return all;
}

SystemInterface::Device FakeSystem::AttachInput() {
  return input_device;
}

SystemInterface::Device FakeSystem::AttachOutput() {
  return output_device;
}

SystemInterface::ReadResult FakeSystem::ReadInput(std::span<char> buffer) {
  ++reads_made;
  writes_at_read.push_back(writes.size());
  calls += 'r';
  EXPECT_EQ(buffer.size(), 128u) << "every device read asks for 128 bytes";
  if (reads.empty()) {
    return {0, 0};
  }
  ScriptedRead read = std::move(reads.front());
  reads.pop_front();
  if (read.out_of_memory) {
    throw std::bad_alloc();
  }
  EXPECT_LE(read.bytes.size(), buffer.size()) << "scripted read larger than the buffer";
  const std::size_t size = std::min(read.bytes.size(), buffer.size());
  std::copy_n(read.bytes.data(), size, buffer.data());
  return {read.error == 0 ? size : 0, read.error};
}

int FakeSystem::WriteOutput(std::string_view bytes) {
  const auto failure = failing_writes.find(write_attempts++);
  if (failure != failing_writes.end()) {
    calls += 'f';
    return failure->second;
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

void FakeSystem::Exit(int /*status*/) {
  // The program returns its status through RunWordhash; nothing in it may exit.
  ADD_FAILURE() << "Exit called on the fake system";
  std::abort();
}
