// SPDX-License-Identifier: MIT
#include "app/program.h"

#include <cstdlib>
#include <exception>
#include <new>

#include "app/command_driver.h"
#include "app/failure_report.h"
#include "console/console_io.h"
#include "console/in_out_error.h"

namespace wordhash {

namespace {

// Only I/O failures know where they were raised; the report names the dialogue for others.
const void* const kPositionOfOtherFailures = reinterpret_cast<const void*>(&RunCommandDriver);

// Called only from the handlers below, while the failure is being handled.
int Report(SystemInterface& system, ConsoleIO& console, const Failure& failure) {
  if (system.DebuggerTakesFailures()) {
    // cppcheck-suppress rethrowNoCurrentException
    throw;  // passed on unhandled, for the debugger to take
  }
  // What the program wrote before the failure goes out first. Should that fail too, the
  // report is still made.
  console.FlushOutput();
  WriteFailureReport(system, failure);
  return 1;
}

// When memory is so short that not even a failure can be raised, the runtime ends the
// program through its terminate handler: this one still makes the report, never an abort.
class LastResortReport {
 public:
  LastResortReport(SystemInterface& system, ConsoleIO& console) {
    system_ = &system;
    console_ = &console;
    previous_handler_ = std::set_terminate(&Handle);
  }
  ~LastResortReport() { std::set_terminate(previous_handler_); }
  LastResortReport(const LastResortReport&) = delete;
  LastResortReport& operator=(const LastResortReport&) = delete;

 private:
  [[noreturn]] static void Handle() {
    if (std::current_exception() != nullptr) {
      previous_handler_();  // a failure passed on to a debugger: not ours to report
    }
    console_->FlushOutput();
    WriteFailureReport(*system_, {"EOutOfMemory", kPositionOfOtherFailures, "Out of memory"});
    std::_Exit(1);
  }

  static inline SystemInterface* system_ = nullptr;
  static inline ConsoleIO* console_ = nullptr;
  static inline std::terminate_handler previous_handler_ = nullptr;
};

}  // namespace

int RunWordhash(SystemInterface& system) {
  ConsoleIO console(system);
  const LastResortReport last_resort(system, console);
  try {
    RunCommandDriver(console);
    console.FlushOutputAndCheck();
    return 0;
  } catch (const EInOutError& failure) {
    const MessageText message = InOutErrorMessage(failure.code());
    return Report(system, console, {"EInOutError", failure.raised_at(), message.View()});
  } catch (const std::bad_alloc&) {
    return Report(system, console, {"EOutOfMemory", kPositionOfOtherFailures, "Out of memory"});
  } catch (const std::exception& failure) {
    return Report(system, console, {"Exception", kPositionOfOtherFailures, failure.what()});
  } catch (...) {
    return Report(system, console, {"Exception", kPositionOfOtherFailures, "Unknown failure"});
  }
}

}  // namespace wordhash
