// SPDX-License-Identifier: MIT
#include "table/hash_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console_io.h"
#include "dialogue_test.h"
#include "fake_system.h"
#include "test_words.h"

namespace wordhash {

namespace {

// A word whose home slot is `home`; different variants are different words with that home.
std::string WordAt(int home, int variant = 0) {
  std::string word(static_cast<std::size_t>(variant) + 1, '`');
  word[0] = static_cast<char>(96 + home);
  return word;
}

// Table operations write to the console; this collects what they wrote.
class TableTest : public testing::Test {
 protected:
  std::string Written() {
    console_.FlushOutput();
    std::string all = system_.Output();
    system_.log.clear();
    return all;
  }

  // Stores the words in their slots; returns the table as it then is.
  HashTable Filled(const std::vector<std::pair<int, std::string>>& words) {
    for (const auto& [slot, word] : words) {
      table_[static_cast<std::size_t>(slot)] = Word(word);
    }
    return table_;
  }

  FakeSystem system_;
  ConsoleIO console_{system_};
  HashTable table_{};
};

TEST(HashWordTest, SumsUnsignedBytesModulo12) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"", 0}, {"a", 1}, {"ab", 3}, {"ba", 3}, {"Hello, World", 1096 % 12}};
  for (const auto& [word, home] : cases) {
    EXPECT_EQ(HashWord(word), home) << word;
  }
}

TEST(HashWordTest, EveryHighByteCountsWithItsUnsignedValue) {
  std::string all_high;
  for (int byte = 128; byte <= 255; ++byte) {
    EXPECT_EQ(HashWord(std::string(1, static_cast<char>(byte))), byte % 12);
    all_high.push_back(static_cast<char>(byte));
  }
  EXPECT_EQ(HashWord(all_high), (128 + 255) * 128 / 2 % 12);
}

TEST(HashWordTest, ExactWhereA32BitSumWouldOverflow) {
  const std::size_t size = 17'000'011;  // 255 * size > UINT32_MAX
  EXPECT_EQ(HashWord(std::string(size, '\xff')), static_cast<int>(size % 12 * 255 % 12));
}

TEST_F(TableTest, ClearedTableListsOnlyBareLines) {
  for (Word& slot : table_) {
    slot = Word("stale");
  }
  ClearTable(table_, TableSize - 1);
  PrintTable(console_, table_, TableSize - 1);
  EXPECT_EQ(Written(), Listing());
}

TEST_F(TableTest, ListingShowsWordsExactlyAsStored) {
  table_[1] = Word(" a b ");
  table_[11] = Word("\xff\x01");
  PrintTable(console_, table_, 2);
  EXPECT_EQ(Written(), "0: \r\n1:  a b \r\n2: \r\n");
  PrintTable(console_, table_, 11);
  EXPECT_NE(Written().find("\r\n11: \xff\x01\r\n"), std::string::npos);
}

struct AddCase {
  const char* name;
  std::vector<std::pair<int, std::string>> filled;  // slot, word
  std::string word;
  std::string written;
  bool home_line;  // AddWord's result: the command writes the home slot (a word already at
                   // home gets it too), not "Nelza dobavit v hash table"
  int slot;        // where the word ends up; -1 when not stored anew
};

class AddWordTest : public TableTest, public testing::WithParamInterface<AddCase> {};

TEST_P(AddWordTest, CountsAndPlaces) {
  const AddCase& test = GetParam();
  const HashTable before = Filled(test.filled);
  EXPECT_EQ(AddWord(console_, table_, Hashed(test.word)), test.home_line);
  EXPECT_EQ(Written(), test.written);
  HashTable expected = before;
  if (test.slot >= 0) {
    expected[static_cast<std::size_t>(test.slot)] = Word(test.word);
  }
  EXPECT_EQ(table_, expected);
}

