#include <gtest/gtest.h>

#include "rename/Matcher.h"

namespace {

struct MatchCase { const char *Name, *Search, *Replace, *Expected; };

// Every row runs with "<zaehler>" holding 7 in the items.
void ExpectMatches(std::initializer_list<MatchCase> Cases) {
  for (const MatchCase& C : Cases) {
    SCOPED_TRACE(std::string(C.Name) + " | " + C.Search + " | " + C.Replace);
    TItemList Items;
    Items.Add("<zaehler>", "7");
    EXPECT_EQ(MatchReplace(C.Name, C.Search, C.Replace, Items), C.Expected);
  }
}

}  // namespace

TEST(MatchReplace, ReplacesEveryMatchByTheWildcardRules) {
  ExpectMatches({
      {"abcabc", "b", "X", "aXcaXc"},               {"ABC", "b", "X", "ABC"},
      {"aaa", "aa", "b", "ba"},                     {"aaab", "aab", "X", "aX"},
      {"axbxb", "a*b", "X", "Xxb"},                 {"abcabc", "a*c", "X", "XX"},
      {"a-b-c", "-*", "X", "aX"},                   {"a.b.c", "*.", "X", "XXc"},
      {"abxy", "x*", "Y", "abY"},                   {"abx", "x*", "Y", "abx"},
      {"xab", "?b", "Y", "xY"},                     {"file1.txt", "file?", "doc", "doc.txt"},
      {"abxcayxc", "ab*c", "Z", "Zayxc"},           {"xyzb", "?<?>b", "[<1>]", "x[z]"},
      {"aXbXc", "<?>X", "[<1>]", "[a][b]c"},        {"axyzc", "a*<?\?>c", "[<1>]", "[yz]"},
      {"Holiday 2005.jpg", "<*> <*>.jpg", "<2>-<1>.jpg", "2005-Holiday.jpg"},
      {"2005-12-24.jpg", "<???\?>-<?\?>-<?\?>", "<3>.<2>.<1>", "24.12.2005.jpg"},
      {"song - artist.mp3", "\"<*> - <*>.mp3\"", "<2> - <1>.mp3", "artist - song.mp3"},
      {"abc", "\"<*>\"", "[<1>]", "[abc]"},         {"abcdef", "\"abc", "X", "Xdef"},
      {"xabcdef", "\"abc", "X", "xabcdef"},         {"abcabc", "c\"", "X", "abcabX"},
      {"aabc", "\"abc\"", "X", "aabc"},             {"abc", "\"", "X", "XabcX"},
      {"xab", "x*<*>", "[<1>]", "[xab]"},           {"xabcd", "<abc>", "[<1>]", "x[abc]d"},
      {"xabc", "<abc>", "[<1>]", "xabc"},           {"photo.jpg", "\"*.jpg\"", "img-<zaehler>.jpg", "img-7.jpg"},
      // Fields the search text does not fill, and unfinished fields, give nothing.
      {"abc", "<b>", "<1><4><nope>", "abc"},        {"abc", "b", "[<1", "a[c"},
      {"abc", "b", "x>y<z>", "axyc"},
  });
}

TEST(MatchReplace, FollowsTheCarefulReadingsOfTheStateMachine) {
  ExpectMatches({
      // The star state is saved at the star itself; saved behind it, these never end.
      {"aa.abc", "*.b", "X", "aa.abc"},             {"xaybzc", "a*b*c", "[X]", "x[X]"},
      {"aaaaaaaaab", "*a*ab", "X", "X"},
      // InRun decides the end: a "?" behind the last star ends outside a run.
      {"xabcd", "a*?", "X", "xX"},                  {"xabcd", "a*<?>", "[<1>]", "x[xabcd]"},
      // A start still pending counts as position 1 of the working name.
      {"yxab", "x*<*>", "[<1>]", "y[yxab]"},
  });
}

// A double quote is an ordinary character of a Linux name; only the mark
// around the name answers an anchor. Names count code points and keep bytes.
TEST(MatchReplace, KeepsQuotesAndBytesOfLinuxNames) {
  ExpectMatches({
      {"\"quoted\".txt", "\"<*>.txt\"", "[<1>]", "[\"quoted\"]"}, {"\"quoted\".txt", "\"q", "X", "\"quoted\".txt"},
      {"\"quoted\".txt", "t\"", "X", "\"quoted\".txX"}, {"a\"b", "\"", "X", "Xa\"bX"},
      {"ab", "\"<*>\"", "\"<1>\"", "\"ab\""},
      // A bracket running to the end stops before the mark behind the name.
      {"abc", "<*\"", "[<1>]", "[abc]"},            {"abc", "<?>*\"", "[<1>]", "[a]"},
      {"Grüße.txt", "Gr??e", "X", "X.txt"},         {"Grüße.txt", "Gr<?\?>e", "[<1>]", "[üß].txt"},
      {"😀 smile.png", "? <*>.png", "<1>", "smile"}, {"a\xff" "b.txt", "a?b", "X", "X.txt"},
      {"a\xff" "b.txt", "<*>.txt", "<1>-x", "a\xff" "b-x"}, {"\xc3\x28.txt", "?(", "X", "X.txt"},
      {"back\\slash:colon", "\\*:", "_", "back_colon"},
  });
}
