#include "app/LengthReader.h"

#include "job/EncoderLength.h"

namespace {

const DWORD ReadLimit = 20000;     // milliseconds an encoder may run
const DWORD StopWait = 2000;       // milliseconds closing waits for the worker
// The output waits in the pipe until the encoder has ended. An encoder reports its
// input in a few kilobytes; one that writes more waits for room until ReadLimit.
const DWORD OutputRoom = 65536;

// Closing the job ends its encoder if it still runs; whoever takes it closes it.
void EndJob(TLengthReading& reading)
{
    if (HANDLE job = InterlockedExchangePointer(&reading.Job, nullptr))
        CloseHandle(job);
}

// Runs "ffmpeg.exe -i <video>" from the DVD Flick folder, hidden, with its output on
// a pipe that is read once the encoder has ended. One still running at ReadLimit is
// ended with its job; its output is not waited for.
long long RunEncoder(TLengthReading& reading)
{
    // INVALID_FILE_ATTRIBUTES, for a missing file, has the folder bit set too.
    const TText encoder = reading.Folder + "ffmpeg.exe";
    if (GetFileAttributesA(encoder.CStr()) & FILE_ATTRIBUTE_DIRECTORY)
        return LengthNoEncoder;
    SECURITY_ATTRIBUTES inherited;
    inherited.nLength = sizeof inherited;
    inherited.lpSecurityDescriptor = nullptr;
    inherited.bInheritHandle = TRUE;
    HANDLE output, encoderEnd;
    if (!CreatePipe(&output, &encoderEnd, &inherited, OutputRoom))
        return LengthUnknown;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = encoderEnd;
    PROCESS_INFORMATION process;
    TText command = "ffmpeg.exe";
    command += " -i \"";
    command += reading.Video;
    command += '"';
    // Only workers start processes that inherit handles, one at a time, so no other
    // child takes the pipe's end, which would keep the output open. Without a console
    // of its own (none is needed: its output goes to the pipe) an encoder starts about
    // three times as fast under Wine, which makes a hidden one for each otherwise.
    const BOOL started = CreateProcessA(encoder.CStr(), command.Data(), nullptr, nullptr, TRUE,
                                        DETACHED_PROCESS, nullptr, reading.Folder.CStr(), &startup, &process);
    // The encoder's copy is then the only one: the output ends with the encoder.
    CloseHandle(encoderEnd);
    TText text;
    bool inTime = false;
    if (started) {
        HANDLE job = CreateJobObjectA(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        AssignProcessToJobObject(job, process.hProcess);
        reading.Job = job;
        inTime = WaitForSingleObject(process.hProcess, ReadLimit) == WAIT_OBJECT_0;
        EndJob(reading);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        char buffer[512];
        for (DWORD got; inTime && ReadFile(output, buffer, sizeof buffer, &got, nullptr) && got;)
            text.Append(buffer, static_cast<int>(got));
    }
    CloseHandle(output);
    return inTime ? LengthInOutput(text.CStr()) : LengthUnknown;
}

DWORD WINAPI ReadOneLength(void* parameter)
{
    TLengthReading& reading = *static_cast<TLengthReading*>(parameter);
    reading.Length = RunEncoder(reading);
    PostMessageA(reading.Window, LengthReadMessage, 0, reinterpret_cast<LPARAM>(&reading));
    return 0;
}

}

TLengthReading* ReadLength(HWND window, const TText& folder, const TText& video)
{
    TLengthReading* reading = new TLengthReading{window, folder, video, LengthUnknown, nullptr, nullptr};
    reading->Worker = CreateThread(nullptr, 0, ReadOneLength, reading, 0, nullptr);
    if (!reading->Worker)
        PostMessageA(window, LengthReadMessage, 0, reinterpret_cast<LPARAM>(reading));
    return reading;
}

void EndLengthReading(TLengthReading* reading)
{
    CloseHandle(reading->Worker);
    delete reading;
}

// An encoder that the job does not hold yet is ended with the job when the program
// ends, closing its handles.
void StopReadingLength(TLengthReading* reading)
{
    if (!reading)
        return;
    EndJob(*reading);
    WaitForSingleObject(reading->Worker, StopWait);
}
