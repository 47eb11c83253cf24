#include "console/posix_system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

namespace {

// An errno is reported as the message table's code of the same meaning; one whose number
// belongs to the table with another meaning is moved clear of it; the rest are themselves.
TEST(ReportedErrorCodeTest, MapsByMeaningAndNeverMisleads) {
  const std::vector<std::pair<int, int>> cases = {
      {ENOENT, 2},     {EMFILE, 4},      {ENFILE, 4},
      {EACCES, 5},     {EPERM, 5},       {ENOSPC, 101},
      {EDQUOT, 101},   {EIO, 1005},      {ESRCH, 1003},
      {EINTR, 1004},   {ENETDOWN, 1100}, {ENETUNREACH, 1101},
      {EISCONN, 1106}, {EPIPE, 32},      {EBADF, 9},
      {EISDIR, 21},    {EAGAIN, EAGAIN}, {ECONNRESET, ECONNRESET}};
  for (const auto& [error_number, code] : cases) {
    EXPECT_EQ(ReportedErrorCode(error_number), code) << "errno " << error_number;
  }
}

}  // namespace
