#include "job/JobSettings.h"

TJobSettings JobSettings;

void InitJobSettings(TJobSettings& settings)
{
    settings.FileCount = 0;
    settings.Quote = "\"";
    settings.HasError = false;
    settings.BadCustomBitrate = false;
    settings.ParseCode = 0;
    settings.UseCustomBitrate = false;
    settings.BitrateText = "9000";
    settings.FlickPath = "C:\\Program Files\\DVD Flick\\";
    settings.OutputFolder = "C:\\";
    settings.Drive = "C:";
    settings.ScriptPath = settings.OutputFolder + "convert.bat";
}

void SetCurrentChar(TJobSettings& settings, char c)
{
    settings.CurrentChar.Clear();
    settings.CurrentChar += c;
}

bool HasForeignCharacters(const TText& text)
{
    for (int pos = 1; pos <= text.Length(); ++pos)
        if (static_cast<unsigned char>(text.At(pos)) > 126 || text.At(pos) == '?')
            return true;
    return false;
}

bool StartsWithDriveRoot(const TText& path)
{
    const char letter = path.At(1);
    const bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    return isLetter && path.At(2) == ':' && path.At(3) == '\\';
}

static int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int ParseInteger(const TText& text, int& value)
{
    const int length = text.Length();
    int pos = 1;
    while (text.At(pos) == ' ')
        ++pos;

    bool negative = false;
    if (text.At(pos) == '-' || text.At(pos) == '+') {
        negative = text.At(pos) == '-';
        ++pos;
    }

    // The magnitude is gathered unsigned, so that -2147483648 and every 32-bit
    // hexadecimal pattern fit without signed overflow.
    unsigned magnitude = 0;
    const char first = text.At(pos);
    const bool zeroX = first == '0' && (text.At(pos + 1) == 'x' || text.At(pos + 1) == 'X');
    if (first == '$' || first == 'x' || first == 'X' || zeroX) {
        pos += zeroX ? 2 : 1;
        if (HexDigitValue(text.At(pos)) < 0)
            return pos;
        for (; HexDigitValue(text.At(pos)) >= 0; ++pos) {
            // A ninth significant digit would push bits out of the top.
            if (magnitude > 0x0FFFFFFFu)
                return pos;
            magnitude = magnitude * 16 + static_cast<unsigned>(HexDigitValue(text.At(pos)));
        }
    } else {
        if (first < '0' || first > '9')
            return pos;
        const unsigned limit = negative ? 2147483648u : 2147483647u;
        for (; text.At(pos) >= '0' && text.At(pos) <= '9'; ++pos) {
            const unsigned digit = static_cast<unsigned>(text.At(pos) - '0');
            if (magnitude > (limit - digit) / 10)
                return pos;
            magnitude = magnitude * 10 + digit;
        }
    }
    if (pos <= length)
        return pos;

    // Two's complement by hand: the pattern negates with wrap-around, as in 32 bits.
    const unsigned pattern = negative ? 0u - magnitude : magnitude;
    value = pattern <= 2147483647u ? static_cast<int>(pattern)
                                   : -static_cast<int>(~pattern) - 1;
    return 0;
}

void AppendInteger(TText& text, int value)
{
    char digits[12];
    int start = sizeof digits;
    // Unsigned, so that the magnitude of -2147483648 needs no negation of an int.
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[--start] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        digits[--start] = '-';
    text.Append(digits + start, static_cast<int>(sizeof digits) - start);
}

TText IntegerToText(int value)
{
    TText text;
    AppendInteger(text, value);
    return text;
}
