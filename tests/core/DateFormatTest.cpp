#include "TestEnvironment.h"
#include "core/DateFormat.h"

#include <gtest/gtest.h>

#include <unicode/simpletz.h>

using core::Date;
using core::DateFormat;
using core::Locale;
using core::TimeZone;
using namespace Qt::Literals::StringLiterals;

namespace {

const Date kAfternoon = Date::fromQDateTime(QDateTime(QDate(2025, 10, 14), QTime(13, 5), Qt::UTC));

TimeZone zone(const char* id) { return *TimeZone::withIdentifier(QString::fromLatin1(id)); }

TEST(DateFormat, HourTemplateFollowsTheLocalesClock) {
    const TimeZone utc = TimeZone::utc();
    // ICU puts a narrow no-break space before AM/PM.
    EXPECT_EQ(DateFormat::fromTemplate(u"jmm"_s, Locale(u"en_US"_s), utc).format(kAfternoon), u"1:05\u202FPM"_s);
    EXPECT_EQ(DateFormat::fromTemplate(u"jmm"_s, Locale(u"en_GB"_s), utc).format(kAfternoon), u"13:05"_s);
    EXPECT_EQ(DateFormat::fromTemplate(u"jmm"_s, Locale(u"de_DE"_s), utc).format(kAfternoon), u"13:05"_s);
}

TEST(DateFormat, DayTemplateUsesTheLocalesOrderAndPunctuation) {
    const TimeZone utc = TimeZone::utc();
    EXPECT_EQ(DateFormat::fromTemplate(u"EEEdMMM"_s, Locale(u"en_US"_s), utc).format(kAfternoon), u"Tue, Oct 14"_s);
    EXPECT_EQ(DateFormat::fromTemplate(u"EEEdMMM"_s, Locale(u"en_GB"_s), utc).format(kAfternoon), u"Tue, 14 Oct"_s);
    EXPECT_EQ(DateFormat::fromTemplate(u"EEEdMMM"_s, Locale(u"de_DE"_s), utc).format(kAfternoon), u"Di., 14. Okt."_s);
    EXPECT_EQ(DateFormat::fromTemplate(u"Md"_s, Locale(u"en_US"_s), utc).format(kAfternoon), u"10/14"_s);
    // A Thai locale still formats the Gregorian year.
    EXPECT_TRUE(DateFormat::fromTemplate(u"yMMMd"_s, Locale(u"th_TH"_s), utc).format(kAfternoon).contains(u"2025"_s));
}

TEST(DateFormat, OneFormatterGivesEachDateItsOwnOffsetAndCopiesFormatAlike) {
    const auto clock = DateFormat::fromPattern(u"d MMM HH:mm"_s, Locale(u"en_GB"_s), zone("Europe/Berlin"));
    ASSERT_TRUE(clock);
    const Date winter = Date::fromQDateTime(QDateTime(QDate(2026, 1, 15), QTime(9, 0), Qt::UTC));
    const Date summer = Date::fromQDateTime(QDateTime(QDate(2026, 7, 15), QTime(9, 0), Qt::UTC));
    EXPECT_EQ(clock->format(winter), u"15 Jan 10:00"_s);
    EXPECT_EQ(clock->format(summer), u"15 Jul 11:00"_s);
    EXPECT_EQ(clock->format(winter), u"15 Jan 10:00"_s);
    DateFormat copy = *clock;
    EXPECT_EQ(copy.format(summer), u"15 Jul 11:00"_s);
    copy = DateFormat::fromTemplate(u"jmm"_s, Locale(u"en_GB"_s), TimeZone::utc());
    EXPECT_EQ(copy.format(summer), u"09:00"_s);
}

TEST(DateFormat, FixedPatternsAndInvalidPatterns) {
    const auto fixed = DateFormat::fromPattern(u"EEE d MMM"_s, Locale(u"en_US"_s), zone("Pacific/Auckland"));
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->format(kAfternoon), u"Wed 15 Oct"_s);  // already tomorrow in Auckland
    EXPECT_EQ(fixed->pattern(), u"EEE d MMM"_s);

    EXPECT_FALSE(DateFormat::fromPattern(u"EEE 'unterminated"_s));
    EXPECT_FALSE(DateFormat::isValidPattern(u"yyyy-jj-dd"_s));
    EXPECT_FALSE(DateFormat::isValidPattern(u"EEE 'unterminated"_s));
    EXPECT_TRUE(DateFormat::isValidPattern(u"yyyy-MM-dd"_s));
}

