// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

#include "console/input_stream.h"
#include "console/line_consumer.h"
#include "console/output_stream.h"
#include "platform/system_interface.h"

namespace wordhash {

// What a word read found: a line (possibly empty), or the end of the input with no word.
enum class WordRead { kLine, kInputEnded };

// The line-oriented console every other part of the program talks through. Output lines
// end in CR LF. A statement is some WriteText/WriteInteger calls closed by EndLine, or one
// WritePrompt, ReadCommandChar or ReadWord; each statement ends with one check, which raises
// EInOutError if any of its parts failed (the code stored last wins).
class ConsoleIO {
 public:
  static constexpr unsigned char kEndOfInput = InputStream::kEndOfInput;

  explicit ConsoleIO(SystemInterface& system)
      : output_(system, pending_code_), input_(system, pending_code_) {}

  void WriteText(std::string_view text) { output_.Append(text); }
  void WriteInteger(std::int32_t value);

  // The statements are never inlined: a failure is reported at the address of the call.
  [[gnu::noinline]] void EndLine();
  [[gnu::noinline]] void WritePrompt(std::string_view text);
  // The first byte of the next line, the rest of which is discarded; kEndOfInput at the end.
  [[gnu::noinline]] unsigned char ReadCommandChar();
  // Hands the next line, without its CR bytes, to the consumer as it arrives; the rest of
  // the line is discarded. kInputEnded when the input ends before any byte of the line, and,
  // without reading, once an earlier line was cut short by the end: the end is final. A line
  // ended by its LF or by a 26 met inside it is a word, whatever follows. A failed read
  // raises before this returns, so its caller never uses what the consumer took.
  [[gnu::noinline]] WordRead ReadWord(LineConsumer& consumer);

  // End of a normal run: every pending byte to the device, and the write checked.
  [[gnu::noinline]] void FlushOutputAndCheck();
  // Before the failure report: every pending byte to the device; failures go unreported.
  void FlushOutput() { output_.Flush(); }

 private:
  // Raises the pending failure at the statement that returns to return_address. The address
  // is taken only when there is a failure: where a platform works it out from a stack trace
  // (a web page), taking it costs far more than a statement.
  [[noreturn]] void RaisePending(const void* return_address);

  std::int32_t pending_code_ = 0;
  bool input_ended_ = false;  // a line was cut short by the end of input
  OutputStream output_;
  InputStream input_;
};

}  // namespace wordhash
