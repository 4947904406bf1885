#include "job/JobSettings.h"

#include "JobTestSupport.h"

#include <climits>

TEST(HasForeignCharacters, OnlyBytesAbove126AreForeign)
{
    EXPECT_FALSE(HasForeignCharacters(""));
    EXPECT_FALSE(HasForeignCharacters("C:\\PROGRA~1\\Some Folder (x)\\a~b.avi"));
    EXPECT_FALSE(HasForeignCharacters(TText("\x01\t\x1F", 3)));
    for (const char* text : {"C:\\a\x7F", "\x80", "C:\\Vid\xE9os\\", "\xFF"})
        EXPECT_TRUE(HasForeignCharacters(text)) << text;
}

TEST(StartsWithDriveRoot, ADriveLetterAColonAndABackslash)
{
    for (const char* path : {"C:\\", "c:\\Program Files\\", "Z:\\a", "a:\\"})
        EXPECT_TRUE(StartsWithDriveRoot(path)) << path;
    for (const char* path : {"", "C:", "C:a\\", "C:/", " C:\\", "\\\\server\\share\\DVD Flick\\", "\\Apps\\",
                             "@:\\", "[:\\", "`:\\", "{:\\"})
        EXPECT_FALSE(StartsWithDriveRoot(path)) << path;
}

TEST(ParseInteger, AcceptsSpacesSignDecimalAndHexadecimal)
{
    const struct {
        const char* Text;
        int Value;
    } cases[] = {
        {"9000", 9000}, {" 450", 450}, {"   7", 7}, {"+700", 700}, {"-448", -448}, {"0", 0},
        {"0100", 100}, {"08", 8}, {"$3E8", 1000}, {"0x64", 100}, {"0X64", 100}, {"x1f", 31},
        {"X1F", 31}, {"$aBc", 0xABC}, {"-$10", -16}, {"+$10", 16},
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"00000000002147483647", INT_MAX},
        {"$7FFFFFFF", INT_MAX}, {"$80000000", INT_MIN}, {"$FFFFFFFF", -1}, {"-$FFFFFFFF", 1},
        {"-$80000000", INT_MIN}, {"$000000000FFFFFFFF", -1},
    };
    for (const auto& c : cases) {
        int value = 12345;
        EXPECT_EQ(ParseInteger(c.Text, value), 0) << '"' << c.Text << '"';
        EXPECT_EQ(value, c.Value) << '"' << c.Text << '"';
    }
}

TEST(ParseInteger, FailsAtThePositionWhereTheParseStopped)
{
    // One past the end when the text ran out too early; for a number too large,
    // the digit that leaves the 32-bit range.
    const struct {
        const char* Text;
        int Code;
    } cases[] = {
        {"", 1}, {"9000k", 5}, {"9000 ", 5}, {"90 00", 3}, {"-", 2}, {"$", 2}, {"x", 2},
        {"0x", 3}, {"0xg", 3}, {"$1G", 3}, {"   ", 4}, {"- 5", 2}, {"+-1", 2}, {"--1", 2},
        {"\t5", 1}, {"abc", 1}, {"1.5", 2}, {"1e3", 2}, {"$-1", 2},
        {"2147483648", 10}, {"21474836470", 11}, {"-2147483649", 11}, {"99999999999", 10},
        {"$100000000", 10}, {"0x123456789", 11}, {"$00FFFFFFFFF", 12},
    };
    for (const auto& c : cases) {
        int value = 12345;
        EXPECT_EQ(ParseInteger(c.Text, value), c.Code) << '"' << c.Text << '"';
        EXPECT_EQ(value, 12345) << "a failed parse changed the value for \"" << c.Text << '"';
    }
}

TEST(IntegerToText, WritesPlainDecimal)
{
    for (int value : {0, 7, -7, 9000, -183, INT_MAX, INT_MIN})
        EXPECT_EQ(Str(IntegerToText(value)), std::to_string(value));
}
