#include "job/ConversionScript.h"

#include "job/Conversion.h"
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

// Outside quotes cmd.exe runs what follows "&" or "|" as another command, redirects
// at "<" or ">", drops a "^" and groups between parentheses.
static bool IsCmdSpecial(char c)
{
    return c == '&' || c == '|' || c == '<' || c == '>' || c == '^' || c == '(' || c == ')';
}

// Appends the length bytes so that cmd.exe reads them back as they are: it expands
// "%" in a batch file even between quotes, and "%%" stands for one "%". Text outside
// quotes gets a "^" before each of cmd.exe's special characters.
static void AppendEscaped(TText& block, const char* bytes, int length, bool quoted = true)
{
    int start = 0;
    for (int pos = 0; pos < length; ++pos) {
        if (bytes[pos] == '%' || (!quoted && IsCmdSpecial(bytes[pos]))) {
            block.Append(bytes + start, pos - start);
            block += bytes[pos] == '%' ? '%' : '^';
            start = pos;
        }
    }
    block.Append(bytes + start, length - start);
}

static void AppendLine(TText& block, const TText& line)
{
    AppendEscaped(block, line.CStr(), line.Length());
    block += "\r\n";
}

// cd takes a plain folder name with its spaces and parentheses as it is, but not
// cmd.exe's other special characters; between quotes they are plain characters.
static TText CdLine(const TJobSettings& settings)
{
    const TText& name = settings.CdSegment;
    for (int pos = 1; pos <= name.Length(); ++pos) {
        const char c = name.At(pos);
        if (c != '(' && c != ')' && IsCmdSpecial(c))
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

// The command that appends a line to the conversion's record at path, up to the
// record's words. The path is quoted, as the script's other paths are; the
// redirection comes first, so that a number before it is never taken for a handle
// ("echo 3 1>>file").
static TText RecordCommand(const TText& path)
{
    TText command = ">>\"";
    AppendEscaped(command, path.CStr(), path.Length());
    command += "\" echo ";
    return command;
}

// The lines that begin file k's block: its title, which the console window and its
// taskbar button show ("[3/12] holiday.avi - Spindrel"), then the record of its
// start, from titleEnd on.
static void AppendFileStart(TText& block, const TText& path, int k, int count, const TText& titleEnd)
{
    const char* name = path.CStr() + path.Length();
    while (name > path.CStr() && name[-1] != '\\')
        --name;
    block += "title ";
    AppendProgress(block, k, count);
    AppendEscaped(block, name, static_cast<int>(path.CStr() + path.Length() - name), false);
    block += titleEnd;
    AppendInteger(block, k);
    block += "\r\n";
}

// The script goes to the file in pieces of about this size: a long list costs a
// few calls, not one per file.
static const int WriteChunk = 64 * 1024;

TScriptResult WriteScript(TJobSettings& settings, const TText& aspectText, const TText& formatText,
                          const TText& presetBitrateText, bool halfD1, bool twoPass,
                          const TText* paths, int count, TJobPlatform& platform, TText* videos)
{
    // A record left by an earlier script would be read as the new one's.
    TScriptResult result;
    result.Path = settings.OutputFolder;
    result.Path += RecordName;
    const TText record = RecordCommand(result.Path);
    result.Code = platform.RemoveFile(result.Path);
    if (result.Succeeded()) {
        result.Path = settings.ScriptPath;
        result.Code = platform.CreateOutput(settings.ScriptPath);
    }
    if (!result.Succeeded()) {
        result.Text = IoErrorText(result.Code, platform);
        return result;
    }

    CaptureEncoderSettings(settings, aspectText, formatText, presetBitrateText, halfD1);
    const TOutputNumbers numbers(settings, paths, count);
    const TText descent = DescentLines(settings);
    TText titleEnd = " - Spindrel\r\n";
    titleEnd += record;
    titleEnd += "start ";
    // Records each encoder run's exit code that is not 0: "if errorlevel 1" would
    // miss the negative code of a crash.
    TText failCheck = "if not %errorlevel%==0 ";
    failCheck += record;
    failCheck += "fail %errorlevel%\r\n";
    TText pending;
    for (settings.ItemIndex = 1; settings.ItemIndex <= count && result.Succeeded();
         ++settings.ItemIndex) {
        const int k = settings.ItemIndex;
        BuildCommandLines(settings, paths[k - 1], twoPass, numbers[k - 1]);
        if (videos) {
            videos[k - 1] = settings.OutputFolder;
            videos[k - 1] += settings.BaseName;
            videos[k - 1] += ".m2v";
        }
        AppendFileStart(pending, paths[k - 1], k, count, titleEnd);
        pending += descent;
        if (twoPass) {
            AppendLine(pending, settings.Pass1Command);
            pending += failCheck;
            AppendLine(pending, settings.Pass2Command);
        } else {
            AppendLine(pending, settings.OnePassCommand);
        }
        pending += failCheck;
        if (k == count) {
            pending += record;
            pending += "end\r\n";
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
