// SPDX-License-Identifier: MIT
#include "console/console_io.h"

#include <charconv>

#include "console/in_out_error.h"

namespace wordhash {

void ConsoleIO::WriteInteger(std::int32_t value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  WriteText(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

void ConsoleIO::EndLine() {
  output_.Append("\r\n");
  output_.Push();
  if (pending_code_ != 0) {
    RaisePending(__builtin_return_address(0));
  }
}

void ConsoleIO::WritePrompt(std::string_view text) {
  output_.Append(text);
  output_.Push();
  if (pending_code_ != 0) {
    RaisePending(__builtin_return_address(0));
  }
}

unsigned char ConsoleIO::ReadCommandChar() {
  const unsigned char command = input_.ReadByte();
  // An empty line ended by a lone LF (Enter on a POSIX terminal) is over already: skipping
  // on would throw the next command away.
  const bool line_cut_short = command != '\n' && !input_.SkipLine();
  if (pending_code_ != 0) {
    RaisePending(__builtin_return_address(0));
  }
  // The input ended within the command line. The end is final: the word this command may
  // ask for must not be read from whatever the device gives after it.
  input_ended_ = input_ended_ || line_cut_short;
  return command;
}

WordRead ConsoleIO::ReadWord(LineConsumer& consumer) {
  if (input_ended_) {
    return WordRead::kInputEnded;
  }
  const bool line_read = input_.ReadLineInto(consumer);
  const bool line_cut_short = !input_.SkipLine();
  if (pending_code_ != 0) {
    RaisePending(__builtin_return_address(0));
  }
  // As after a command: whatever the device gives after the end is never read as a word.
  input_ended_ = line_cut_short;
  return line_read ? WordRead::kLine : WordRead::kInputEnded;
}

void ConsoleIO::FlushOutputAndCheck() {
  output_.Flush();
  if (pending_code_ != 0) {
    RaisePending(__builtin_return_address(0));
  }
}

void ConsoleIO::RaisePending(const void* return_address) {
  const std::int32_t code = pending_code_;
  pending_code_ = 0;
  // One byte back from the return address lies inside the call instruction itself, which
  // addr2line maps to the calling statement's line.
  throw EInOutError(code, static_cast<const char*>(return_address) - 1);
}

}  // namespace wordhash
