#include <gtest/gtest.h>

#include <random>

#include "rename/Matcher.h"
#include "tests/rename/ReferenceMatcher.h"

namespace {

struct MatchCase {
  const char* Name;
  const char* Search;
  const char* Replace;
  const char* Expected;
};

void ExpectMatches(const std::vector<MatchCase>& Cases) {
  for (const MatchCase& C : Cases) {
    SCOPED_TRACE(std::string(C.Name) + " | " + C.Search + " | " + C.Replace);
    TItemList Items;
    EXPECT_EQ(MatchReplace(C.Name, C.Search, C.Replace, Items), C.Expected);
  }
}

}  // namespace

TEST(MatchReplace, ReplacesEveryMatchByTheWildcardRules) {
  ExpectMatches({
      {"abcabc", "b", "X", "aXcaXc"},
      {"ABC", "b", "X", "ABC"},
      {"aaa", "aa", "b", "ba"},
      {"aaab", "aab", "X", "aX"},
      {"My File.txt", " ", "_", "My_File.txt"},
      {"axbxb", "a*b", "X", "Xxb"},
      {"abcabc", "a*c", "X", "XX"},
      {"a-b-c", "-*", "X", "aX"},
      {"a.b.c", "*.", "X", "XXc"},
      {"abxy", "x*", "Y", "abY"},
      {"abx", "x*", "Y", "abx"},
      {"xab", "?b", "Y", "xY"},
      {"file1.txt", "file?", "doc", "doc.txt"},
      {"abxcayxc", "ab*c", "Z", "Zayxc"},
  });
}

TEST(MatchReplace, CapturesBracketsAsNumberedFields) {
  ExpectMatches({
      {"xyzb", "?<?>b", "[<1>]", "x[z]"},
      {"aXbXc", "<?>X", "[<1>]", "[a][b]c"},
      {"axyzc", "a*<?\?>c", "[<1>]", "[yz]"},
      {"Holiday 2005.jpg", "<*> <*>.jpg", "<2>-<1>.jpg", "2005-Holiday.jpg"},
      {"2005-12-24.jpg", "<???\?>-<?\?>-<?\?>", "<3>.<2>.<1>", "24.12.2005.jpg"},
      {"IMG_1234.JPG", "IMG_<*>.JPG", "Photo <1>.jpg", "Photo 1234.jpg"},
      {"xab", "x*<*>", "[<1>]", "[xab]"},
      {"xabcd", "<abc>", "[<1>]", "x[abc]d"},
      {"xabc", "<abc>", "[<1>]", "xabc"},
      // Fields the search text does not fill, and unfinished fields, give nothing.
      {"abc", "<b>", "<1><4><nope>", "abc"},
      {"abc", "b", "[<1", "a[c"},
      {"abc", "b", "x>y<z>", "axyc"},
  });
}

TEST(MatchReplace, AnchorsTieTheMatchToTheStartOrEndOfTheName) {
  ExpectMatches({
      {"song - artist.mp3", "\"<*> - <*>.mp3\"", "<2> - <1>.mp3", "artist - song.mp3"},
      {"abc", "\"<*>\"", "[<1>]", "[abc]"},
      {"abcdef", "\"abc", "X", "Xdef"},
      {"xabcdef", "\"abc", "X", "xabcdef"},
      {"abcabc", "c\"", "X", "abcabX"},
      {"aabc", "\"abc\"", "X", "aabc"},
      {"abc", "\"", "X", "XabcX"},
  });
}

TEST(MatchReplace, ExpandsCallerFieldsFromTheItemList) {
  TItemList Items;
  Items.Add("<zaehler>", "7");
  EXPECT_EQ(MatchReplace("photo.jpg", "\"*.jpg\"", "img-<zaehler>.jpg", Items), "img-7.jpg");
}

// The star state is saved at the star itself; saving it behind the star would
// never end on these inputs.
TEST(MatchReplace, RetriesTheTextBehindAStarOneCharacterFurtherOn) {
  ExpectMatches({
      {"aa.abc", "*.b", "X", "aa.abc"},
      {"aa.abc", "*.a", "X", "Xbc"},
      {"xaybzc", "a*b*c", "[X]", "x[X]"},
      {"aaaaaaaaab", "*a*ab", "X", "X"},
  });
}

