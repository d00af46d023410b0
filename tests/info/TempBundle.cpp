#include "TempBundle.hpp"

#include "framework/FolderItem.hpp"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

TempBundle::TempBundle() {
    std::string pattern = (fs::temp_directory_path() / "radixel-info-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    root_ = pattern;
    fs::create_directories(root_ / "bin");
    std::ofstream(root_ / "bin" / "radixel").put('\n');
    fw::OverrideAppFolderItem(root_ / "bin" / "radixel");
}

TempBundle::~TempBundle() {
    fw::OverrideAppFolderItem({});
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void TempBundle::makeResources() const { fs::create_directories(resources()); }

void TempBundle::putEmblem() const {
    makeResources();
    removeEmblem();
    fs::copy_file(SourceEmblem(), emblem());
}

void TempBundle::putEmblemBytes(std::string_view bytes) const {
    makeResources();
    removeEmblem();
    std::ofstream out(emblem(), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempBundle::removeEmblem() const { fs::remove_all(emblem()); }

fs::path SourceEmblem() { return fs::path(RADIXEL_SOURCE_RESOURCES) / "Kettlewing 128.gif"; }
