#include "app/AppTest.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

const char* const ScratchFolder = "C:\\spindrel-e2e";
const char* const DefaultFlickFolder = "C:\\Program Files\\DVD Flick";
const char* const EncoderLog = "C:\\spindrel-e2e\\ffmpeg.log";

namespace {

const char* const DefaultScript = "C:\\convert.bat";

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Removes a file, or a folder with everything in it. The command interpreter of a
// launched script may still hold its files, or write new ones, for a moment, so
// removal is retried.
void Remove(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        Require("folder " + path + " to be removed", [&] {
            WIN32_FIND_DATAA found;
            HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                do {
                    const std::string name = found.cFileName;
                    if (name != "." && name != "..")
                        Remove(path + "\\" + name);
                } while (FindNextFileA(search, &found));
                FindClose(search);
            }
            return RemoveDirectoryA(path.c_str()) || !Exists(path);
        });
    } else {
        Require("file " + path + " to be removed", [&] { return DeleteFileA(path.c_str()) || !Exists(path); });
    }
}

void RemoveLeftovers()
{
    Remove(ScratchFolder);
    Remove(DefaultScript);
    Remove(DefaultFlickFolder);
}

// Makes every folder of path that is missing.
void MakeFolders(const std::string& path)
{
    for (size_t end = path.find('\\', 3); ; end = path.find('\\', end + 1)) {
        CreateDirectoryA(path.substr(0, end).c_str(), nullptr);
        if (end == std::string::npos)
            break;
    }
    if (!Exists(path))
        throw std::runtime_error("cannot make folder " + path);
}

std::string Quoted(const std::vector<std::string>& texts)
{
    std::string joined;
    for (const std::string& text : texts)
        joined += "\"" + text + "\" ";
    return joined;
}

} // namespace

void AppTest::SetUp()
{
    RemoveLeftovers();
    MakeFolders(ScratchFolder);
    // The encoder inherits it through the program and the script's interpreter.
    SetEnvironmentVariableA("FAKE_FFMPEG_LOG", EncoderLog);
    App.Start(SPINDREL_EXE_PATH);
}

void AppTest::TearDown()
{
    // The program's working folder, which the open-file dialog moves, may be the
    // scratch folder, and a working folder cannot be removed.
    App.Terminate();
    RemoveLeftovers();
}

std::vector<std::string> AppTest::Estimate() const
{
    return {App.Text(Ctl(Dvd43Label)), App.Text(Ctl(Dvd85Label))};
}

void AppTest::RequireEstimate(const std::string& dvd43, const std::string& dvd85) const
{
    const std::vector<std::string> expected = {dvd43, dvd85};
    if (!gui::WaitUntil([&] { return Estimate() == expected; }, AppTimeoutMs))
        throw std::runtime_error("the estimate reads " + Quoted(Estimate()) + "instead of " + Quoted(expected));
}

std::string AppTest::MakeFolder(const std::string& relativePath)
{
    const std::string path = std::string(ScratchFolder) + "\\" + relativePath;
    MakeFolders(path);
    return path;
}

std::string AppTest::MakeFile(const std::string& relativePath, const std::string& content)
{
    const std::string path = std::string(ScratchFolder) + "\\" + relativePath;
    MakeFolders(path.substr(0, path.rfind('\\')));
    std::ofstream(path, std::ios::binary) << content;
    if (!Exists(path))
        throw std::runtime_error("cannot make file " + path);
    return path;
}

void AppTest::InstallEncoder(const std::string& folder)
{
    MakeFolders(folder);
    if (!CopyFileA(FAKE_FFMPEG_PATH, (folder + "\\ffmpeg.exe").c_str(), FALSE))
        throw std::runtime_error("cannot copy the test encoder into " + folder);
}

bool AppTest::FileExists(const std::string& path)
{
    return Exists(path);
}

std::string AppTest::ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::vector<std::string> AppTest::Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

void AppTest::AddVideoFile(const std::string& path) const
{
    App.Click(Ctl(AddFileButton));
    App.ChooseFile("Select a Video File", path);
}

std::string AppTest::AnswerMessageBox(const std::string& caption) const
{
    const DialogView box = App.WaitForDialog(caption);
    EXPECT_EQ(box.Buttons, std::vector<std::string>{"OK"}) << "message box \"" << box.Text << "\"";
    App.CloseDialog(box, "OK");
    return box.Text;
}

std::vector<std::string> AppTest::RequireEncoderCalls(size_t count) const
{
    std::vector<std::string> lines;
    Require("the encoder to be called " + std::to_string(count) + " times", [&] {
        lines = Lines(ReadFile(EncoderLog));
        return lines.size() >= 2 * count;
    });
    return lines;
}
