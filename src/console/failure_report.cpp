#include "console/failure_report.h"

#include <cstdio>
#include <exception>
#include <new>

#include "console/command_driver.h"
#include "console/console_io.h"
#include "console/in_out_error.h"

namespace {

struct Failure {
  std::string_view kind;
  const void* raised_at;
  std::string message;
};

// What the report says of the failure being handled.
Failure DescribeCurrentFailure() {
  // Nothing is known of where other failures were raised: the report names the dialogue.
  const void* dialogue = reinterpret_cast<const void*>(&RunCommandDriver);
  try {
    std::rethrow_exception(std::current_exception());
  } catch (const EInOutError& failure) {
    return {"EInOutError", failure.raised_at(), InOutErrorMessage(failure.code())};
  } catch (const std::bad_alloc&) {
    return {"EOutOfMemory", dialogue, "Out of memory"};
  } catch (const std::exception& failure) {
    return {"Exception", dialogue, failure.what()};
  } catch (...) {
    return {"Exception", dialogue, "Unknown failure"};
  }
}

int ReportFailure(SystemInterface& system, ConsoleIO& console, const Failure& failure) {
  // What the program wrote before the failure goes out first. Should that fail too, the
  // report is still made.
  console.FlushOutput();
  system.WriteError(FormatFailureReport(failure.kind, system.ModuleName(),
                                        system.ImageOffset(failure.raised_at), failure.message));
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
  } catch (...) {
    if (system.DebuggerTakesFailures()) {
      throw;  // passed on unhandled, for the debugger to take
    }
    return ReportFailure(system, console, DescribeCurrentFailure());
  }
}
