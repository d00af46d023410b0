#pragma once

#include <memory>

namespace fw {
class Picture;
}

namespace radixel::x_Kettlewing128 {

// The emblem that both information windows show, read from "Kettlewing 128.gif" in the bundle's
// resources. The first successful read is kept for the rest of the process and shared by every
// window; until then each call tries again. Gives nil when there is no resources folder or the
// file is no readable picture, and raises NilObjectException when the bundle cannot be located
// or the folder has no item for the file.
std::shared_ptr<fw::Picture> Kettlewing128();

}  // namespace radixel::x_Kettlewing128
