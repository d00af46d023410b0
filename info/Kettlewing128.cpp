#include "info/Kettlewing128.hpp"

#include "framework/Exceptions.hpp"
#include "framework/FolderItem.hpp"
#include "framework/Picture.hpp"

#include <cstdint>

namespace radixel::x_Kettlewing128 {

namespace {
const char* const kEmblemFileName = "Kettlewing 128.gif";
}

std::shared_ptr<fw::Picture> Kettlewing128() {
    // Deliberately never destroyed: windows may still hold the picture while the framework shuts
    // down, and a static destructor would release it after the framework is gone.
    static std::shared_ptr<fw::Picture>& pic = *new std::shared_ptr<fw::Picture>();
    static std::uint8_t firstUseDone = 0;

    if (!firstUseDone) {
        firstUseDone = 1;
        pic = nullptr;
    }
    if (!pic) {
        std::shared_ptr<fw::FolderItem> resources = fw::GetApplicationBundleResources();
        if (resources) {
            std::shared_ptr<fw::FolderItem> file = resources->Child(kEmblemFileName);
            if (!file) fw::RaiseNilObjectException();
            // A file that is no picture leaves the cache empty, so a later call can still pick
            // up a repaired file.
            pic = file->OpenAsPicture();
        }
    }
    return pic;
}

}  // namespace radixel::x_Kettlewing128
