// Helpers shared by the conversion job's tests.
#pragma once

#include "runtime/Text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

inline std::string Str(const TText& text) { return std::string(text.CStr(), text.Length()); }

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder under the system's temporary folder, removed with everything in it.
struct TTempFolder {
    const std::filesystem::path Folder =
        std::filesystem::temp_directory_path() / ("spindrel-job-" + std::to_string(std::random_device()()));
    TTempFolder() { std::filesystem::create_directories(Folder); }
    ~TTempFolder() { std::error_code ignored; std::filesystem::remove_all(Folder, ignored); }
    // With a trailing separator, as the job keeps folders.
    std::string Path() const { return (Folder / "").string(); }
};
