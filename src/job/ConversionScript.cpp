#include "job/ConversionScript.h"

#include "job/EncoderCommands.h"

static const char NoFilesMessage[] = "You have not entered any files for conversion !!!";
static const char NoEncoderMessage[] = "Please specify direcory with DVD Flick and FFMpeg !!!";
static const char BadCustomBitrateMessage[] =
    "Check the Custom bitrate - enter value between 100 and 9000 using digits only";
static const char BadBitrateMessage[] =
    "Check the bitrate - enter value between 100 and 9000 using digits only";
static const char BadAspectMessage[] = "Choose the aspect ratio from its list";
static const char BadFormatMessage[] = "Choose the format from its list";
static const char ConversionRunningMessage[] =
    "A conversion started by Spindrel is still running. Wait for it to finish, then press Start again.";

static void Fail(TJobSettings& settings, TStartMessages& messages, const char* message)
{
    messages.Items[messages.Count++] = message;
    settings.HasError = true;
}

static bool IsChoice(const TText& text, const char* const* choices)
{
    for (int i = 0; i < ChoiceCount; ++i)
        if (text == choices[i])
            return true;
    return false;
}

TStartMessages ValidateStart(TJobSettings& settings, bool useCustomBitrate, const TText& bitrateText,
                             const TText& aspectText, const TText& formatText, TJobPlatform& platform)
{
    TStartMessages messages;
    settings.HasError = false;
    settings.BadCustomBitrate = false;
    settings.UseCustomBitrate = false;

    // The command interpreter reads a batch file line by line from where it left
    // off: a new script in place of the running one would go on from its middle.
    if (platform.IsShellRunActive()) {
        Fail(settings, messages, ConversionRunningMessage);
        return messages;
    }
    if (settings.FileCount < 1)
        Fail(settings, messages, NoFilesMessage);
    if (!platform.FileExists(settings.FlickPath + "ffmpeg.exe"))
        Fail(settings, messages, NoEncoderMessage);
    settings.ParseCode = ParseInteger(bitrateText, settings.BitrateValue);
    if (settings.ParseCode != 0 || settings.BitrateValue < 100 || settings.BitrateValue > 9000) {
        Fail(settings, messages, useCustomBitrate ? BadCustomBitrateMessage : BadBitrateMessage);
        settings.BadCustomBitrate = useCustomBitrate;
    } else {
        settings.BitrateText = IntegerToText(settings.BitrateValue);
        settings.UseCustomBitrate = useCustomBitrate;
    }
    if (!IsChoice(aspectText, AspectChoices))
        Fail(settings, messages, BadAspectMessage);
    if (!IsChoice(formatText, FormatChoices))
        Fail(settings, messages, BadFormatMessage);
    return messages;
}

static bool IsClosingCharacter(char c)
{
    return c == '\r' || c == '\n' || c == ' ' || c == '.';
}

TText IoErrorText(int code, TJobPlatform& platform)
{
    switch (code) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    case 101:
        return "Disk full";
    }
    // The system ends its text with a period and a line break; the report that
    // quotes it adds its own period.
    const TText text = platform.ErrorText(code);
    int length = text.Length();
    while (length > 0 && IsClosingCharacter(text.At(length)))
        --length;
    if (length == 0)
        return "I/O error " + IntegerToText(code);
    return text.Left(length);
}

// cmd.exe expands "%" in a batch file even between quotes; "%%" stands for one "%".
static void AppendLine(TText& block, const TText& line)
{
    const char* bytes = line.CStr();
    int start = 0;
    for (int pos = 0; pos < line.Length(); ++pos) {
        if (bytes[pos] == '%') {
            block.Append(bytes + start, pos + 1 - start);
            block += '%';
            start = pos + 1;
        }
    }
    block.Append(bytes + start, line.Length() - start);
    block += "\r\n";
}

// cd takes a plain folder name with its spaces as it is, but cmd.exe would run
// what follows "&" or "|" as another command, redirect at "<" or ">", and drop a
// "^"; between quotes they are plain characters.
static TText CdLine(const TJobSettings& settings)
{
    const TText& name = settings.CdSegment;
    for (int pos = 1; pos <= name.Length(); ++pos) {
        const char c = name.At(pos);
        if (c == '&' || c == '|' || c == '<' || c == '>' || c == '^')
            return "cd " + settings.Quote + name + settings.Quote;
    }
    return "cd " + name;
}

// The lines that lead from the drive's root down to the DVD Flick folder, where
// "ffmpeg.exe" and the pass log live. Every file's block starts with them; they are
// the same for every file, so they are made once per script.
static TText DescentLines(TJobSettings& settings)
{
    TText lines;
    AppendLine(lines, settings.Drive);
    AppendLine(lines, "cd " + settings.Drive + "\\");

    // The first three characters are the drive, its colon and the root's backslash.
    settings.PathLength = settings.FlickPath.Length();
    settings.CdSegment.Clear();
    for (settings.CharIndex = 4; settings.CharIndex <= settings.PathLength; ++settings.CharIndex) {
        SetCurrentChar(settings, settings.FlickPath.At(settings.CharIndex));
        if (settings.CurrentChar != "\\") {
            settings.CdSegment += settings.CurrentChar;
            continue;
        }
        AppendLine(lines, CdLine(settings));
        settings.CdSegment.Clear();
    }
    return lines;
}

// The script goes to the file in pieces of about this size: a long list costs a
// few calls, not one per file.
static const int WriteChunk = 64 * 1024;

TScriptResult WriteScript(TJobSettings& settings, const TText& aspectText, const TText& formatText,
                          const TText& presetBitrateText, bool halfD1, bool twoPass,
                          const TText* paths, int count, TJobPlatform& platform)
{
    TScriptResult result;
    result.Code = platform.CreateOutput(settings.ScriptPath);
    if (!result.Succeeded()) {
        result.Text = IoErrorText(result.Code, platform);
        return result;
    }

    CaptureEncoderSettings(settings, aspectText, formatText, presetBitrateText, halfD1);
    const TOutputNumbers numbers(settings, paths, count);
    const TText descent = DescentLines(settings);
    TText pending;
    for (settings.ItemIndex = 1; settings.ItemIndex <= count && result.Succeeded();
         ++settings.ItemIndex) {
        BuildCommandLines(settings, paths[settings.ItemIndex - 1], twoPass,
                          numbers[settings.ItemIndex - 1]);
        pending += descent;
        if (twoPass) {
            AppendLine(pending, settings.Pass1Command);
            AppendLine(pending, settings.Pass2Command);
        } else {
            AppendLine(pending, settings.OnePassCommand);
        }
        if (pending.Length() >= WriteChunk || settings.ItemIndex == count) {
            result.Code = platform.WriteOutput(pending.CStr(), pending.Length());
            pending.Clear();
        }
    }

    // The file is closed on failure too, so that it can be removed.
    const int closeCode = platform.CloseOutput();
    if (result.Succeeded())
        result.Code = closeCode;
    if (!result.Succeeded()) {
        platform.RemoveFile(settings.ScriptPath);
        result.Text = IoErrorText(result.Code, platform);
    }
    return result;
}

bool LaunchScript(const TJobSettings& settings, TJobPlatform& platform)
{
    return platform.ShellRun(settings.ScriptPath);
}
