#include "core/CharacterClass.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
namespace chars = core::chars;

namespace {

TEST(CharacterClass, ClassesGoByUnicodePropertyAcrossScripts) {
    EXPECT_TRUE(chars::isLetter(U'é'));
    EXPECT_TRUE(chars::isLetter(U'ж'));
    EXPECT_TRUE(chars::isLetter(U'𝐀'));  // outside the basic plane
    EXPECT_FALSE(chars::isLetter(U'7'));
    EXPECT_TRUE(chars::isNumber(U'٣'));
    EXPECT_TRUE(chars::isNumber(U'½'));
    EXPECT_FALSE(chars::isNumber(U'x'));
    EXPECT_TRUE(chars::isWhitespace(U'\n'));
    EXPECT_FALSE(chars::isBlank(U'\n'));
    EXPECT_TRUE(chars::isBlank(U'\t'));
    EXPECT_TRUE(chars::isBlank(U'\u00a0'));
    EXPECT_TRUE(chars::isUppercase(U'É'));
    EXPECT_TRUE(chars::isLowercase(U'ß'));
}

TEST(CharacterClass, TextHelpersKeepSurrogatePairsWhole) {
    EXPECT_TRUE(chars::containsLetter(u"12 𝐀"_s));
    EXPECT_FALSE(chars::containsLetter(u"12:30 👋"_s));
    EXPECT_TRUE(chars::containsNumber(u"Studio ٥٤"_s));
    EXPECT_EQ(chars::letters(u"a1 𝐀-b"_s), u"a𝐀b"_s);
    EXPECT_EQ(chars::trimmedBlanks(u"\u00a0\t Gate B22 \u2003"_s), u"Gate B22"_s);
    EXPECT_EQ(chars::trimmedBlanks(u"\nB22\n"_s), u"\nB22\n"_s);
    EXPECT_EQ(chars::trimmedOf(u"::GATE:"_s, u":"), u"GATE"_s);
    EXPECT_EQ(chars::trimmedOf(u":::"_s, u":"), QString());
    EXPECT_EQ(chars::splitAtWhitespace(u"  BA117\t 22\n14A "_s), (QStringList{u"BA117"_s, u"22"_s, u"14A"_s}));
    EXPECT_EQ(chars::capitalizedFirst(u"ßtraße"_s), u"SStraße"_s);
    EXPECT_EQ(chars::capitalizedFirst(QString()), QString());
    EXPECT_EQ(chars::characterCount(u"e\u0301👋a"_s), 3);
    EXPECT_EQ(chars::firstCodePoint(u"𝐀b"_s), U'𝐀');
    EXPECT_EQ(chars::asciiNumber(u"0042"_s), 42);
    // Digits of other scripts, signs and numbers too long to fit read as nothing.
    EXPECT_EQ(chars::asciiNumber(u"٤٢"_s), std::nullopt);
    EXPECT_EQ(chars::asciiNumber(u"-4"_s), std::nullopt);
    EXPECT_EQ(chars::asciiNumber(u"9999999999"_s), std::nullopt);
}

}  // namespace
