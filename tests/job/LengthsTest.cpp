// How long the listed videos are: the length in the encoder's error output, the
// bitrate at which a list fits on a disc, and the line that sums the list up.
#include "job/DiscFit.h"
#include "job/EncoderLength.h"

#include "JobTestSupport.h"

// Outputs of old and recent encoder builds; only a line that starts (after spaces)
// with "Duration: " and a well-formed length counts, and the first one decides.
TEST(LengthInOutput, TakesTheFirstDurationLine)
{
    const std::pair<const char*, long long> cases[] = {
        {"Input #0, avi, from 'a.avi':\r\n  Duration: 01:02:03.45, start: 0.000000, bitrate: 1 kb/s\r\n", 3723450},
        {"Input #0, matroska,webm, from 'b.mkv':\n  Metadata:\n    title           : Duration: 09:00:00.00\n"
         "    DURATION        : 09:00:00.000000000\n  Duration: 00:00:05.5, start: 0.000000\n", 5500},
        {"frame=  1\r  Duration: 123:00:00.999\r\n  Duration: 00:00:01.00\n", 442800999},
        {"\tDuration: 99999:59:59.1239", 359999999123},
        {"  Duration: 1:02:03.45\n", 3723450}, {"At least one output file must be specified\n", LengthUnknown}, {"", LengthUnknown},
        {"  Duration: N/A, start: 0.000000, bitrate: N/A\n  Duration: 00:00:01.00\n", LengthUnknown},
        {"  Duration: 01:2:03.45\n  duration: 00:00:01.00\n  Duration:00:00:01.00\n  Duration: 00:00:01.\n"
         "  Duration: 100000:00:00.00\n  Duration: 00:0a:00.00\n  Duration: \n", LengthUnknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LengthInOutput(c.first), c.second) << c.first;
}

// The estimate (the labels' whole seconds) holds the total at the bitrate found, not at one more.
TEST(FittingBitrate, IsTheHighestWhoseEstimateHoldsTheTotal)
{
    const auto estimate = [](int capacityMB, int bitrate) { return capacityMB * 8000 / (bitrate + 448); };
    for (int capacityMB : {4300, 8500})
        for (int total = 1; total < 140000; total += 7) {
            const int bitrate = FittingBitrate(capacityMB, total);
            EXPECT_TRUE(bitrate == 0 || (bitrate >= 100 && estimate(capacityMB, bitrate) >= total)) << total;
            EXPECT_TRUE(bitrate == 9000 || estimate(capacityMB, bitrate ? bitrate + 1 : 100) < total) << total;
        }
    EXPECT_EQ(std::vector<int>({FittingBitrate(4300, 0), FittingBitrate(4300, 3640), FittingBitrate(4300, 3641),
                                FittingBitrate(4300, 62773), FittingBitrate(4300, 62774), FittingBitrate(8500, 124087)}),
              std::vector<int>({9000, 9000, 8999, 100, 0, 100}));
    const auto fits = [](long long ms, int rate) { return EstimateHolds(4300, rate, TotalSeconds({1, 0, 0, 0, ms})); };
    EXPECT_EQ(std::vector<bool>({fits(0, 2147483647), fits(3640999, 9448), fits(3641000, 9448), fits(3641000, 9447),
                                 fits(9223372036854775807, 1), TotalSeconds({1, 0, 0, 0, 5000000000000}) == 2147483647}),
              std::vector<bool>({true, true, false, true, false, true}));
}

TEST(ListLengthText, ShowsReadingMissingEncoderAndTotals)
{
    const std::pair<TListLengths, const char*> cases[] = {
        {{}, ""}, {{12, 9, 0, 0, 0}, "Reading lengths: 3 of 12 files..."}, {{1, 1, 0, 0, 0}, "Reading lengths: 0 of 1 file..."},
        {{3, 0, 3, 1, 5000}, "Lengths unknown: no ffmpeg.exe in C:\\Program Files\\DVD Flick\\"},
        {{12, 0, 0, 0, 11525999}, "12 files, 3 Hr 12 min 5 sec: DVD 4,3 GB up to 2536 kBits, DVD 8,5 GB up to 5452 kBits."},
        {{1, 0, 0, 0, 999}, "1 file, 0 Hr 0 min 0 sec: DVD 4,3 GB up to 9000 kBits, DVD 8,5 GB up to 9000 kBits."},
        {{2, 0, 1, 0, 129600000}, "2 files, 36 Hr 0 min 0 sec: DVD 4,3 GB too long, DVD 8,5 GB too long. "
                                 "(1 file of unknown length not counted)"},
        {{5, 0, 2, 0, 100000000000}, "5 files, 27777 Hr 46 min 40 sec: DVD 4,3 GB too long, DVD 8,5 GB too long. "
                                     "(2 files of unknown length not counted)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Str(ListLengthText(c.first, "C:\\Program Files\\DVD Flick\\")), c.second);
}