std::vector<std::pair<int, std::string>> FullTableExcept(int free_slot) {
  std::vector<std::pair<int, std::string>> filled;
  for (int slot = 0; slot < TableSize; ++slot) {
    if (slot != free_slot) {
      filled.emplace_back(slot, WordAt(slot, 1));
    }
  }
  return filled;
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, AddWordTest,
    testing::Values(
        AddCase{"FreeHome", {}, "a", "Comparies: 1\r\n", true, 1},
        AddCase{"AlreadyAtHome",
                {{1, "a"}},
                "a",
                "Kluch uge dobavlalsa!!.\r\nComparies: 1\r\n",
                true,
                -1},
        AddCase{"OneStepOn", {{3, "ab"}}, "ba", "Comparies: 2\r\n", true, 4},
        AddCase{"ThreeStepsOn",
                {{3, "ab"}, {4, "ba"}, {5, "x"}},
                WordAt(3, 1),
                "Comparies: 4\r\n",
                true,
                6},
        AddCase{
            "PastSlot11ToSlot0", {{11, WordAt(11)}}, WordAt(11, 1), "Comparies: 2\r\n", true, 0},
        AddCase{"PastSlot11ToSlot2",
                {{10, "p"}, {11, "q"}, {0, "r"}, {1, "s"}},
                WordAt(10, 1),
                "Comparies: 5\r\n",
                true,
                2},
        AddCase{
            "CopyPastHomeIsStoredAgain", {{3, "ab"}, {4, "ba"}}, "ba", "Comparies: 3\r\n", true, 5},
        AddCase{"OnlySlotLeftIsJustBeforeHome", FullTableExcept(4), WordAt(5, 2),
                "Comparies: 12\r\n", true, 4},
        AddCase{"FullTableStoresNothing", FullTableExcept(-1), WordAt(5, 2), "Comparies: 12\r\n",
                false, -1},
        AddCase{"FullTableWordAtHome", FullTableExcept(-1), WordAt(5, 1),
                "Kluch uge dobavlalsa!!.\r\nComparies: 1\r\n", true, -1}),
    [](const testing::TestParamInfo<AddCase>& param) { return param.param.name; });

struct FindCase {
  const char* name;
  std::vector<std::pair<int, std::string>> filled;
  std::string word;
  std::string written;
};

class FindWordTest : public TableTest, public testing::WithParamInterface<FindCase> {};

TEST_P(FindWordTest, ReportsAndCounts) {
  const FindCase& test = GetParam();
  const HashTable before = Filled(test.filled);
  FindWord(console_, table_, MatchWord(table_, test.word));
  EXPECT_EQ(Written(), test.written);
  EXPECT_EQ(table_, before);
}

std::vector<std::pair<int, std::string>> WithSlot(std::vector<std::pair<int, std::string>> filled,
                                                  int slot, const std::string& word) {
  for (auto& entry : filled) {
    if (entry.first == slot) {
      entry.second = word;
    }
  }
  return filled;
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, FindWordTest,
    testing::Values(
        FindCase{"EmptyTable", {}, "a", "Hash is empty\r\n"},
        FindCase{"EmptyTableEmptyWord", {}, "", "Hash is empty\r\n"},
        FindCase{"HomeFree", {{5, "x"}}, "a", "Nenaideno eto slovo!\r\nComparies: 1\r\n"},
        FindCase{"AtHome",
                 {{1, "a"}},
                 "a",
                 "Eto slovo naideni i nahodatsa po\r\nIndex is: 1\r\nComparies: 1\r\n"},
        FindCase{"OneStepOn",
                 {{3, "ab"}, {4, "ba"}},
                 "ba",
                 "Eto slovo naideno\r\nIndex is: 4\r\nComparies: 3\r\n"},
        // '<' and 'H' (60 and 72): as long and as much at home, but another word.
        FindCase{"OtherWordAtHomeIsCompared",
                 {{0, "<"}},
                 "H",
                 "Nenaideno eto slovo!\r\nComparies: 2\r\n"},
        FindCase{"AbsentFirstProbeFreeAfterOne",
                 {{3, "ab"}},
                 "ba",
                 "Nenaideno eto slovo!\r\nComparies: 2\r\n"},
        FindCase{"AbsentSecondProbeFree",
                 {{3, "ab"}, {4, "ba"}},
                 WordAt(3, 1),
                 "Nenaideno eto slovo!\r\nComparies: 4\r\n"},
        FindCase{"WrapsPastSlot11",
                 {{11, WordAt(11)}, {0, WordAt(11, 1)}},
                 WordAt(11, 1),
                 "Eto slovo naideno\r\nIndex is: 0\r\nComparies: 3\r\n"},
        FindCase{"FirstOfTwoEqualWords",
                 {{3, "ab"}, {4, "ba"}, {5, "ba"}},
                 "ba",
                 "Eto slovo naideno\r\nIndex is: 4\r\nComparies: 3\r\n"},
        FindCase{"EmptyWordStartsAtSlot0",
                 {{0, "x"}, {1, "y"}},
                 "",
                 "Nenaideno eto slovo!\r\nComparies: 4\r\n"},
        FindCase{"FullTableFoundOnLastProbe", WithSlot(FullTableExcept(-1), 4, WordAt(5, 3)),
                 WordAt(5, 3), "Eto slovo naideno\r\nIndex is: 4\r\nComparies: 23\r\n"},
        FindCase{"FullTableWithoutTheWord", FullTableExcept(-1), WordAt(5, 3),
                 "Nenaideno eto slovo!\r\nComparies: 23\r\n"}),
    [](const testing::TestParamInfo<FindCase>& param) { return param.param.name; });

}  // namespace

}  // namespace wordhash
