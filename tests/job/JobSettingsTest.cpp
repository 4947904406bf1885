#include "job/JobSettings.h"

#include "JobTestSupport.h"

#include <climits>

TEST(InitJobSettings, SetsTheStartValuesOverEarlierOnes)
{
    TJobSettings s;
    s.FileCount = 4;
    s.HasError = s.BadCustomBitrate = s.UseCustomBitrate = true;
    s.ParseCode = 3;
    s.BitrateText = "1000";
    s.FlickPath = "D:\\x\\";
    s.OutputFolder = "E:\\";
    s.Drive = "D:";
    s.ScriptPath = "E:\\convert.bat";

    InitJobSettings(s);

    EXPECT_EQ(s.FileCount, 0);
    EXPECT_EQ(Str(s.Quote), "\"");
    EXPECT_FALSE(s.HasError);
    EXPECT_FALSE(s.BadCustomBitrate);
    EXPECT_FALSE(s.UseCustomBitrate);
    EXPECT_EQ(s.ParseCode, 0);
    EXPECT_EQ(Str(s.BitrateText), "9000");
    EXPECT_EQ(Str(s.FlickPath), "C:\\Program Files\\DVD Flick\\");
    EXPECT_EQ(Str(s.OutputFolder), "C:\\");
    EXPECT_EQ(Str(s.Drive), "C:");
    EXPECT_EQ(Str(s.ScriptPath), "C:\\convert.bat");
}

TEST(HasForeignCharacters, OnlyBytesAbove126AreForeign)
{
    EXPECT_FALSE(HasForeignCharacters(""));
    EXPECT_FALSE(HasForeignCharacters("C:\\PROGRA~1\\Some Folder (x)\\a~b.avi"));
    EXPECT_FALSE(HasForeignCharacters(TText("\x01\t\x1F", 3)));
    EXPECT_TRUE(HasForeignCharacters("C:\\a\x7F"));
    EXPECT_TRUE(HasForeignCharacters("\x80"));
    EXPECT_TRUE(HasForeignCharacters("C:\\Vid\xE9os\\"));
    EXPECT_TRUE(HasForeignCharacters("\xFF"));
}

struct TParseCase {
    const char* Text;
    int Value;
};

TEST(ParseInteger, AcceptsSpacesSignDecimalAndHexadecimal)
{
    const TParseCase cases[] = {
        {"9000", 9000},
        {" 450", 450},
        {"   7", 7},
        {"+700", 700},
        {"-448", -448},
        {"0", 0},
        {"0100", 100},
        {"08", 8},
        {"$3E8", 1000},
        {"0x64", 100},
        {"0X64", 100},
        {"x1f", 31},
        {"X1F", 31},
        {"$aBc", 0xABC},
        {"-$10", -16},
        {"+$10", 16},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"00000000002147483647", INT_MAX},
        {"$7FFFFFFF", INT_MAX},
        {"$80000000", INT_MIN},
        {"$FFFFFFFF", -1},
        {"-$FFFFFFFF", 1},
        {"-$80000000", INT_MIN},
        {"$000000000FFFFFFFF", -1},
    };
    for (const TParseCase& c : cases) {
        int value = 12345;
        EXPECT_EQ(ParseInteger(c.Text, value), 0) << "\"" << c.Text << "\"";
        EXPECT_EQ(value, c.Value) << "\"" << c.Text << "\"";
    }
}

struct TFailCase {
    const char* Text;
    int Code;
};

TEST(ParseInteger, FailsAtThePositionWhereTheParseStopped)
{
    // One past the end when the text ran out too early.
    const TFailCase cases[] = {
        {"", 1},
        {"9000k", 5},
        {"9000 ", 5},
        {"90 00", 3},
        {"-", 2},
        {"$", 2},
        {"x", 2},
        {"0x", 3},
        {"0xg", 3},
        {"$1G", 3},
        {"   ", 4},
        {"- 5", 2},
        {"+-1", 2},
        {"--1", 2},
        {"\t5", 1},
        {"abc", 1},
        {"1.5", 2},
        {"1e3", 2},
        {"$-1", 2},
        // The digit that leaves the 32-bit range.
        {"2147483648", 10},
        {"21474836470", 11},
        {"-2147483649", 11},
        {"99999999999", 10},
        {"$100000000", 10},
        {"0x123456789", 11},
        {"$00FFFFFFFFF", 12},
    };
    for (const TFailCase& c : cases) {
        int value = 12345;
        EXPECT_EQ(ParseInteger(c.Text, value), c.Code) << "\"" << c.Text << "\"";
        EXPECT_EQ(value, 12345) << "a failed parse changed the value for \"" << c.Text << "\"";
    }
}

TEST(IntegerToText, WritesPlainDecimal)
{
    EXPECT_EQ(Str(IntegerToText(0)), "0");
    EXPECT_EQ(Str(IntegerToText(7)), "7");
    EXPECT_EQ(Str(IntegerToText(-7)), "-7");
    EXPECT_EQ(Str(IntegerToText(9000)), "9000");
    EXPECT_EQ(Str(IntegerToText(-183)), "-183");
    EXPECT_EQ(Str(IntegerToText(INT_MAX)), "2147483647");
    EXPECT_EQ(Str(IntegerToText(INT_MIN)), "-2147483648");
}
