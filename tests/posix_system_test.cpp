// SPDX-License-Identifier: MIT
#include "platform/posix_system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <set>
#include <string_view>

namespace wordhash {

namespace {

// Errnos of the same meaning as a code get that code; EIO and ECONNRESET, whose numbers are
// codes of other meanings (5, Access denied; 104, input not attached), are moved clear; any
// other stays itself. No two errnos share a code, and none lands on a code of its own.
TEST(ReportedErrorCodeTest, NoErrnoReadsAsAnOwnCode) {
  const std::map<int, int> expected = {
      {ENOENT, 2},   {EMFILE, 4}, {ENFILE, 4},        {EACCES, 5},     {EPERM, 5},  {ENOSPC, 101},
      {EDQUOT, 101}, {EIO, 1005}, {ECONNRESET, 1104}, {ENOBUFS, 1105}, {EPIPE, 32}, {EISDIR, 21}};
  for (const auto& [error_number, code] : expected) {
    EXPECT_EQ(ReportedErrorCode(error_number), code) << "errno " << error_number;
  }
  const std::set<int> codes_of_their_own = {2, 3, 4, 5, 100, 101, 104, 105, 106};
  std::set<int> codes;
  for (int error_number = 1; error_number < 256; ++error_number) {
    const int code = ReportedErrorCode(error_number);
    if (code == 2 || code == 4 || code == 5 || code == 101) {
      continue;  // the same meaning, checked above
    }
    EXPECT_EQ(codes_of_their_own.count(code), 0u) << "errno " << error_number;
    EXPECT_TRUE(codes.insert(code).second) << "errno " << error_number;
  }
}

TEST(WithoutDeletedMarkTest, DropsOnlyTheTrailingMark) {
  const std::map<std::string_view, std::string_view> expected = {
      {"/tmp/wordhash (deleted)", "/tmp/wordhash"},
      {"/tmp/wordhash", "/tmp/wordhash"},
      {"/tmp (deleted)/wordhash", "/tmp (deleted)/wordhash"},
      {"/tmp/wordhash (deleted) (deleted)", "/tmp/wordhash (deleted)"}};
  for (const auto& [path, without_mark] : expected) {
    EXPECT_EQ(WithoutDeletedMark(path), without_mark);
  }
}

}  // namespace

}  // namespace wordhash
