// SPDX-License-Identifier: MIT
#include "app/failure_report.h"

#include <charconv>

#include "platform/error_codes.h"

namespace wordhash {

MessageText InOutErrorMessage(std::int32_t code) {
  const error_code::OwnCode* own = error_code::FindOwnCode(code);
  if (own != nullptr && !own->message.empty()) {
    return MessageText(own->message);
  }
  char digits[12];
  const auto end = std::to_chars(digits, digits + sizeof digits, code).ptr;
  MessageText message("I/O error ");
  message.Append(std::string_view(digits, static_cast<std::size_t>(end - digits)));
  return message;
}

ReportText FormatFailureReport(std::string_view kind, std::string_view module,
                               std::uintptr_t position, std::string_view message) {
  // Eight upper-case hexadecimal digits: the low 32 bits of the position.
  char offset[8];
  auto low_bits = static_cast<std::uint32_t>(position & 0xFFFFFFFFu);
  for (int digit = 7; digit >= 0; --digit, low_bits >>= 4) {
    offset[digit] = "0123456789ABCDEF"[low_bits & 0xFu];
  }
  // Each field is cut short enough that the whole report always fits.
  constexpr std::size_t kLongestField = 300;
  kind = kind.substr(0, kLongestField);
  module = module.substr(0, kLongestField);
  message = message.substr(0, kLongestField);
  const bool needs_stop = !message.empty() && message.back() != '.';
  ReportText report;
  report.Append("Exception ").Append(kind).Append(" in module ").Append(module);
  report.Append(" at ").Append(std::string_view(offset, sizeof offset)).Append(".\r\n");
  report.Append(message).Append(needs_stop ? "." : "").Append("\r\n");
  return report;
}

void WriteFailureReport(SystemInterface& system, const Failure& failure) {
  const ReportText report = FormatFailureReport(
      failure.kind, system.ModuleName(), system.ImageOffset(failure.raised_at), failure.message);
  system.WriteError(report.View());
  system.WriteError("\r\n");
}

}  // namespace wordhash
