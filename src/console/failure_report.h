#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "console/system_interface.h"

// The whole program on the given system: the dialogue, its final write, and the failure
// report should anything fail. Returns the exit status: 0, or 1 after a report.
int RunWordhash(SystemInterface& system);

// The message of an EInOutError with the given code.
std::string InOutErrorMessage(std::int32_t code);

// The report's text, without the CR LF written after it.
std::string FormatFailureReport(std::string_view kind, std::string_view module,
                                std::uintptr_t position, std::string_view message);
