#include "FolderItem.hpp"

#include "Exceptions.hpp"
#include "Picture.hpp"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <system_error>

namespace fw {

namespace fs = std::filesystem;

namespace {

fs::path& executableOverride() {
    static fs::path path;
    return path;
}

// Every link on the way resolved, so that the folders around the item are the real ones; the
// part of the path that does not exist is kept as written.
fs::path resolved(const fs::path& path) {
    std::error_code ec;
    fs::path real = fs::weakly_canonical(path, ec);
    return ec ? path : real;
}

}  // namespace

const ClassTable& FolderItem::Lookup() {
    static const ClassTable table = MakeClassTable<FolderItem>("FolderItem", &Object::Lookup());
    return table;
}

bool FolderItem::Exists() const {
    std::error_code ec;
    return !path_.empty() && fs::exists(path_, ec);
}

bool FolderItem::Directory() const {
    std::error_code ec;
    return !path_.empty() && fs::is_directory(path_, ec);
}

std::shared_ptr<FolderItem> FolderItem::Parent() const {
    if (path_.empty()) return nullptr;
    fs::path path = path_;
    if (path.is_relative()) {
        std::error_code ec;
        path = fs::absolute(path, ec);
        if (ec) return nullptr;
    }
    path = path.lexically_normal();
    // "/a/b/" names b, like "/a/b".
    if (!path.has_filename() && path != path.root_path()) path = path.parent_path();
    if (path == path.root_path()) return nullptr;
    return std::make_shared<FolderItem>(path.parent_path());
}

std::shared_ptr<FolderItem> FolderItem::Child(const String& name) const {
    const std::string& n = name.bytes();
    // Only a plain name can name an item inside this folder; anything else would reach out of it.
    if (n.empty() || n == "." || n == ".." || n.find('/') != std::string::npos || n.find('\0') != std::string::npos)
        return nullptr;
    if (path_.empty()) return nullptr;
    auto child = std::make_shared<FolderItem>(path_ / n);
    return child->Exists() ? child : nullptr;
}

std::shared_ptr<Picture> FolderItem::OpenAsPicture() const {
    std::error_code ec;
    if (!fs::is_regular_file(path_, ec)) return nullptr;
    QImageReader reader(QFile::decodeName(path_.c_str()));
    QImage image = reader.read();
    if (image.isNull()) return nullptr;
    return Picture::FromImage(image);
}

std::shared_ptr<FolderItem> AppFolderItemGetter() {
    const fs::path& replacement = executableOverride();
    if (!replacement.empty()) return std::make_shared<FolderItem>(resolved(replacement));
    // The kernel's link names the executable itself, whatever link or copy it was started by.
    std::error_code ec;
    fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    if (ec || executable.empty()) return nullptr;
    return std::make_shared<FolderItem>(executable);
}

void OverrideAppFolderItem(const fs::path& executable) { executableOverride() = executable; }

std::shared_ptr<FolderItem> GetApplicationBundleResources() {
    auto executable = AppFolderItemGetter();
    if (!executable) RaiseNilObjectException();
    auto executableFolder = executable->Parent();
    if (!executableFolder) RaiseNilObjectException();
    auto bundle = executableFolder->Parent();
    if (!bundle) RaiseNilObjectException();
    return bundle->Child("Resources");
}

}  // namespace fw
