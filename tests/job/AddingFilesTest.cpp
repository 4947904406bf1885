// Adding files: the listed paths behind the duplicate check, the paths of a multiple
// choice in the open-file dialog, and the one message about the refused files.
#include "job/ChosenFiles.h"
#include "job/FileRefusals.h"
#include "job/PathSet.h"

#include "JobTestSupport.h"

#include <random>
#include <map>
#include <vector>

// Random adds, numbers set and removals over a few thousand paths, against std::map.
TEST(PathSet, FollowsEveryAddAndRemoveComparingExactBytes)
{
    TPathSet set;
    std::map<std::string, long long> expected;
    std::mt19937 random(7);
    auto path = [](unsigned i) { return "C:\\Video\\clip" + std::to_string(i) + ".avi"; };
    for (int step = 1; step <= 20000; ++step) {
        const std::string p = path(random() % 3000);
        if (random() % 3 == 0)
            set.Remove(p.c_str()), expected.erase(p);
        else if (random() % 2)
            set.Add(p.c_str()), expected.insert({p, 0});
        else
            set.Set(p.c_str(), step), expected[p] = step;
        for (unsigned i = 0; step % 2000 == 0 && i < 3000; ++i)
            ASSERT_EQ(set.Value(path(i).c_str(), -1), expected.count(path(i)) ? expected[path(i)] : -1) << path(i) << " at step " << step;
    }
    set.Add("C:\\Video\\Clip.avi");
    EXPECT_FALSE(set.Contains("C:\\Video\\clip.avi"));
    EXPECT_FALSE(set.Contains("C:\\Video\\Clip.avi "));
}

TEST(ForEachChosenFile, GivesEachFileItsFullPath)
{
    std::vector<std::string> paths;
    auto collect = [](void* list, const TText& path) { static_cast<decltype(paths)*>(list)->push_back(Str(path)); };
    for (const char* choice : {"D:\\Video\\a.avi", "D:\\Video\rb.avi\rc d.mpg", "D:\\\re.avi"})
        ForEachChosenFile(choice, collect, &paths);
    EXPECT_EQ(paths, (std::vector<std::string>{"D:\\Video\\a.avi", "D:\\Video\\b.avi", "D:\\Video\\c d.mpg", "D:\\e.avi"}));
}

// One refusal keeps its own message; several are listed under each reason's text,
// at most ten to a reason, so that the box stays on the screen.
TEST(RefusalMessage, OneRefusalKeepsItsMessageSeveralAreListedPerReason)
{
    using Refused = std::vector<std::pair<TRefusalReason, const char*>>;
    auto message = [](const Refused& refused) {
        TRefusals refusals;
        for (const auto& r : refused)
            AddRefusal(refusals, r.first, r.second);
        return Str(RefusalMessage(refusals));
    };
    EXPECT_EQ(message({}), "");
    EXPECT_EQ(message({{RefusedFolder, "D:\\Season 1"}}), "D:\\Season 1 is a folder, not a video file");
    EXPECT_EQ(message({{RefusedDuplicate, "D:\\a"}, {RefusedFolder, "D:\\1"}, {RefusedDuplicate, "D:\\b"}, {RefusedFolder, "D:\\2"}}),
              "D:\\1 is a folder, not a video file\nD:\\2 is a folder, not a video file\n\n"
              "This file already exists:\nD:\\a\nD:\\b");
    std::string listed = "Please do not use foreign characters in path and files names:";
    for (int i = 0; i < 10; ++i)
        listed += "\nD:\\\xE9";
    EXPECT_EQ(message(Refused(12, {RefusedForeign, "D:\\\xE9"})), listed + "\nand 2 more");
}
