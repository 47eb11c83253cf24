#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "console/input_stream.h"
#include "console/output_stream.h"
#include "console/system_interface.h"

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
  // The next line without its CR bytes; the rest of the line is discarded.
  [[gnu::noinline]] std::string ReadWord();

  // True when the input has ended: every later read gives end of input.
  bool AtEndOfInput() const { return input_.AtEndOfInput(); }

  // End of a normal run: every pending byte to the device, and the write checked.
  [[gnu::noinline]] void FinishOutput();
  // Before the failure report: every pending byte to the device; failures go unreported.
  void FlushOutput() { output_.Flush(); }

 private:
  void CheckIO(const void* return_address);

  std::int32_t pending_code_ = 0;
  OutputStream output_;
  InputStream input_;
};
