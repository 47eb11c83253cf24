#include "console/failure_report.h"

#include <cstdio>
#include <new>

#include "console/command_driver.h"
#include "console/console_io.h"
#include "console/in_out_error.h"

namespace {

int ReportFailure(SystemInterface& system, ConsoleIO& console, std::string_view kind,
                  const void* raised_at, std::string_view message) {
  // What the program wrote before the failure goes out first. Should that fail too, the
  // report is still made.
  console.FlushOutput();
  system.WriteError(
      FormatFailureReport(kind, system.ModuleName(), system.ImageOffset(raised_at), message));
  system.WriteError("\r\n");
  return 1;
}

}  // namespace

std::string InOutErrorMessage(std::int32_t code) {
  switch (code) {
    case 2:
      return "File not found";
    case 3:
      return "Invalid filename";
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    case 100:
      return "Read beyond end of file";
    case 101:
      return "Disk full";
    case 106:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

std::string FormatFailureReport(std::string_view kind, std::string_view module,
                                std::uintptr_t position, std::string_view message) {
  char offset[16];
  std::snprintf(offset, sizeof offset, "%08X", static_cast<unsigned>(position & 0xFFFFFFFFu));
  const bool needs_stop = !message.empty() && message.back() != '.';
  std::string report;
  report.append("Exception ").append(kind).append(" in module ").append(module);
  report.append(" at ").append(offset).append(".\r\n");
  report.append(message).append(needs_stop ? "." : "").append("\r\n");
  return report;
}

int RunWordhash(SystemInterface& system) {
  ConsoleIO console(system);
  try {
    RunCommandDriver(console);
    console.FinishOutput();
    return 0;
  } catch (const EInOutError& failure) {
    return ReportFailure(system, console, "EInOutError", failure.raised_at(),
                         InOutErrorMessage(failure.code()));
  } catch (const std::bad_alloc&) {
    // Nothing is known of where the allocation was: the report names the dialogue's start.
    return ReportFailure(system, console, "EOutOfMemory",
                         reinterpret_cast<const void*>(&RunCommandDriver), "Out of memory");
  } catch (const std::exception& failure) {
    return ReportFailure(system, console, "Exception",
                         reinterpret_cast<const void*>(&RunCommandDriver), failure.what());
  }
}
