#include "console/windows_system.h"

#include <windows.h>

#include <string>

SystemInterface::Device WindowsSystem::AttachInput() {
  const HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
  if (handle == INVALID_HANDLE_VALUE) {
    return Device::kMissing;
  }
  input_ = handle;
  return Device::kFileOrPipe;  // the device type of standard input is not asked
}

SystemInterface::Device WindowsSystem::AttachOutput() {
  const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
  if (handle == INVALID_HANDLE_VALUE) {
    return Device::kMissing;
  }
  const DWORD type = GetFileType(handle);
  if (type == FILE_TYPE_UNKNOWN) {
    CloseHandle(handle);  // no usable device: give the handle up
    return Device::kMissing;
  }
  output_ = handle;
  return type == FILE_TYPE_CHAR ? Device::kTerminal : Device::kFileOrPipe;
}

SystemInterface::ReadResult WindowsSystem::ReadInput(std::span<char> buffer) {
  DWORD got = 0;
  if (ReadFile(input_, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) == 0) {
    const DWORD error = GetLastError();
    // A writer that went away is the end of the input, not a failure.
    return {0, error == ERROR_BROKEN_PIPE ? 0 : static_cast<int>(error)};
  }
  return {got, 0};
}

int WindowsSystem::WriteOutput(std::string_view bytes) {
  DWORD written = 0;
  if (WriteFile(output_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) == 0) {
    return static_cast<int>(GetLastError());
  }
  return 0;
}

void WindowsSystem::WriteError(std::string_view bytes) {
  // The console shows the OEM code page; the report's text is in the ANSI one.
  std::string text(bytes);
  CharToOemA(text.c_str(), text.data());
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written,
            nullptr);
}

std::string WindowsSystem::ModuleName() {
  std::string path(MAX_PATH, '\0');
  const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path.substr(path.find_last_of('\\') + 1);
}

std::uintptr_t WindowsSystem::ImageOffset(const void* code_address) {
  // A module's handle is the address its image was loaded at.
  return reinterpret_cast<std::uintptr_t>(code_address) -
         reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr));
}

bool WindowsSystem::DebuggerTakesFailures() {
  return IsDebuggerPresent() != 0;
}

void WindowsSystem::Exit(int status) {
  ExitProcess(static_cast<UINT>(status));
}
