#include "job/ConversionReport.h"

#include "JobTestSupport.h"

// The report on records as a script may leave them (whole, stopped, cut in the
// middle of a line, with lines that are no record, missing) and on videos as the
// encoder left them ('+' written, '0' empty, '-' missing); the file the window's
// title shows. The output folder reads C:\DVD\ here.
TEST(ConversionReport, WhatBecameOfEveryFile)
{
    std::string none;
    for (int k = 1; k <= 10; ++k)
        none += "\nD:\\v\\" + std::to_string(k) + ".avi: no video was written";
    const struct {
        const char *Record, *Videos; int Started; std::string Report;
    } cases[] = {
        {"start 1\r\nstart 2\r\nstart 3\r\nend\r\n", "+++", 3, "Conversion finished: 3 of 3 videos written to C:\\DVD\\."},
        // A failed first pass whose second pass wrote the video; a crash.
        {"start 1\r\nfail 1\r\nstart 2\r\nstart 3\r\nfail -1073741819\r\nfail 1\r\nend\r\n", "+0+", 3,
         "Conversion finished with errors: 0 of 3 videos written to C:\\DVD\\.\nD:\\v\\1.avi: ffmpeg.exe ended with code 1\n"
         "D:\\v\\2.avi: no video was written\nD:\\v\\3.avi: ffmpeg.exe ended with code -1073741819"},
        {"start 1\r\nfail 2\r\nstart 2\r\nstart 3\r\nsta", "+++", 3,
         "The conversion was stopped during file 3 of 3; 1 video was written to C:\\DVD\\.\nD:\\v\\1.avi: ffmpeg.exe ended with code 2"},
        {"start 1\r\nstart 2\r\nstart 3\r\nend", "+++", 3, "The conversion was stopped during file 3 of 3; 2 videos were written to C:\\DVD\\."},
        {"start 1\r\nfail 1\r\nstart 2", "+++", 1, "The conversion was stopped during file 1 of 3; 0 videos were written to C:\\DVD\\."},
        {"begin\r\nstart 1\r\nstart 2\n\r\nstart 4\r\nstart 0\r\nstart 2 x\r\nfail\r\nfail x\r\nend 1\r\nfail 1 1\r\n", "+--", 1,
         "The conversion was stopped during file 1 of 3; 0 videos were written to C:\\DVD\\."},
        {nullptr, "+-0", 1, "Conversion finished with errors: 1 of 3 videos written to C:\\DVD\\. (the conversion's record could not be "
                            "read)\nD:\\v\\2.avi: no video was written\nD:\\v\\3.avi: no video was written"},
        {"end\r\n", "------------", 1, "Conversion finished with errors: 0 of 12 videos written to C:\\DVD\\." + none + "\nand 2 more"},
    };
    TTempFolder folder;
    for (const auto& c : cases) {
        TConversion conversion(static_cast<int>(strlen(c.Videos)), folder.Path().c_str());
        std::filesystem::remove(folder.Path() + "convert.log");
        if (c.Record)
            std::ofstream(folder.Path() + "convert.log", std::ios::binary) << c.Record;
        for (int k = 0; k < conversion.Count; ++k) {
            conversion.Inputs[k] = ("D:\\v\\" + std::to_string(k + 1) + ".avi").c_str();
            conversion.Videos[k] = (folder.Path() + std::to_string(k + 1) + ".m2v").c_str();
            std::filesystem::remove(Str(conversion.Videos[k]));
            if (c.Videos[k] != '-')
                std::ofstream(Str(conversion.Videos[k])) << (c.Videos[k] == '+' ? "video" : "");
        }
        std::string report = Str(ConversionReport(conversion, SystemJobPlatform()));
        EXPECT_EQ(report.replace(report.find(folder.Path()), folder.Path().size(), "C:\\DVD\\"), c.Report) << "case " << &c - cases;
        EXPECT_EQ(conversion.Started, c.Started) << "case " << &c - cases;
    }
}
