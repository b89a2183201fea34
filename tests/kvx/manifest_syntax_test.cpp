#include "tools/kvx/manifest_syntax.h"

#include <gtest/gtest.h>

namespace kvt::kvx {
namespace {

TEST(ManifestStringTest, EveryByteRoundTripsTheAwkwardOnesAreEscapedAndMalformedStringsAreRefused) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string quoted = QuoteManifestString(all);
    for (const char c : quoted.substr(1, quoted.size() - 2)) {
        const auto u = static_cast<unsigned char>(c);
        EXPECT_TRUE(u >= 0x20 && u < 0x7F) << "unescaped byte " << static_cast<int>(u);
    }
    std::string back, error;
    ASSERT_TRUE(UnquoteManifestString(quoted, back, error)) << error;
    EXPECT_EQ(back, all);
    // The awkward characters are escaped; hex may be read in either case.
    for (const auto& [text, quoted] : {std::pair<std::string, std::string>{"a\"b\\c", R"("a\"b\\c")"},
                                       {"\n\r\t", R"("\n\r\t")"},
                                       {std::string("\0\x7F\xE9", 3), R"("\x00\x7F\xE9")"},
                                       {"plain #text = [1]", "\"plain #text = [1]\""}})
        EXPECT_EQ(QuoteManifestString(text), quoted);
    ASSERT_TRUE(UnquoteManifestString(R"("\xe9\xAb")", back, error)) << error;
    EXPECT_EQ(back, "\xE9\xAB");
    // Malformed strings are refused with a reason.
    for (const char* bad : {R"(abc)", R"("abc)", R"("a\qb")", R"("a\x4")", R"("a\xZZ")", R"("a\")",
                            "\"tab\there\"", "\"caf\xC3\xA9\"", R"("a"b")"}) {
        error.clear();
        EXPECT_TRUE(!UnquoteManifestString(bad, back, error) && !error.empty()) << bad;
    }
}

TEST(ManifestIntegerTest, TakesOnlyDecimalWholeNumbersWithinRange) {
    std::int64_t v = 0;
    std::string error;
    ASSERT_TRUE(ParseManifestInteger("-32768", -32768, 32767, v, error) && v == -32768);
    ASSERT_TRUE(ParseManifestInteger("007", 0, 10, v, error) && v == 7);
    for (const char* bad : {"", "-", "+1", "1.5", "0x10", "12a", " 1", "1e3", "--1"})
        EXPECT_FALSE(ParseManifestInteger(bad, -100, 100, v, error)) << '"' << bad << '"';
    for (const char* big : {"32768", "99999999999999999999999"})
        EXPECT_TRUE(!ParseManifestInteger(big, -32768, 32767, v, error) && error.find("out of range") != std::string::npos) << error;
}

TEST(ManifestLinesTest, DropsCommentsAndBlankLinesKeepsLineNumbersAndReportsTheFaultyLine) {
    std::vector<ManifestLine> lines;
    const Status s = SplitManifestLines(
        "# comment\n\n  title = \"a # b\"   # trailing\r\n[card 3]  # note\n  copies=2\n", lines);
    ASSERT_TRUE(s) << s.message();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(std::tuple(lines[0].number, lines[0].key, lines[0].value), std::tuple(3, "title", "\"a # b\""));
    EXPECT_EQ(std::tuple(lines[1].number, lines[1].is_section, lines[1].section), std::tuple(4, true, "card 3"));
    EXPECT_EQ(std::tuple(lines[2].key, lines[2].value), std::tuple("copies", "2"));
    for (const char* bad : {"a = 1\njust words\n", "a = 1\ntitle = \"open\n", "a = 1\n = 3\n",
                            "a = 1\nkey =\n", "a = 1\n[card 1\n", "a = 1\nt = \"x\" y\n"}) {
        const Status s = SplitManifestLines(bad, lines);
        ASSERT_FALSE(s) << bad;
        EXPECT_EQ(s.message().rfind("line 2: ", 0), 0u) << s.message();
    }
}

}  // namespace
}  // namespace kvt::kvx
