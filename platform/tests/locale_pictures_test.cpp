// Date and time pictures in the English forms. The US short date and time are
// the event times of the simulated machine in scripts/tests/expected/office7.txt.
#include <gtest/gtest.h>

#include "platform/locale_pictures.h"

namespace kavlo::platform {
namespace {

TEST(LocalePictures, DateAndTimeFields) {
    LocalTime t;
    t.year = 2002, t.month = 5, t.day = 4, t.hour = 0, t.minute = 7, t.second = 9, t.dayOfWeek = 6;
    const struct {
        bool date;
        std::string_view picture, text;
    } cases[] = {
        {true, "dd.MM.yy", "04.05.02"},  {true, "dddd, MMMM d, yyyy", "Saturday, May 4, 2002"},
        {true, "ddd MMM", "Sat May"},    {true, "'day' d 'o''clock' h", "day 4 o'clock h"},  // "h" is no date field
        {true, "'open", "open"},         {false, kUsTimePicture, "12:07:09 AM"},
        {false, "HH:mm:ss", "00:07:09"}, {false, "H.m.s t", "0.7.9 A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.date ? FormatDatePicture(t, c.picture) : FormatTimePicture(t, c.picture), c.text) << c.picture;
    t.month = 40, t.dayOfWeek = -3;  // out of range: the nearest name, never outside the table
    EXPECT_EQ(FormatDatePicture(t, "dddd MMM"), "Sunday Dec");
}

}  // namespace
}  // namespace kavlo::platform
