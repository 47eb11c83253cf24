// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

#include "app/fixed_text.h"
#include "platform/system_interface.h"

namespace wordhash {

// A failure as the report names it: its kind, the code address it was raised at, and its
// message.
struct Failure {
  std::string_view kind;
  const void* raised_at = nullptr;
  std::string_view message;
};

using MessageText = FixedText<32>;
using ReportText = FixedText<1024>;

// The message of an EInOutError with the given code.
MessageText InOutErrorMessage(std::int32_t code);

// The report's text, without the CR LF written after it.
ReportText FormatFailureReport(std::string_view kind, std::string_view module,
                               std::uintptr_t position, std::string_view message);

// Writes the failure's report to standard error, then an empty line. Allocates nothing, so
// that it works whatever the failure was.
void WriteFailureReport(SystemInterface& system, const Failure& failure);

}  // namespace wordhash
