#include "job/JobSettings.h"

#include "JobTestSupport.h"

#include <climits>

// A path is refused for a byte above 126, and a folder unless it starts at a drive's root.
TEST(PathChecks, ForeignBytesAndTheDriveRoot)
{
    for (const char* text : {"", "C:\\PROGRA~1\\Some Folder (x)\\a~b.avi", "\x01\t\x1F"})
        EXPECT_FALSE(HasForeignCharacters(text)) << text;
    for (const char* text : {"C:\\a\x7F", "\x80", "C:\\Vid\xE9os\\", "\xFF", "C:\\Vid?os\\"})
        EXPECT_TRUE(HasForeignCharacters(text)) << text;
    for (const char* path : {"C:\\", "c:\\Program Files\\", "Z:\\a", "a:\\", "z:\\"})
        EXPECT_TRUE(StartsWithDriveRoot(path)) << path;
    for (const char* path : {"", "C:", "C:a\\", "C:/", " C:\\", "\\\\server\\share\\DVD Flick\\", "\\Apps\\",
                             "@:\\", "[:\\", "`:\\", "{:\\"})
        EXPECT_FALSE(StartsWithDriveRoot(path)) << path;
}

// Code 0 with the value, which IntegerToText writes back; otherwise the position
// where the parse stopped (one past the end when the text ran out too early; for a
// number too large, the digit that leaves the 32-bit range), the value left alone.
TEST(ParseInteger, GivesTheValueOrWhereTheParseStopped)
{
    const struct {
        const char* Text; int Code; int Value = 0;
    } cases[] = {
        {"9000", 0, 9000}, {" 450", 0, 450}, {"   7", 0, 7}, {"+700", 0, 700}, {"-448", 0, -448}, {"0", 0, 0},
        {"0100", 0, 100}, {"08", 0, 8}, {"$3E8", 0, 1000}, {"0x64", 0, 100}, {"0X64", 0, 100}, {"x1f", 0, 31},
        {"X1F", 0, 31}, {"$aBc", 0, 0xABC}, {"-$10", 0, -16}, {"+$10", 0, 16}, {"2147483647", 0, INT_MAX},
        {"-2147483648", 0, INT_MIN}, {"00000000002147483647", 0, INT_MAX}, {"$7FFFFFFF", 0, INT_MAX},
        {"$80000000", 0, INT_MIN}, {"$FFFFFFFF", 0, -1}, {"-$FFFFFFFF", 0, 1}, {"-$80000000", 0, INT_MIN},
        {"$000000000FFFFFFFF", 0, -1}, {"", 1}, {"9000k", 5}, {"9000 ", 5}, {"90 00", 3}, {"-", 2}, {"$", 2}, {"x", 2},
        {"0x", 3}, {"0xg", 3}, {"$1G", 3}, {"   ", 4}, {"- 5", 2}, {"+-1", 2}, {"\t5", 1}, {"abc", 1}, {"1.5", 2},
        {"$-1", 2}, {"2147483648", 10}, {"-2147483649", 11}, {"99999999999", 10}, {"$100000000", 10},
        {"0x123456789", 11}, {"$00FFFFFFFFF", 12},
    };
    for (const auto& c : cases) {
        int value = 12345;
        EXPECT_EQ(ParseInteger(c.Text, value), c.Code) << '"' << c.Text << '"';
        EXPECT_EQ(value, c.Code ? 12345 : c.Value) << '"' << c.Text << '"';
        EXPECT_EQ(Str(IntegerToText(c.Value)), std::to_string(c.Value));
    }
}
