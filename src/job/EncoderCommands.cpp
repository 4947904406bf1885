#include "job/EncoderCommands.h"

const char* const AspectChoices[ChoiceCount] = {"4:3", "16:9"};
const char* const FormatChoices[ChoiceCount] = {"NTSC", "PAL"};

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
        SetCurrentChar(settings, path.At(settings.CharIndex));
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

namespace {

// File names compared ignoring ASCII case, kept in a hash table so that a long
// list is not compared name by name with every other (the names stay the caller's).
// Each name held carries the next number to try for a repeat of it.
class TFileNameSet {
public:
    explicit TFileNameSet(int count)
    {
        int size = 16;
        while (size < 2 * count)
            size *= 2;
        FMask = static_cast<unsigned>(size - 1);
        FSlots = new TSlot[size]();
    }
    ~TFileNameSet() { delete[] FSlots; }
    TFileNameSet(const TFileNameSet&) = delete;
    TFileNameSet& operator=(const TFileNameSet&) = delete;

    bool Contains(const TText& name) const { return FSlots[Slot(name)].Name != nullptr; }
    void Add(const TText& name) { FSlots[Slot(name)] = {&name, 2}; }
    // The number a repeat of name, which is held, tries first.
    int& NextNumber(const TText& name) { return FSlots[Slot(name)].NextNumber; }

private:
    struct TSlot {
        const TText* Name;
        int NextNumber;
    };

    // The slot that holds the name, or the empty one where it belongs.
    unsigned Slot(const TText& name) const
    {
        unsigned hash = 2166136261u;
        for (int pos = 1; pos <= name.Length(); ++pos)
            hash = (hash ^ static_cast<unsigned char>(UpperAscii(name.At(pos)))) * 16777619u;
        unsigned slot = hash & FMask;
        while (FSlots[slot].Name && !SameFileName(*FSlots[slot].Name, name))
            slot = (slot + 1) & FMask;
        return slot;
    }

    TSlot* FSlots;
    unsigned FMask;
};

} // namespace

TOutputNumbers::TOutputNumbers(TJobSettings& settings, const TText* paths, int count)
    : FNumbers(new int[count > 0 ? count : 1])
{
    // A new name must avoid every base name the paths give and every name handed
    // out so far. A repeated base name is always among the names handed out, as
    // its first use keeps it and new names avoid all base names. A number refused
    // once stays refused, as both sets only grow: each repeat goes on from the
    // number after the last one its name was given, so that the work stays linear.
    TText* derived = new TText[count > 0 ? count : 1];
    TText* given = new TText[count > 0 ? count : 1];
    TFileNameSet derivedNames(count);
    TFileNameSet givenNames(count);
    for (int i = 0; i < count; ++i) {
        DeriveBaseName(settings, paths[i]);
        derived[i] = settings.BaseName;
        derivedNames.Add(derived[i]);
    }
    for (int i = 0; i < count; ++i) {
        FNumbers[i] = 0;
        given[i] = derived[i];
        if (givenNames.Contains(derived[i])) {
            int& next = givenNames.NextNumber(derived[i]);
            do
                given[i] = derived[i] + "_" + IntegerToText(next++);
            while (derivedNames.Contains(given[i]) || givenNames.Contains(given[i]));
            FNumbers[i] = next - 1;
        }
        givenNames.Add(given[i]);
    }
    delete[] given;
    delete[] derived;
}

TOutputNumbers::~TOutputNumbers() { delete[] FNumbers; }

// Composes one command line into line, reusing its buffer: a long list then costs
// no allocation per line.
static void ComposeCommandLine(TText& line, const TJobSettings& settings, const TText& path,
                               const char* options, const char* passText)
{
    line.Clear();
    line += "ffmpeg.exe -i ";
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
}

void BuildCommandLines(TJobSettings& settings, const TText& path, bool twoPass, int number)
{
    DeriveBaseName(settings, path);
    if (number != 0)
        settings.BaseName += "_" + IntegerToText(number);
    if (twoPass) {
        ComposeCommandLine(settings.Pass1Command, settings, path, TwoPassOptions, Pass1Text);
        ComposeCommandLine(settings.Pass2Command, settings, path, TwoPassOptions, Pass2Text);
    } else {
        ComposeCommandLine(settings.OnePassCommand, settings, path, OnePassOptions, OnePassText);
    }
}
