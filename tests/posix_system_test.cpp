// SPDX-License-Identifier: MIT
#include "console/posix_system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <set>

namespace {

// Over every errno and more: one with a message of the same meaning gets that message's
// code; any other stays itself unless its number is a code that means something else in a
// report, and then it is moved clear, to 1000 + errno. No two errnos share a code.
TEST(ReportedErrorCodeTest, NoErrnoReadsAsAnotherMeaning) {
  const std::map<int, int> same_meaning = {{ENOENT, 2}, {EMFILE, 4},   {ENFILE, 4},  {EACCES, 5},
                                           {EPERM, 5},  {ENOSPC, 101}, {EDQUOT, 101}};
  const std::set<int> codes_of_their_own = {2, 3, 4, 5, 100, 101, 104, 105, 106};
  std::set<int> codes;
  for (int error_number = 1; error_number < 256; ++error_number) {
    const int code = ReportedErrorCode(error_number);
    if (const auto meaning = same_meaning.find(error_number); meaning != same_meaning.end()) {
      EXPECT_EQ(code, meaning->second) << "errno " << error_number;
      continue;
    }
    EXPECT_EQ(codes_of_their_own.count(code), 0u) << "errno " << error_number;
    EXPECT_EQ(code, codes_of_their_own.count(error_number) ? 1000 + error_number : error_number)
        << "errno " << error_number;
    EXPECT_TRUE(codes.insert(code).second) << "errno " << error_number;
  }
}

}  // namespace
