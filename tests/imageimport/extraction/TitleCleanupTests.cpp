#include "imageimport/extraction/TitleCleanup.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using imageimport::TitleCleanup;
using imageimport::Trigger;

namespace {

TEST(Trigger, TheFirstDeadlinePhraseOrOneOnThePreferredLine) {
    EXPECT_EQ(TitleCleanup::findTrigger({u"Payment due by 14 March"_s}, std::nullopt), (Trigger{u"Payment due"_s, 0}));

    const QStringList lines{u"Renewal"_s, u"Your TV licence"_s, u"Fee £169.50"_s, u"Expires on 1 May"_s};
    EXPECT_EQ(TitleCleanup::findTrigger(lines, 3), (Trigger{u"Expires on"_s, 3}));
    EXPECT_EQ(TitleCleanup::findTrigger(lines, 2), (Trigger{u"Renewal"_s, 0}));
    EXPECT_EQ(TitleCleanup::findTrigger(lines, std::nullopt), (Trigger{u"Renewal"_s, 0}));

    EXPECT_EQ(TitleCleanup::findTrigger({u"deadlines"_s}, std::nullopt), std::nullopt);
    EXPECT_EQ(TitleCleanup::findTrigger({u"Due date: Friday"_s}, std::nullopt), (Trigger{u"Due date"_s, 0}));
    EXPECT_EQ(TitleCleanup::findTrigger({}, 0), std::nullopt);
}

TEST(LabelledTitle, AWholeLineOfLabelColonAndTitle) {
    EXPECT_EQ(TitleCleanup::labelledTitle({u"Hello"_s, u"Subject: Team offsite"_s}), u"Team offsite"_s);
    EXPECT_EQ(TitleCleanup::labelledTitle({u"Re: Invoice 4471"_s}), u"Invoice 4471"_s);
    EXPECT_EQ(TitleCleanup::labelledTitle({u"Subject:X"_s}), std::nullopt);
    EXPECT_EQ(TitleCleanup::labelledTitle({u"Subject: X"_s}), u"X"_s);
    EXPECT_EQ(TitleCleanup::labelledTitle({u"Our subject: lunch"_s, u"TOPIC :  Budget  "_s}), u"Budget"_s);
    EXPECT_EQ(TitleCleanup::labelledTitle({u"Subject:  \t"_s}), std::nullopt);
}

TEST(TitleCase, OnlyTextInCapitalsIsCalmed) {
    EXPECT_EQ(TitleCleanup::titleCaseIfShouting(u"THE OLD VIC"_s), u"The Old Vic"_s);
    EXPECT_EQ(TitleCleanup::titleCaseIfShouting(u"NIGHT AT THE MUSEUM"_s), u"Night at the Museum"_s);
    EXPECT_EQ(TitleCleanup::titleCaseIfShouting(u"THE  END"_s), u"The End"_s);
    EXPECT_EQ(TitleCleanup::titleCaseIfShouting(u"CAFÉ DE FLORE"_s), u"Café de Flore"_s);
    EXPECT_EQ(TitleCleanup::titleCaseIfShouting(u"TATE"_s), u"Tate"_s);
    EXPECT_EQ(TitleCleanup::titleCaseIfShouting(u"BBC"_s), u"BBC"_s);
    EXPECT_EQ(TitleCleanup::titleCaseIfShouting(u"Jazz NIGHT"_s), u"Jazz NIGHT"_s);
    EXPECT_EQ(TitleCleanup::titleCaseIfShouting(u"12:30 - 14:00"_s), u"12:30 - 14:00"_s);
}

TEST(CleanResidual, LabelWordsAndPunctuationLeaveTheEdgesOnly) {
    EXPECT_EQ(TitleCleanup::cleanResidual(u"Venue: The Crown -"_s), u"Crown"_s);
    EXPECT_EQ(TitleCleanup::cleanResidual(u"doors open at"_s), QString());
    EXPECT_EQ(TitleCleanup::cleanResidual(u"from London to Paris"_s), u"London to Paris"_s);
    EXPECT_EQ(TitleCleanup::cleanResidual(u"  (Jazz Night) ·  "_s), u"(Jazz Night)"_s);
    // Brackets whose content was taken out (an address, a time) go with it.
    EXPECT_EQ(TitleCleanup::cleanResidual(u"Lena Morrow <                    >"_s), u"Lena Morrow"_s);
    EXPECT_EQ(TitleCleanup::cleanResidual(u"Team lunch (     ) [ ] at"_s), u"Team lunch"_s);
    EXPECT_EQ(TitleCleanup::cleanResidual(u"Quiz ( ) night <>"_s), u"Quiz night"_s);
    EXPECT_EQ(TitleCleanup::cleanResidual(u"Pay  water   bill by"_s), u"water bill"_s);
    EXPECT_EQ(TitleCleanup::cleanResidual(QString()), QString());
}

TEST(LowerFirst, AcronymsKeepTheirCapitals) {
    EXPECT_EQ(TitleCleanup::lowerFirstUnlessAcronym(u"Renew TV Licence"_s), u"renew TV licence"_s);
    EXPECT_EQ(TitleCleanup::lowerFirstUnlessAcronym(u"A Table"_s), u"a table"_s);
    EXPECT_EQ(TitleCleanup::lowerFirstUnlessAcronym(u"2024  MOT"_s), u"2024 MOT"_s);
}

TEST(AppointmentNoun, TheFirstNounOfTheListThatOccurs) {
    EXPECT_EQ(TitleCleanup::appointmentNoun(u"Your Consultation with Dr Lee"_s), u"consultation"_s);
    EXPECT_EQ(TitleCleanup::appointmentNoun(u"interviewing"_s), u"interview"_s);
    EXPECT_EQ(TitleCleanup::appointmentNoun(u"Two check-ups"_s), u"check-up"_s);
    EXPECT_EQ(TitleCleanup::appointmentNoun(u"Viewing after your appointment"_s), u"appointment"_s);
    EXPECT_EQ(TitleCleanup::appointmentNoun(QString()), std::nullopt);
}

TEST(Boilerplate, WordsThatCountAgainstATitle) {
    EXPECT_TRUE(TitleCleanup::boilerplate().matches(u"Your order confirmation"_s));
    EXPECT_TRUE(TitleCleanup::boilerplate().matches(u"Meeting ID: 123"_s));
    EXPECT_FALSE(TitleCleanup::boilerplate().matches(u"Summer Jazz Night"_s));
    EXPECT_FALSE(TitleCleanup::boilerplate().matches(u"Ordering pizza"_s));
}

}  // namespace
