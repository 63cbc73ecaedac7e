#pragma once
// Puts a copy of some data in the recycle bin under a name of the caller's choosing without
// touching any file of that name elsewhere: the copy is written into a folder of its own under
// the temporary folder and recycled from there.
#include <functional>
#include <string>

namespace win {

// `write` is given the path (UTF-8) to write the copy to (the folder of its own + "\" + `fileName`)
// and may write further files beside it; all of them go to the recycle bin. A copy the recycle
// bin refuses is left where it was written, and its folder with it. Throws what `write` throws,
// and std::runtime_error when no folder of its own can be made.
void RecycleCopy(const std::string& fileName, const std::function<void(const std::string&)>& write);

}  // namespace win