TEST(DateFormat, StylesAndStrictParsing) {
    const DateFormat shortTime =
        DateFormat::fromStyles(DateFormat::Style::None, DateFormat::Style::Short, Locale(u"en_US"_s), TimeZone::utc());
    EXPECT_EQ(shortTime.format(kAfternoon), u"1:05\u202FPM"_s);

    const auto iso = DateFormat::fromPattern(u"yyyy-MM-dd HH:mm"_s, Locale(u"en_US_POSIX"_s), TimeZone::utc());
    ASSERT_TRUE(iso);
    EXPECT_EQ(iso->parse(u"2025-10-14 13:05"_s), kAfternoon);
    EXPECT_FALSE(iso->parse(u"2025-10-14 13:05 trailing"_s));
    EXPECT_FALSE(iso->parse(u"2025-13-45 13:05"_s));
    // A date no calendar holds formats as nothing rather than as a made-up year.
    EXPECT_EQ(iso->format(Date(-1e300)), QString());
}

TEST(DateFormat, CachedTemplatesAreKeyedByZoneAndLocale) {
    testsupport::ScopedLocale locale("en_GB.UTF-8");
    const QString berlin = DateFormat::formatTemplate(kAfternoon, u"jmm"_s, zone("Europe/Berlin"));
    const QString tokyo = DateFormat::formatTemplate(kAfternoon, u"jmm"_s, zone("Asia/Tokyo"));
    EXPECT_EQ(berlin, u"15:05"_s);
    EXPECT_EQ(tokyo, u"22:05"_s);
    // Styles share the cache without taking a template's entry.
    EXPECT_EQ(DateFormat::formatStyles(kAfternoon, DateFormat::Style::None, DateFormat::Style::Short,
                                       zone("Europe/Berlin")),
              u"15:05"_s);
    {
        testsupport::ScopedLocale us("en_US");
        EXPECT_EQ(DateFormat::formatTemplate(kAfternoon, u"jmm"_s, zone("Europe/Berlin")), u"3:05\u202FPM"_s);
        EXPECT_EQ(DateFormat::formatStyles(kAfternoon, DateFormat::Style::None, DateFormat::Style::Short,
                                           zone("Asia/Tokyo")),
                  u"10:05\u202FPM"_s);
    }
}

TEST(DateFormat, CachedTemplatesTellApartZonesThatShareAnId) {
    // Calendar files may define different zones under one name ("Customized Time Zone").
    auto custom = [](int hours) {
        return TimeZone::fromIcu(std::make_shared<icu::SimpleTimeZone>(hours * 3600000, u"Customized Time Zone"));
    };
    testsupport::ScopedLocale locale("en_GB.UTF-8");
    EXPECT_EQ(DateFormat::formatTemplate(kAfternoon, u"jmm"_s, custom(1)), u"14:05"_s);
    EXPECT_EQ(DateFormat::formatTemplate(kAfternoon, u"jmm"_s, custom(5)), u"18:05"_s);
}

TEST(Locale, ResolvesLcAllThenLcTimeThenLang) {
    EXPECT_EQ(Locale::fromPosix(u"de_DE.UTF-8@euro"_s), u"de_DE"_s);
    EXPECT_EQ(Locale::fromPosix(u"C"_s), u"en_US_POSIX"_s);
    EXPECT_EQ(Locale::fromPosix(u"POSIX"_s), u"en_US_POSIX"_s);
    EXPECT_EQ(Locale::fromPosix(u"C.UTF-8"_s), u"en_US_POSIX"_s);

    const QByteArray all = qgetenv("LC_ALL");
    const QByteArray lang = qgetenv("LANG");
    qputenv("LC_ALL", "");
    qputenv("LC_TIME", "de_DE.UTF-8");
    qputenv("LANG", "en_US.UTF-8");
    Locale::resetCurrent();
    EXPECT_EQ(Locale::current().name(), u"de_DE"_s);  // an empty LC_ALL is skipped
    qunsetenv("LC_TIME");
    Locale::resetCurrent();
    EXPECT_EQ(Locale::current().name(), u"en_US"_s);
    qputenv("LC_ALL", all);
    qputenv("LANG", lang);
    Locale::resetCurrent();
}

}  // namespace
