#include "app/ListLengths.h"

#include "app/LengthReader.h"
#include "job/DiscFit.h"
#include "job/EncoderLength.h"
#include "job/Estimate.h"
#include "job/JobSettings.h"
#include "job/PathSet.h"

namespace {

const TColor Red = 0x0000FF;

struct TLengths {
    // Every path whose length was asked for in this run and is still worth keeping,
    // with its length, LengthPending while it waits or is read. Unknown lengths are
    // kept only while their files are listed, so that a file listed again is tried
    // again.
    TPathSet Paths;
    TListLengths Sums;   // of the listed files, kept as they change
    int EstimateRate;    // of the estimate the labels show
    // The list is the queue: the next file to read is the first one from NextIndex
    // on whose length is pending. A removal moves the files after it up, so it sets
    // NextIndex back to the start.
    int NextIndex;
    // The reading under way, and whether its result is to be dropped: its file was
    // removed meanwhile, or it is read with a folder since left.
    TLengthReading* Reading;
    bool ReadingDropped;
};

// Made with the main window and kept for the whole run.
TLengths* State;

// Adds a listed file of that length to the sums (sign 1) or takes it away (-1).
void Tally(TLengths& s, long long length, int sign)
{
    TListLengths& sums = s.Sums;
    if (length >= 0)
        sums.KnownMs += sign > 0 ? length : -length;
    else if (length == LengthPending)
        sums.Pending += sign;
    else
        sums.Unknown += sign;
    if (length == LengthNoEncoder)
        sums.Missing += sign;
}

void Change(TLengths& s, const TText& path, long long from, long long to)
{
    Tally(s, from, -1);
    s.Paths.Set(path, to);
    Tally(s, to, 1);
}

// Takes the reader's results; stops the reader when the window goes. The main
// window also sees the messages of windows whose widgets are gone, WM_DESTROY too.
bool ListLengthsHandler(TWidget* window, TMessageRecord& record, LRESULT& result)
{
    TLengths& s = *State;
    if (record.Message == WM_DESTROY && record.Window == window->Handle)
        StopReadingLength(s.Reading);   // not handled: the window's own processing follows
    if (record.Message != LengthReadMessage)
        return false;
    TLengthReading* reading = reinterpret_cast<TLengthReading*>(record.LParam);
    if (!s.ReadingDropped)
        Change(s, reading->Video, LengthPending, reading->Length);
    EndLengthReading(reading);
    s.Reading = nullptr;
    s.ReadingDropped = false;
    ShowListLengths(MainForm);
    result = 0;
    return true;
}

}

void StartListLengths(TMainForm* f)
{
    State = new TLengths();
    f->MainWindow->AttachHandler(ListLengthsHandler, false);
}

void FollowList(const TText& path, bool listed)
{
    TLengths& s = *State;
    const long long length = s.Paths.Value(path, LengthPending);
    const int sign = listed ? 1 : -1;
    s.Sums.Files += sign;
    Tally(s, length, sign);
    if (listed) {
        s.Paths.Set(path, length);
        return;
    }
    if (length < 0)
        s.Paths.Remove(path);
    s.ReadingDropped |= s.Reading && path == s.Reading->Video;
    s.NextIndex = 0;
}

// Starts reading the next file that waits, from NextIndex on. With readUnknownAgain
// the whole list is gone through and the unknown lengths are made pending
// (LengthUnknown and LengthNoEncoder lie below LengthPending), the one being read
// included.
void ShowListLengths(TMainForm* f, bool readUnknownAgain)
{
    TLengths& s = *State;
    if (readUnknownAgain) {
        s.ReadingDropped |= s.Reading != nullptr;
        s.NextIndex = 0;
    }
    const TText& folder = JobSettings.FlickPath;
    const int count = f->FileList->ItemCount();
    for (int i = s.NextIndex; i < count && (readUnknownAgain || !s.Reading); ++i) {
        const TText path = f->FileList->GetItemText(i);
        long long length = s.Paths.Value(path, 0);
        if (readUnknownAgain && length < LengthPending) {
            Change(s, path, length, LengthPending);
            length = LengthPending;
        }
        if (length == LengthPending && !s.Reading) {
            s.Reading = ReadLength(f->MainWindow->Handle, folder, path);
            s.NextIndex = i + 1;
        }
    }
    if (!s.Reading)
        s.NextIndex = count;
    f->LengthsLabel->SetText(ListLengthText(s.Sums, folder));
    const TColor fitting = f->EstimateGroup->TextColor;
    const int total = TotalSeconds(s.Sums);
    f->Dvd43Label->SetTextColor(EstimateHolds(Dvd43CapacityMB, s.EstimateRate, total) ? fitting : Red);
    f->Dvd85Label->SetTextColor(EstimateHolds(Dvd85CapacityMB, s.EstimateRate, total) ? fitting : Red);
}

void EstimateShown(TMainForm* f, int rate)
{
    State->EstimateRate = rate;
    ShowListLengths(f);
}
