// What the conversion job needs from the operating system: file tests, reading a
// small file, one output file at a time, and the shell. Behind an interface so that
// the job's tests run natively and can watch or fail any call.
#pragma once

#include "runtime/Text.h"

class TJobPlatform {
public:
    // True when path names a file; a folder of that name does not count.
    virtual bool FileExists(const TText& path) = 0;
    // True when path names a file that holds at least one byte.
    virtual bool IsNonEmptyFile(const TText& path) = 0;
    // The whole content of the file at path; false when it cannot be read.
    virtual bool ReadWhole(const TText& path, TText& content) = 0;

    // The output file calls return 0, or the Windows error code of the failure
    // (101 when the disk is full).
    // Creates the file at path empty, replacing an existing one.
    virtual int CreateOutput(const TText& path) = 0;
    virtual int WriteOutput(const char* data, int length) = 0;
    // Releases the file whatever the result.
    virtual int CloseOutput() = 0;

    // 0 also when there is no such file, or no such folder.
    virtual int RemoveFile(const TText& path) = 0;
    // The system's own description of an output-file failure code, in the user's
    // language and as the system words it; empty when the system has none.
    virtual TText ErrorText(int code) = 0;

    // Hands a file or a web address to the shell's default action (a batch file
    // runs, a page opens in the browser); false when the shell refuses.
    virtual bool ShellOpen(const TText& target) = 0;
    // The same for a file whose run is to be watched: the process the shell started
    // for it is kept, in place of the one kept before.
    virtual bool ShellRun(const TText& path) = 0;
    // True while the process kept by the last ShellRun still runs; false when the
    // shell gave none back.
    virtual bool IsShellRunActive() = 0;

protected:
    ~TJobPlatform() = default;
};

// The running system's platform.
TJobPlatform& SystemJobPlatform();
