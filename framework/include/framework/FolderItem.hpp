#pragma once
// A file or folder by its path, existing or not.

#include "Object.hpp"
#include "String.hpp"

#include <filesystem>
#include <memory>

namespace fw {

class Picture;

class FolderItem : public Object {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    FolderItem() = default;
    explicit FolderItem(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }
    bool Exists() const;
    bool Directory() const;
    // The folder that holds this item, or nil at the root.
    std::shared_ptr<FolderItem> Parent() const;
    // The item of that name inside this folder, or nil when no item of that name exists.
    std::shared_ptr<FolderItem> Child(const String& name) const;
    // The file read as a picture, or nil when it cannot be read as one.
    std::shared_ptr<Picture> OpenAsPicture() const;

private:
    std::filesystem::path path_;
};

// The running executable, links resolved.
std::shared_ptr<FolderItem> AppFolderItemGetter();
// Makes AppFolderItemGetter answer with this path instead (an empty path restores the real
// executable): tests lay out bundles of their own around it.
void OverrideAppFolderItem(const std::filesystem::path& executable);
// The "Resources" folder inside the parent of the folder that holds the executable, or nil.
// Raises NilObjectException when the executable's item or either parent is nil.
std::shared_ptr<FolderItem> GetApplicationBundleResources();

}  // namespace fw
