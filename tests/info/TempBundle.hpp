#pragma once
// A bundle laid out in a temporary folder (bin/radixel, and Resources/ when asked for), which
// the framework takes for the running program's own while the object lives.

#include <filesystem>
#include <string_view>

class TempBundle {
public:
    TempBundle();
    ~TempBundle();
    TempBundle(const TempBundle&) = delete;
    TempBundle& operator=(const TempBundle&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path resources() const { return root_ / "Resources"; }
    std::filesystem::path emblem() const { return resources() / "Kettlewing 128.gif"; }

    void makeResources() const;
    // The program's real emblem, copied in.
    void putEmblem() const;
    void putEmblemBytes(std::string_view bytes) const;
    // Removes whatever stands where the emblem goes.
    void removeEmblem() const;

private:
    std::filesystem::path root_;
};

// The emblem as the repository holds it.
std::filesystem::path SourceEmblem();