TEST(MatchReplace, DecidesTheEndOfAMatchByWhetherARunIsActive) {
  // A "?" behind the last star ends outside a run: the match runs to the end.
  ExpectMatches({
      {"xabcd", "a*?", "X", "xX"},
      {"xabcd", "a*<?>", "[<1>]", "x[xabcd]"},
      // A start still pending counts as the first character of W.
      {"yxab", "x*<*>", "[<1>]", "y[yxab]"},
  });
}

TEST(MatchReplace, AddsTheBracketsOfTheLastMatchToTheItems) {
  TItemList Items;
  Items.Add("<1>", "old");
  EXPECT_EQ(MatchReplace("a1xb2x", "<?>x", "", Items), "ab");
  EXPECT_EQ(Items.Count(), 1u);
  EXPECT_EQ(Items.Find("<1>"), "2");
}

// A double quote is an ordinary character of a Linux name; only the mark put
// around the name answers an anchor.
TEST(MatchReplace, KeepsQuotesThatBelongToTheName) {
  ExpectMatches({
      {"\"quoted\".txt", "\"<*>.txt\"", "[<1>]", "[\"quoted\"]"},
      {"\"quoted\".txt", "\"q", "X", "\"quoted\".txt"},
      {"\"quoted\".txt", "t\"", "X", "\"quoted\".txX"},
      {"a\"b", "\"", "X", "Xa\"bX"},
      {"\"ab\"", "\"a", "X", "\"ab\""},
      {"ab", "\"<*>\"", "\"<1>\"", "\"ab\""},
      // A bracket running to the end of W stops before the mark behind the name.
      {"abc", "<*\"", "[<1>]", "[abc]"},
      {"abc", "<?>*\"", "[<1>]", "[a]"},
  });
}

TEST(MatchReplace, CountsCodePointsAndKeepsUndecodableBytes) {
  ExpectMatches({
      {"Grüße.txt", "Gr??e", "X", "X.txt"},
      {"Grüße.txt", "Gr<?\?>e", "[<1>]", "[üß].txt"},
      {"😀 smile.png", "? <*>.png", "<1>", "smile"},
      {"a\xff" "b.txt", "a?b", "X", "X.txt"},
      {"a\xff" "b.txt", "<*>.txt", "<1>-x", "a\xff" "b-x"},
      {"\xc3\x28.txt", "?(", "X", "X.txt"},
      {"back\\slash:colon", "\\*:", "_", "back_colon"},
  });
}

// The matcher skips work that cannot change the outcome (runs compared in one
// loop, repeated tries behind a star passed over, ASCII names as bytes); on
// random inputs it must agree with a plain step-by-step walk.
TEST(MatchReplace, AgreesWithAStepByStepWalkOnRandomInputs) {
  std::mt19937 Random(20261206);
  const std::vector<std::string> NameParts = {"a", "b", "a", "b", "-", " ", ".", "\"", "ü", "\xff", "😀"};
  const std::vector<std::string> SearchParts = {"a", "b", "a", "*", "*", "?", "?", "<", ">", "-", "\"", "ü", " "};
  const std::vector<std::string> Replacements = {"X", "[<1>]", "<2><1>", "<3>.<1>-<name>", "<1", "a>b<c"};
  const auto Pick = [&](const std::vector<std::string>& From, size_t Count) {
    std::string Text;
    for (size_t I = 0; I < Count; ++I) Text += From[Random() % From.size()];
    return Text;
  };
  for (int Round = 0; Round < 20000; ++Round) {
    const std::string Name = Pick(NameParts, Random() % 12);
    const std::string Search = Pick(SearchParts, 1 + Random() % 8);
    const std::string& Replace = Replacements[Random() % Replacements.size()];
    SCOPED_TRACE(Name + " | " + Search + " | " + Replace);
    TItemList Items;
    Items.Add("<name>", "N");
    const std::string Result = MatchReplace(Name, Search, Replace, Items);
    const reference::TResult Expected = reference::MatchReplace(Name, Search, Replace, {{"<name>", "N"}});
    ASSERT_EQ(Result, Expected.Name);
    for (const auto& [Key, Value] : Expected.Brackets) ASSERT_EQ(Items.Find(Key), Value) << Key;
    ASSERT_EQ(Items.Count(), 1 + Expected.Brackets.size());
  }
}
