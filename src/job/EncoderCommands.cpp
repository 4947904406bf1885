#include "job/EncoderCommands.h"

static const char TwoPassOptions[] =
    "k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -bf 1  -aspect ";
static const char OnePassOptions[] =
    "k -preme 1 -precmp 2 -subcmp 8 -mbcmp 8 -cmp 1 -mbd 1 -rmethod lanczos -sc_threshold -5000 -bf 1  -aspect ";
static const char Pass1Text[] = " -pass 1 -passlogfile \"logfile.txt\" -an -ilme -o -y ";
static const char Pass2Text[] = " -pass 2 -passlogfile \"logfile.txt\" -an -ilme -o -y ";
static const char OnePassText[] = " -an -ilme -o -y ";

void CaptureEncoderSettings(TJobSettings& settings, const TText& aspectText,
                            const TText& formatText, const TText& presetBitrateText, bool halfD1)
{
    settings.AspectText = aspectText;
    settings.FormatText = formatText;
    if (settings.FormatText == "PAL")
        settings.Target = "pal-dvd";
    if (settings.FormatText == "NTSC")
        settings.Target = "ntsc-dvd";
    if (!settings.UseCustomBitrate)
        settings.BitrateText = presetBitrateText;
    if (settings.FormatText == "PAL")
        settings.FrameSize = halfD1 ? "352x576" : "720x576";
    if (settings.FormatText == "NTSC")
        settings.FrameSize = halfD1 ? "352x480" : "720x480";
}

void DeriveBaseName(TJobSettings& settings, const TText& path)
{
    settings.BaseName.Clear();
    settings.ReversedName.Clear();
    for (settings.CharIndex = path.Length(); settings.CharIndex >= 1; --settings.CharIndex) {
        settings.CurrentChar = TText(path.CStr() + settings.CharIndex - 1, 1);
        if (settings.CurrentChar == "\\")
            break;
        settings.ReversedName += settings.CurrentChar;
    }
    for (settings.CharIndex = settings.ReversedName.Length(); settings.CharIndex >= 1;
         --settings.CharIndex) {
        const char c = settings.ReversedName.At(settings.CharIndex);
        settings.BaseName += c == '.' ? '_' : c;
    }
}

static char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

static bool SameFileName(const TText& a, const TText& b)
{
    if (a.Length() != b.Length())
        return false;
    for (int pos = 1; pos <= a.Length(); ++pos)
        if (UpperAscii(a.At(pos)) != UpperAscii(b.At(pos)))
            return false;
    return true;
}

static bool IsTaken(const TText& name, const TText* names, int count)
{
    for (int i = 0; i < count; ++i)
        if (SameFileName(names[i], name))
            return true;
    return false;
}

TOutputNumbers::TOutputNumbers(TJobSettings& settings, const TText* paths, int count)
    : FNumbers(new int[count > 0 ? count : 1])
{
    // derived[] holds every base name as the paths give it; given[] the names handed
    // out so far, so that a new name avoids both.
    TText* derived = new TText[count > 0 ? count : 1];
    TText* given = new TText[count > 0 ? count : 1];
    for (int i = 0; i < count; ++i) {
        DeriveBaseName(settings, paths[i]);
        derived[i] = settings.BaseName;
    }
    for (int i = 0; i < count; ++i) {
        FNumbers[i] = 0;
        given[i] = derived[i];
        if (!IsTaken(derived[i], derived, i))
            continue;
        for (int number = 2;; ++number) {
            const TText candidate = derived[i] + "_" + IntegerToText(number);
            if (!IsTaken(candidate, derived, count) && !IsTaken(candidate, given, i)) {
                FNumbers[i] = number;
                given[i] = candidate;
                break;
            }
        }
    }
    delete[] given;
    delete[] derived;
}

TOutputNumbers::~TOutputNumbers() { delete[] FNumbers; }

static TText CommandLine(const TJobSettings& settings, const TText& path, const char* options,
                         const char* passText)
{
    TText line("ffmpeg.exe -i ");
    line += settings.Quote;
    line += path;
    line += settings.Quote;
    line += " -target ";
    line += settings.Target;
    line += " -minrate ";
    line += settings.BitrateText;
    line += "k -maxrate ";
    line += settings.BitrateText;
    line += "k -b ";
    line += settings.BitrateText;
    line += options;
    line += settings.AspectText;
    line += " -s ";
    line += settings.FrameSize;
    line += passText;
    line += settings.Quote;
    line += settings.OutputFolder;
    line += settings.BaseName;
    line += ".m2v";
    line += settings.Quote;
    return line;
}

void BuildCommandLines(TJobSettings& settings, const TText& path, bool twoPass, int number)
{
    DeriveBaseName(settings, path);
    if (number != 0)
        settings.BaseName += "_" + IntegerToText(number);
    if (twoPass) {
        settings.Pass1Command = CommandLine(settings, path, TwoPassOptions, Pass1Text);
        settings.Pass2Command = CommandLine(settings, path, TwoPassOptions, Pass2Text);
    } else {
        settings.OnePassCommand = CommandLine(settings, path, OnePassOptions, OnePassText);
    }
}
